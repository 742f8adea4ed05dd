#!/usr/bin/env bash
# The demo's start and its ends other than driving, on the X display it is given:
#   xvfb-start.sh DEMO XDRIVE WM SCENARIO SCREENSHOT
# WM is "none" or "openbox". SCENARIO is one of
#   escape    Escape in the menu ends the program with status 0
#   damaged   a truncated media file is named on stderr and in a message box before any menu;
#             Return closes the box and the program ends with status 1
#   lost      the display goes away under the running game: the program ends
# Every step waits for what it needs with a generous deadline.
set -u
demo=$1 xdrive=$2 wm=$3 scenario=$4 shot=$5
deadline=60000
. "$(dirname "$0")/xdrive-common.sh"

start_wm "$wm"
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
    wait_ended "after Escape in the menu"
    [ "$status" -eq 0 ] || fail "Escape in the menu ended the demo with status $status"
    ;;
  damaged)
    drive shown Ravel "$deadline" shot "$shot"
    line="demo: media file media/track02.png is damaged: not a PNG image that can be decoded"
    [ "$(cat "$work/stderr")" = "$line" ] || fail "the box is up but stderr does not hold the line \"$line\""
    # SDL's box does not take the focus a window manager offers it: the player clicks it first.
    drive focus Ravel key Return
    wait_ended "after the message box was closed"
    [ "$status" -eq 1 ] || fail "the damaged media ended the demo with status $status, not 1"
    ;;
  lost)
    drive menu Ravel "$deadline" pick 3 Ravel "$deadline" full Ravel "$deadline" look "$shot" "$deadline" \
      cut Ravel
    wait_ended "after its display went away"
    [ "$status" -ne 0 ] || fail "the demo ended with status 0 without its display"
    ;;
  *) fail "unknown scenario $scenario" ;;
esac
echo "xvfb-start: $scenario: the demo ended with status $status as it should"
