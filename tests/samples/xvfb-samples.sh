#!/usr/bin/env bash
# Runs the samples as a user would, under a window manager on the X display it is given: three scenes
# opened by their keys and each looked at, a cloth mass dragged with the pointer, the window made
# larger, the other renderer, Escape; the program must then end with status 0.
#   xvfb-samples.sh SAMPLES XDRIVE LOOK WM SCREENSHOT
# WM is "none" or "openbox". Screenshots of the three scenes and of the drag go to SCREENSHOT with
# "-pile", "-cloth", "-drag", "-zones" and "-resized" before ".png"; SCREENSHOT itself gets the
# window during the drag.
#
# Every step waits for what it needs with a generous deadline, so that a busy machine only makes the
# run slower.
set -u
samples=$(realpath "$1") xdrive=$(realpath "$2") look=$(realpath "$3") wm=$4 shot=$(realpath -m "$5")
deadline=60000
. "$(dirname "$0")/../demo/xdrive-common.sh"
command -v xdotool > /dev/null || fail "xdotool is not installed (tools/install-deps.sh installs it)"
command -v xwininfo > /dev/null || fail "xwininfo is not installed (tools/install-deps.sh installs it)"
shots=${shot%.png}

# Polls the command every fifth of a second until it succeeds, for up to a minute.
until_true() {
  local what=$1
  shift
  for _ in $(seq 300); do
    "$@" && return 0
    kill -0 "$demopid" 2>/dev/null || fail "the samples ended while waiting until $what"
    sleep 0.2
  done
  fail "not within a minute: $what"
}

# The window's place on the screen: wx, wy (its top-left pixel inside any frame), ww, wh.
place() {
  local info
  info=$(xwininfo -id "$wid") || return 1
  wx=$(sed -n 's/.*Absolute upper-left X: *//p' <<< "$info")
  wy=$(sed -n 's/.*Absolute upper-left Y: *//p' <<< "$info")
  ww=$(sed -n 's/.*Width: *//p' <<< "$info")
  wh=$(sed -n 's/.*Height: *//p' <<< "$info")
}

# Waits for the scene's title, then for a screenshot in which the picture right of the panel (330
# pixels wide) shows at least MIN pixels unlike the background.
look_at() { # NAME MIN FILE
  local title="Ravel samples: $1  ($renderer)"
  if [ "$wm" = none ]; then
    # Nothing gives a new window the keyboard: it is given as a window manager would.
    drive shown "$title" "$deadline" focus "$title"
  fi
  drive wait "$title" "$deadline"
  wid=$(xdotool search --name "^Ravel samples: $1 ") || fail "no window for $1"
  place || fail "no place for the window of $1"
  lit_enough() {
    drive shot "$3" > /dev/null
    [ "$("$look" lit "$3" $((wx + 334)) $((wy + 4)) $((ww - 338)) $((wh - 8)))" -ge "$2" ]
  }
  until_true "the $1 scene is drawn" lit_enough "$1" "$2" "$3"
}

cd "$(dirname "$samples")"
start_wm "$wm"
renderer=OpenGL
"$samples" --gl --size 1000x700 2> "$work/stderr" &
demopid=$!
pids+=($demopid)

# Three scenes by their keys: the pile it opens with, the cloth, the zones.
look_at Pile 2000 "$shots-pile.png"
drive key 2
look_at Cloth 1000 "$shots-cloth.png"
[ "$("$look" differ "$shots-pile.png" "$shots-cloth.png" "$wx" "$wy" "$ww" "$wh")" -gt 2000 ] ||
  fail "the cloth looks like the pile"

# Pause, so that the cloth stands still while a mass of its bottom row (grey; the pinned top row is
# white) is found and taken; then drag it to the right and down and let the cloth run again: the held
# mass is drawn magenta where the pointer is, and the cloth comes with it.
drive key p
still() {
  drive shot "$work/a.png" > /dev/null
  drive shot "$work/b.png" > /dev/null
  [ "$("$look" differ "$work/a.png" "$work/b.png" $((wx + 334)) "$wy" $((ww - 334)) "$wh")" -eq 0 ]
}
until_true "the cloth stands still" still
bottom=$("$look" lowest "$work/b.png" $((wx + 334)) "$wy" $((ww - 334)) "$wh" 150 150 150) ||
  fail "no cloth mass on the screen"
read -r mx my <<< "$bottom"
mx=$((mx - wx))
my=$((my - wy))
tx=$((mx + 180))
ty=$((my + 90))
xdotool mousemove --window "$wid" "$mx" "$my" mousedown 1
for k in $(seq 1 12); do
  xdotool mousemove --window "$wid" $((mx + 15 * k)) $((my + 15 * k / 2))
  sleep 0.05 # the pointer moves at a hand's pace; nothing waits on this
done
xdotool mousemove --window "$wid" "$tx" "$ty"
drive key p
held_there() {
  drive shot "$shots-drag.png" > /dev/null
  # The mass at the pointer, and the cloth inside the corner it was taken from pulled out of place.
  [ "$("$look" colour "$shots-drag.png" $((wx + tx - 8)) $((wy + ty - 8)) 17 17 255 0 255)" -ge 20 ] &&
    [ "$("$look" differ "$work/b.png" "$shots-drag.png" $((wx + mx - 60)) $((wy + my - 60)) 56 56)" -gt 300 ]
}
until_true "the held mass is under the pointer with the cloth after it" held_there
"$look" crop "$shots-drag.png" "$wx" "$wy" "$ww" "$wh" "$shot" || fail "cannot write $shot"
xdotool mouseup 1
let_go() {
  drive shot "$work/after.png" > /dev/null
  [ "$("$look" colour "$work/after.png" $((wx + 334)) "$wy" $((ww - 334)) "$wh" 255 0 255)" -eq 0 ]
}
until_true "the mass is let go" let_go

drive key 5
look_at Zones 3000 "$shots-zones.png"

# A larger window: the picture follows it to its new corner.
xdotool windowsize "$wid" 1200 820
grown() {
  place && [ "$ww" -eq 1200 ] && [ "$wh" -eq 820 ] || return 1
  drive shot "$shots-resized.png" > /dev/null
  # The samples' own background where the window has grown, and the world refitted to reach there.
  [ "$("$look" background "$shots-resized.png" $((wx + 1010)) $((wy + 710)) 180 100)" -gt 5000 ] &&
    [ "$("$look" lit "$shots-resized.png" $((wx + 1000)) $((wy + 500)) 190 300)" -gt 200 ]
}
until_true "the picture fills the larger window" grown

# The other renderer, same scene.
drive key F2
renderer="SDL renderer"
look_at Zones 3000 "$work/sdl.png"

drive key Escape
wait_ended "after Escape"
[ "$status" -eq 0 ] || fail "the samples ended with status $status"
[ -s "$work/stderr" ] && sed 's/^/  stderr: /' "$work/stderr"
echo "xvfb-samples: three scenes shown, a mass dragged, the window resized, both renderers, status 0"
