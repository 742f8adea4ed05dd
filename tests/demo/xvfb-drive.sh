#!/usr/bin/env bash
# Runs the demo as a player would, on the X display it is given, bare or under a window manager:
# choose a mode in the menu, drive, switch to another program and back, drive on, press Escape; the
# demo must then end with status 0.
#   xvfb-drive.sh DEMO XDRIVE WM "MENUKEYS" PICTURE SCREENSHOT
# WM is "none" or "openbox". MENUKEYS are X key names pressed in turn in the menu; only the last may
# be one of 1 to 4. PICTURE is the size of the chosen mode, WxH: on a screen of another size the
# game's picture is that size scaled to fit, with black bars, and the demo says so on stderr.
# Screenshots go to SCREENSHOT and, for the desktop while the demo is away, to SCREENSHOT with
# "-away" before ".png".
#
# Every step waits for what it needs with a generous deadline, so that a busy machine only makes the
# run slower.
set -u
demo=$1 xdrive=$2 wm=$3 menukeys=$4 picture=$5 shot=$6
deadline=60000
. "$(dirname "$0")/xdrive-common.sh"

cd "$(dirname "$demo")"
start_wm "$wm"
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
wait_ended "after Escape"
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
