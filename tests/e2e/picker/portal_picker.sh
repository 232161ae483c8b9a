#!/usr/bin/env bash
# Drives the real program as in a Wayland session (through X11, as under
# XWayland) against a stand-in desktop portal on a private session bus: the
# program names itself to the portal first; the picker's button 取色, the
# portal's global shortcut and tintavo --capture each pick a colour,
# which lands in the next slot and in Tintavo.ini after the program ends; the
# portal's session is closed with the picker.
# Usage: portal_picker.sh TINTAVO PORTAL_STANDIN BUS_CONF. Exit 77: no X server.
source "$(dirname "$0")/../lib.sh"
tintavo=$1 standin=$2 conf=$3
need_x wmctrl
pids=()
at_exit() { kill "${pids[@]}" 2>/dev/null; }
portal_said() { grep -q "$1" "$work/portal.log"; }

dbus-daemon --config-file="$conf" --nofork --print-address=1 >"$work/bus" &
pids+=($!)
poll 10 test -s "$work/bus" || fail "the private bus did not start"
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")
mkfifo "$work/ctl"
"$standin" --color 0.2,0.4,0.8 <"$work/ctl" >"$work/portal.log" &
pids+=($!)
exec 3>"$work/ctl"
poll 10 portal_said '^ready$' || fail "the stand-in portal did not start"

# A Wayland session as the program judges it; it still draws through X11.
export WAYLAND_DISPLAY=wayland-tintavo-test
start_program
xdotool windowactivate --sync "$main_wid" key alt+m
picker=$(timeout 10 xdotool search --all --sync --onlyvisible --pid "$app_pid" --name '鼠标取色' |
  head -1) || fail "Alt+M opened no picker"
poll 10 portal_said '^BindShortcuts ALT+SHIFT+s$' || fail "no shortcut bound"
[[ $(sed -n 2p "$work/portal.log") == "Register io.github.tintavo.Tintavo" ]] ||
  fail "the program did not name itself to the portal first: $(cat "$work/portal.log")"

# The button 取色 sits at the bottom left of the picker. The window manager
# may still be placing the picker when it first shows, so a click that finds
# no button is tried again.
step=button
for _ in $(seq 10); do
  xdotool mousemove --window "$picker" 54 90 click 1
  poll 1 portal_said "^PickColor x11:$(printf %x "$picker")$" && break
done
portal_said "^PickColor x11:$(printf %x "$picker")$" || fail "no pick with the picker as parent"
step=shortcut
echo activate >&3
two_picks() { (($(grep -c '^PickColor' "$work/portal.log") >= 2)); }
poll 10 two_picks || fail "the shortcut made no pick"
step=--capture
(cd "$(dirname "$ini")" && timeout 20 ./tintavo --capture) || fail "--capture ended with $?"
three_picks() { (($(grep -c '^PickColor' "$work/portal.log") >= 3)); }
poll 10 three_picks || fail "--capture made no pick in the running copy"
sleep 0.5
wmctrl -i -c "$picker"
poll 10 portal_said '^Close /org/freedesktop/portal/desktop/session/' ||
  fail "the portal session outlived the picker"
poll 10 viewable "$main_wid" || fail "no main window after the picker"
close_program
ini_is $'[COLOR]\nColor0=13395507\nColor1=13395507\nColor2=13395507\n[AppSet]\nStartPoint=3'
echo "ok: picks by the button, the portal's shortcut and --capture stored in slots 0 to 2"
