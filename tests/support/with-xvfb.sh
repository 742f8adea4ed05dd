#!/usr/bin/env bash
# Runs a command on a fresh Xvfb screen and stops the server afterwards:
#   with-xvfb.sh WxHxDEPTH COMMAND...
# The server picks a free display number itself (-displayfd) and says it once it accepts clients, so
# runs started at the same moment, from other build trees too, never race for a number, and nothing
# waits a fixed time for the server. The command sees only this display.
set -u
screen=$1
shift
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
server=$!
stop() {
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
  rm -rf "$work"
}
trap stop EXIT
# A minute for the server to come up, however busy the machine.
for _ in $(seq 600); do
  [ -s "$work/display" ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
number=$(head -n 1 "$work/display" 2>/dev/null)
if [ -z "$number" ]; then
  echo "with-xvfb: Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
unset WAYLAND_DISPLAY
export DISPLAY=":$number"
"$@"
