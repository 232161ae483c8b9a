#!/usr/bin/env bash
# The picker picks through the real xdg-desktop-portal and its wlroots back
# end on a headless sway, which reads the pixel with grim. Only the choice of
# the point is scripted: a stand-in for slurp answers a point in sway's
# background, so no one has to click. Then, at output scale 1, 2 and 1.5, the
# picker and a pick for a script each pick on the portal's screenshot of a
# tiled pattern, in their own full-screen windows on sway. The picker runs in
# the window test (PICKER_TEST), whose events reach those windows directly: a
# headless sway 1.7 has no input devices, and it stopped when a virtual
# keyboard (wtype) typed into it, so the real program's keys cannot be
# pressed there. sway refuses to run as root, so root runs all
# this as nobody. The private bus starts the document portal when the portal
# asks for it, which mounts a FUSE file system under the test's home: it is
# ended, and the mount let go, before the folder is removed, and the clean-up
# never decides the test's status.
#
# Usage: real_portal.sh PICKER_TEST TINTAVO. Exit 77: the Wayland tools are missing.
set -euo pipefail
if [[ ${1:-} != --inside ]]; then
  source "$(dirname "$0")/../../support/unmount_under.sh"
  for tool in sway grim pipewire dbus-run-session setpriv \
    /usr/libexec/xdg-desktop-portal /usr/libexec/xdg-desktop-portal-wlr; do
    command -v "$tool" >/dev/null || { echo "$tool missing: skipped"; exit 77; }
  done
  work=$(mktemp -d)
  trap 'status=$?; { unmount_under "$work"; rm -rf "$work"; } 2>/dev/null || true; exit $status' EXIT
  cp "$1" "$work/picker_test"
  cp "$2" "$work/tintavo"
  cp "$0" "$work/inside.sh"
  cp "$(dirname "$0")/../../support/unmount_under.sh" "$work/"
  chmod -R a+rwX "$work"
  as_nobody=()
  (($(id -u))) || as_nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  # A sanitizer build's leak suppressions go along.
  "${as_nobody[@]}" env -i PATH="$PATH" HOME="$work" ${LSAN_OPTIONS:+LSAN_OPTIONS="$LSAN_OPTIONS"} dbus-run-session -- \
    bash "$work/inside.sh" --inside "$work"
  exit
fi

work=$2
cd "$work"
source ./unmount_under.sh
pids=()
# The services the private bus started for the portal (the document portal
# with its FUSE mount, the permission store) end with what the test started.
bus_started() {
  local name
  for name in org.freedesktop.portal.Documents org.freedesktop.impl.portal.PermissionStore; do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.GetConnectionUnixProcessID "string:$name" 2>/dev/null |
      awk '/uint32/ {print $2}'
  done
}
end_all() {
  local started pid
  started=$(bus_started) || true
  kill "${pids[@]}" $started 2>/dev/null || true
  wait 2>/dev/null || true
  for pid in $started; do poll 5 ended "$pid" || kill -9 "$pid" 2>/dev/null || true; done
  unmount_under "$work"
}
ended() { ! kill -0 "$1" 2>/dev/null; }
trap 'status=$?; end_all || true; exit $status' EXIT
fail() { echo "FAIL: $*" >&2; tail -n 5 "$work"/*.log >&2 || true; exit 1; }
poll() { # poll SECONDS COMMAND...
  local deadline=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do ((SECONDS < deadline)) || return 1; sleep 0.1; done
}
export XDG_RUNTIME_DIR=$work/run XDG_CURRENT_DESKTOP=sway:gnome
export WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
mkdir -m 700 "$XDG_RUNTIME_DIR"
# A tile of 64 × 64 pixels, each its own colour (see tileAt in PICKER_TEST),
# on sway's background; the gaps leave it showing at the output's edge.
{
  echo "P3 64 64 255"
  for ((y = 0; y < 64; y++)); do for ((x = 0; x < 64; x++)); do echo "$((x * 4)) $((y * 4)) 128"; done; done
} >tile.ppm
printf 'output * bg %s tile\ngaps outer 40\n' "$work/tile.ppm" >sway.cfg
sway -c sway.cfg >sway.log 2>&1 &
pids+=($!)
poll 10 compgen -G "$XDG_RUNTIME_DIR/wayland-*" || fail "sway did not start"
export WAYLAND_DISPLAY=$(basename "$(compgen -G "$XDG_RUNTIME_DIR/wayland-[0-9]" | head -1)")
pipewire >pipewire.log 2>&1 &
pids+=($!)
mkdir bin
printf '#!/bin/sh\necho "5,5 1x1"\n' >bin/slurp
chmod +x bin/slurp
sleep 1
PATH=$work/bin:$PATH /usr/libexec/xdg-desktop-portal-wlr >xdpw.log 2>&1 &
pids+=($!)
/usr/libexec/xdg-desktop-portal >xdp.log 2>&1 &
pids+=($!)
version() {
  dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop \
    /org/freedesktop/portal/desktop org.freedesktop.DBus.Properties.Get \
    string:org.freedesktop.portal.Screenshot string:version | grep -q uint32
}
poll 20 version || fail "the portal offers no Screenshot"

# The stand-in slurp answers 5,5: the tile's #141480.
REAL_PORTAL_COLOR=$((128 * 65536 + 20 * 256 + 20)) QT_QPA_PLATFORM=offscreen ./picker_test \
  picksFromARealPortal || fail "the real portal's pick of sway's background did not reach slot 0"
echo "ok: the real portal's pick of sway's background landed in slot 0"
# A script's --region reads the same frame: white over that one pixel.
line=$(QT_QPA_PLATFORM=wayland ./tintavo --contrast white --region 5,5,1,1 2>tintavo.log) ||
  fail "--region on Wayland: $(cat tintavo.log)"
[[ $line == "区域 1×1  最低 14.56:1  P5 14.56:1  正文 AA 达标 100%  大字 AA 达标 100%" ]] ||
  fail "--region on Wayland printed '$line'"
echo "ok: --contrast --region reads the portal's frame"
for scale in 1 2 1.5; do
  SWAYSOCK=$(compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*" | head -1) swaymsg "output * scale $scale" >/dev/null
  REAL_PORTAL_SCALE=$scale QT_QPA_PLATFORM=wayland ./picker_test picksOnARealPortalsFrame ||
    fail "at scale $scale, a pick on the portal's frame is not the pixel the crosshair rings"
  echo "ok: at scale $scale, picks on the portal's frame are the pixels the crosshair rings"
done
