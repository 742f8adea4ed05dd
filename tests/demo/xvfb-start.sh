#!/usr/bin/env bash
# The demo's start and its ends other than driving, on the X display of xvfb-run:
#   xvfb-start.sh DEMO XDRIVE WM SCENARIO SCREENSHOT
# WM is "none" or "openbox". SCENARIO is one of
#   escape    Escape in the menu ends the program with status 0
#   damaged   a truncated media file is named on stderr and in a message box before any menu;
#             Return closes the box and the program ends with status 1
#   lost      the display goes away under the running game: the program ends
# Every step waits for what it needs with a generous deadline.
set -u
demo=$1 xdrive=$2 wm=$3 scenario=$4 shot=$5
deadline=60000 # milliseconds for each wait
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for _ in $(seq 100); do
    alive=0
    for p in "${pids[@]}"; do kill -0 "$p" 2>/dev/null && alive=1; done
    [ "$alive" -eq 0 ] && break
    sleep 0.1
  done
  for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "xvfb-start: $*" >&2
  [ -s "$work/stderr" ] && sed 's/^/  stderr: /' "$work/stderr" >&2
  exit 1
}
drive() { "$xdrive" "$@" || fail "xdrive $1 ... failed"; }
# Waits up to a minute for the demo to end; its status in `status`.
ended() {
  for _ in $(seq 600); do
    kill -0 "$demopid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$demopid" 2>/dev/null && fail "the demo did not end within a minute ($1)"
  wait "$demopid"
  status=$?
}

export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
if [ "$wm" = openbox ]; then
  XDG_CONFIG_HOME="$work" openbox --sm-disable > "$work/openbox.log" 2>&1 &
  pids+=($!)
  drive wm "$deadline"
fi

# The program runs from a folder of its own with a copy of the media.
mkdir "$work/run"
cp -r "$(dirname "$demo")/media" "$work/run/media"
cd "$work/run"
if [ "$scenario" = damaged ]; then
  size=$(stat -c %s media/track02.png)
  truncate -s $((size / 2)) media/track02.png
fi
"$demo" 2> "$work/stderr" &
demopid=$!
pids+=($demopid)

case "$scenario" in
  escape)
    drive menu Ravel "$deadline" key Escape hidden Ravel "$deadline"
    ended "after Escape in the menu"
    [ "$status" -eq 0 ] || fail "Escape in the menu ended the demo with status $status"
    ;;
  damaged)
    drive shown Ravel "$deadline" shot "$shot"
    line="demo: media file media/track02.png is damaged: not a PNG image that can be decoded"
    [ "$(cat "$work/stderr")" = "$line" ] || fail "the box is up but stderr does not hold the line \"$line\""
    # SDL's box does not take the focus a window manager offers it: the player clicks it first.
    drive focus Ravel key Return
    ended "after the message box was closed"
    [ "$status" -eq 1 ] || fail "the damaged media ended the demo with status $status, not 1"
    ;;
  lost)
    drive menu Ravel "$deadline" pick 3 Ravel "$deadline" full Ravel "$deadline" look "$shot" "$deadline" \
      cut Ravel
    ended "after its display went away"
    [ "$status" -ne 0 ] || fail "the demo ended with status 0 without its display"
    ;;
  *) fail "unknown scenario $scenario" ;;
esac
echo "xvfb-start: $scenario: the demo ended with status $status as it should"
