# tests/demo/xdrive-common.sh: sourced by the scripts that run the demo on an X display. It gives them
# a work folder, a list `pids` of processes stopped when the script ends, `fail`, `drive` (xdrive,
# failing the script with it), `start_wm` and `wait_ended`. The script sets `xdrive` and `deadline`
# (milliseconds for each wait) first, and `demopid` before it calls wait_ended.
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

# The message, the demo's stderr so far and the windows on the screen, then the end.
fail() {
  echo "$(basename "$0" .sh): $*" >&2
  [ -s "$work/stderr" ] && sed 's/^/  stderr: /' "$work/stderr" >&2
  command -v xwininfo > /dev/null && xwininfo -root -tree | grep -v "has no name" >&2
  exit 1
}
drive() { "$xdrive" "$@" || fail "xdrive $1 ... failed"; }

# WM "openbox" starts Debian's openbox with its own configuration only (Alt+Tab goes to the next
# window) and waits until it frames windows; "none" leaves the display bare.
start_wm() {
  if [ "$1" = openbox ]; then
    XDG_CONFIG_HOME="$work" openbox --sm-disable > "$work/openbox.log" 2>&1 &
    pids+=($!)
    drive wm "$deadline"
  fi
}

# Waits up to a minute for the demo to end, saying after what when it does not; its status goes to
# `status`.
wait_ended() {
  for _ in $(seq 600); do
    kill -0 "$demopid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$demopid" 2>/dev/null && fail "the demo did not end within a minute $1"
  wait "$demopid"
  status=$?
}

# Under the sanitizers, the X and OpenGL system libraries keep allocations until exit that the leak
# check would count against the program.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
