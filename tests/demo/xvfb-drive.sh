#!/usr/bin/env bash
# Runs the demo as a player would, on the X display of xvfb-run, bare or under a window manager:
# choose a mode in the menu, drive, switch to another program and back, drive on, press Escape; the
# demo must then end with status 0.
#   xvfb-drive.sh DEMO XDRIVE WM "MENUKEYS" PICTURE SCREENSHOT
# WM is "none" or "openbox". MENUKEYS are X key names pressed in turn in the menu; only the last may
# be one of 1 to 4. PICTURE is the size of the chosen mode, WxH: on a screen of another size the
# game's picture is that size scaled to fit, with black bars, and the demo says so on stderr. Screenshots go to SCREENSHOT and, for
# the desktop while the demo is away, to SCREENSHOT with "-away" before ".png".
#
# Every step waits for what it needs with a generous deadline, so that a busy machine only makes the
# run slower.
set -u
demo=$1 xdrive=$2 wm=$3 menukeys=$4 picture=$5 shot=$6
deadline=60000 # milliseconds for each wait
work=$(mktemp -d)
pids=()
# Whatever is still running when the script ends goes with it: asked first, then made to.
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
  echo "xvfb-drive: $*" >&2
  [ -s "$work/stderr" ] && sed 's/^/  stderr: /' "$work/stderr" >&2
  command -v xwininfo > /dev/null && xwininfo -root -tree | grep -v "has no name" >&2
  exit 1
}
drive() { "$xdrive" "$@" || fail "xdrive $1 ... failed"; }

cd "$(dirname "$demo")"
# Under the sanitizers, the X and OpenGL system libraries keep allocations until exit that the leak
# check would count against the program.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

if [ "$wm" = openbox ]; then
  # Debian's own configuration only: Alt+Tab goes to the next window.
  XDG_CONFIG_HOME="$work" openbox --sm-disable > "$work/openbox.log" 2>&1 &
  pids+=($!)
  drive wm "$deadline"
fi
# Another program on the desktop to switch to.
"$xdrive" hold "Other program" &
pids+=($!)
drive shown "Other program" "$deadline"

"$demo" 2> "$work/stderr" &
demopid=$!
pids+=($demopid)
# The keys the menu must ignore, then the one that chooses the mode.
presses=()
keys=($menukeys)
for k in "${keys[@]:0:${#keys[@]}-1}"; do presses+=(key "$k" pause 300 menu Ravel "$deadline"); done
drive menu Ravel "$deadline" "${presses[@]}" pick "${keys[-1]}" Ravel "$deadline"
drive full Ravel "$deadline" picture ${picture/x/ } look "$shot" "$deadline" down Up moving "$deadline" up Up

# Away to the other program and back: with a window manager by Alt+Tab, which must minimise the
# game and show the desktop; bare, the focus moves as a window manager would move it.
away=${shot%.png}-away.png
if [ "$wm" = openbox ]; then
  drive down Alt_L key Tab up Alt_L hidden Ravel "$deadline" away "$away" "$deadline"
  drive down Alt_L key Tab up Alt_L
else
  drive focus "Other program" pause 500 focus Ravel
fi
drive full Ravel "$deadline" picture ${picture/x/ } look "$shot" "$deadline" down Up moving "$deadline" up Up \
  key Escape

# The demo ends after Escape.
for _ in $(seq 600); do
  kill -0 "$demopid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$demopid" 2>/dev/null; then
  kill "$demopid"
  wait "$demopid"
  fail "the demo did not end within a minute after Escape"
fi
wait "$demopid"
status=$?
[ "$status" -eq 0 ] || fail "the demo ended with status $status"
[ -s "$work/stderr" ] && sed 's/^/  stderr: /' "$work/stderr"
screen=$("$xdrive" size)
notice="the display has no ${picture/x/ x } mode"
if [ "$screen" != "$picture" ]; then
  grep -q "$notice" "$work/stderr" || fail "no line on stderr saying \"$notice\""
elif grep -q "has no .* mode" "$work/stderr"; then
  fail "a fallback was reported on a screen of the mode's size"
fi
echo "xvfb-drive: the demo ran, came back and ended with status 0"
