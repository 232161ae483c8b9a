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

# start_openbox DIR: starts the openbox window manager on $DISPLAY, sets
# openbox_pid, and returns once it manages the screen. Its stock key bindings
# are kept, but for Shift+Alt+arrows (move a window to another desktop), which
# the picker takes for stepping the pointer while it is open.
start_openbox() {
  local dir=$1
  sed '/<keybind key="S-A-\(Left\|Right\|Up\|Down\)">/,/<\/keybind>/d' \
    /etc/xdg/openbox/rc.xml >"$dir/openbox-rc.xml"
  openbox --config-file "$dir/openbox-rc.xml" >"$dir/openbox.log" 2>&1 &
  openbox_pid=$!
  # Windows mapped before the window manager has taken over may never show.
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.1
  done
  echo "openbox did not start on $DISPLAY (log: $dir/openbox.log)" >&2
  return 1
}
