#!/usr/bin/env bash
# Reads the real program the way a screen reader does, through AT-SPI on a
# private session bus with its own accessibility bus, and uses the colour box
# with the keyboard alone (screen_reader.py says what is checked).
# Usage: screen_reader.sh TINTAVO BUS_CONF X_PROBE. Exit 77: no X server, no AT-SPI.
source "$(dirname "$0")/../lib.sh"
tintavo=$1 conf=$2 probe=$3
need_x wmctrl dbus-daemon
launcher=/usr/libexec/at-spi-bus-launcher
[[ -x $launcher ]] || { echo "at-spi2-core missing: skipped"; exit 77; }
# The system Python: pyatspi is a Debian package, unknown to other Pythons.
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "python3-pyatspi missing: skipped"; exit 77; }
pids=()
at_exit() { kill "${pids[@]}" 2>/dev/null; }

dbus-daemon --config-file="$conf" --nofork --print-address=1 >"$work/bus" &
pids+=($!)
poll 10 test -s "$work/bus" || fail "the private bus did not start"
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")
# The launcher starts the accessibility bus, with its socket in $work, and
# names it on the session bus. Kept off the X root window: Qt 6.4 connects at
# once to a bus it finds there, before it listens for being switched on, and
# then never shows its tree.
xprop -root -remove AT_SPI_BUS
env -u DISPLAY XDG_RUNTIME_DIR="$work" "$launcher" --launch-immediately >"$work/launcher.log" 2>&1 &
pids+=($!)
a11y_bus() {
  dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress
}
poll 10 a11y_bus || fail "no accessibility bus: $(cat "$work/launcher.log")"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

"$probe" pattern || fail "the root picture could not be painted"
start_program
xdotool windowmove --sync "$main_wid" 0 0 windowactivate --sync "$main_wid" >/dev/null 2>&1 || true
step=screen_reader.py
AT_SPI_BUS_ADDRESS=$(a11y_bus | tr -d ' ') /usr/bin/python3 "$(dirname "$0")/screen_reader.py" \
  "$app_pid" "$main_wid" || fail "see above"
close_program
