# Sourced by the scripts that need a private X server.
#
# start_private_xvfb FIRST SIZE [LOG]: starts Xvfb (-noreset) on the first free
# display number from FIRST with one screen of SIZE (e.g. 1280x1024x24),
# exports DISPLAY, sets xvfb_pid, and returns once the server answers.
start_private_xvfb() {
  local display_no=$1 size=$2 log=${3:-/dev/null}
  while [[ -e /tmp/.X11-unix/X$display_no || -e /tmp/.X$display_no-lock ]]; do
    display_no=$((display_no + 1))
  done
  Xvfb ":$display_no" -screen 0 "$size" -noreset -nolisten tcp >"$log" 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$display_no"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb on $DISPLAY did not start (log: $log)" >&2
  return 1
}
