#!/usr/bin/env bash
# tintavo --capture, as a key in the desktop's own keyboard settings runs it,
# on a private session bus: it reaches the copy that runs, which stores the
# colour under the pointer into its next slot, and ends at once; where no copy
# runs, it starts one that does the same. The colours land in Tintavo.ini.
# Usage: capture_command.sh TINTAVO BUS_CONF. Exit 77: no X server or tools.
source "$(dirname "$0")/../lib.sh"
tintavo=$1 conf=$2
need_x wmctrl xsetroot dbus-send
bus_pid=
at_exit() { [[ -z $bus_pid ]] || kill "$bus_pid"; xsetroot -def; }

dbus-daemon --config-file="$conf" --nofork --print-address=1 >"$work/bus" &
bus_pid=$!
poll 10 test -s "$work/bus" || fail "the private bus did not start"
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")
published() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.NameHasOwner string:io.github.tintavo.Tintavo | grep -q 'boolean true'
}
# The pointer in the corner away from where the window manager puts windows.
read -r w h <<<"$(xdotool getdisplaygeometry)"
xdotool mousemove $((w - 5)) $((h - 5))

step="a copy runs"
start_program
poll 10 published || fail "the program did not take its name on the bus"
for c in 123456 654321; do
  xsetroot -solid "#$c"
  poll 5 eval '[[ $(pixel $((w - 5)) $((h - 5))) == '$c' ]]' || fail "the desktop does not show $c"
  (cd "$(dirname "$ini")" && timeout 20 ./tintavo --capture) >"$work/said" 2>&1 ||
    fail "--capture ended with $?: $(cat "$work/said")"
  ! xdotool search --onlyvisible --name '^Tintavo' | grep -qv "^$main_wid$" ||
    fail "--capture opened a window of its own"
done
close_program
grep -q $'^Color0=5649426\r$' "$ini" && grep -q $'^Color1=2179941\r$' "$ini" ||
  fail "the captures are not in slots 0 and 1"

step="no copy runs"
xsetroot -solid '#0000ff'
mkdir -p "$work/run2" && cp "$tintavo" "$work/run2/tintavo"
start_program ./tintavo --capture
poll 10 published || fail "the program did not take its name on the bus"
close_program
grep -q $'^Color0=16711680\r$' "$ini" || fail "the capture of the copy started is not in slot 0"
echo "ok: --capture reached the running copy twice, and started one"
