#!/usr/bin/env bash
# Runs the demo as a player would, on the X display of xvfb-run: press the menu key, hold Up for two
# seconds, take a screenshot and check it, press Escape; the demo must then exit with status 0.
#   xvfb-drive.sh DEMO XDRIVE "MENUKEYS" SCREENSHOT
# MENUKEYS are X key names pressed in turn in the menu; only the last may be one of 1 to 4.
set -u
demo=$1 xdrive=$2 menukey=$3 shot=$4
cd "$(dirname "$demo")"
# Under the sanitizers, the X and OpenGL system libraries keep allocations until exit that the leak
# check would count against the program.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
"$demo" &
pid=$!
presses=()
for k in $menukey; do presses+=(key "$k" sleep 300); done
"$xdrive" wait 20000 sleep 500 "${presses[@]}" wait 20000 sleep 1500 down Up sleep 2000 look "$shot" up Up key Escape
drove=$?
# The demo has ten seconds to finish after Escape.
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "xvfb-drive: the demo did not end after Escape" >&2
  kill "$pid"
  wait "$pid"
  exit 1
fi
wait "$pid"
status=$?
echo "xvfb-drive: xdrive $drove, demo exit status $status"
[ "$drove" -eq 0 ] && [ "$status" -eq 0 ]
