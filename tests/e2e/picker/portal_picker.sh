#!/usr/bin/env bash
# Drives the real program as in a Wayland session (through X11, as under
# XWayland) against a stand-in desktop portal on a private session bus: the
# picker's button 取色 and the portal's global shortcut each pick a colour,
# which lands in the next slot and in Tintavo.ini after the program ends; the
# portal's session is closed with the picker.
#
# Usage: portal_picker.sh TINTAVO PORTAL_STANDIN BUS_CONF. Exit 77: no X server.
set -euo pipefail
tintavo=$1 standin=$2 conf=$3
[[ -n "${DISPLAY:-}" ]] || { echo "no DISPLAY: skipped"; exit 77; }
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; cat "$work/portal.log" >&2 || true; exit 1; }
poll() { # poll SECONDS COMMAND...
  local deadline=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do ((SECONDS < deadline)) || return 1; sleep 0.05; done
}

dbus-daemon --config-file="$conf" --nofork --print-address=1 >"$work/bus" &
pids+=($!)
poll 10 test -s "$work/bus" || fail "the private bus did not start"
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")
mkfifo "$work/ctl"
"$standin" --color 0.2,0.4,0.8 <"$work/ctl" >"$work/portal.log" &
pids+=($!)
exec 3>"$work/ctl"
poll 10 grep -q '^ready$' "$work/portal.log" || fail "the stand-in portal did not start"

cp "$tintavo" "$work/tintavo"
(cd "$work" && exec env WAYLAND_DISPLAY=wayland-tintavo-test QT_QPA_PLATFORM=xcb ./tintavo) &
app=$!
pids+=($app)
main=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$app" --name . | head -1)
[[ -n "$main" ]] || fail "the main window did not appear"
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key alt+m
picker_seen() { [[ $(xdotool search --all --onlyvisible --pid "$app" --name '鼠标取色' | head -1) ]]; }
poll 10 picker_seen || fail "Alt+M opened no picker"
picker=$(xdotool search --all --onlyvisible --pid "$app" --name '鼠标取色' | head -1)
poll 10 grep -q '^BindShortcuts ALT+SHIFT+s$' "$work/portal.log" || fail "no shortcut bound"

# The button 取色 sits at the bottom left of the picker.
# The window manager may still be placing the picker when it first shows,
# so a click that finds no button is tried again.
picked_by_button() { grep -qx "PickColor x11:$(printf %x "$picker")" "$work/portal.log"; }
for _ in $(seq 10); do
  xdotool mousemove --sync --window "$picker" 54 90 click 1
  poll 1 picked_by_button && break
done
picked_by_button || fail "the button made no pick with the picker as parent"
echo activate >&3
two_picks() { (($(grep -c '^PickColor' "$work/portal.log") >= 2)); }
poll 10 two_picks || fail "the shortcut made no pick"
sleep 0.5
wmctrl -i -c "$picker"
poll 10 grep -q '^Close /org/freedesktop/portal/desktop/session/' "$work/portal.log" ||
  fail "the portal session outlived the picker"
poll 10 xdotool search --all --onlyvisible --pid "$app" --name . || fail "no main window after the picker"
wmctrl -i -c "$main"
wait "$app" || fail "the program ended with an error"
expected=$'[COLOR]\nColor0=13395507\nColor1=13395507\n[AppSet]\nStartPoint=2'
[[ $(tr -d '\r' <"$work/Tintavo.ini") == "$expected" ]] ||
  fail "Tintavo.ini: $(cat -A "$work/Tintavo.ini")"
echo "ok: a pick by the button and one by the portal's shortcut stored in slots 0 and 1"
