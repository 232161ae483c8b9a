#!/usr/bin/env bash
# The picker against a real KWin 5.27 and KDE's desktop portal, headless, as
# an unprivileged user in a private session (KWin without plasmashell): too
# slow and too large an install for scripts/test.sh, so run on its own.
# Installs KWin, KDE's portal back end with the QML modules its dialogs need,
# and what the fake-input helper is built with, if missing; builds the test
# tree, then:
# - with no pictures folder, KDE's portal cancels every screenshot (it saves
#   each one there), and tintavo --contrast --region says the desktop refused;
# - with one, --region reads the portal's frame;
# - at output scales 1 and 2 the picker and a pick for a script each pick, on
#   the portal's frame, the pixel of a pattern under the point clicked (the
#   window test's own events, as on GNOME);
# - Alt+Shift+S, bound through the portal's GlobalShortcuts and pressed
#   through KWin's fake input, starts a pick on a fresh frame, and Return
#   there stores a colour into the next slot.
#
# Usage: scripts/real_kde.sh [BUILD_DIR] (by default the test command's
# build-tests). Root runs it all as nobody.
set -euo pipefail
if [[ ${1:-} != --inside ]]; then
  root=$(cd "$(dirname "$0")/.." && pwd)
  packages=(kwin-wayland xdg-desktop-portal-kde qtwayland5 plasma-workspace qml-module-org-kde-kirigami2
    qml-module-qtquick-controls2 qml-module-qtquick-layouts libwayland-dev plasma-wayland-protocols)
  dpkg -s "${packages[@]}" >/dev/null 2>&1 || apt-get install -y --no-install-recommends "${packages[@]}"
  build=${1:-$root/build-tests}
  [[ -f $build/build.ninja ]] || cmake -S "$root" -B "$build" -G Ninja -DTINTAVO_BUILD_TESTS=ON >/dev/null
  cmake --build "$build" --target tintavo gui_picker_portal
  work=$(mktemp -d)
  trap 'rm -rf "$work" 2>/dev/null || { sleep 1; rm -rf "$work"; }' EXIT
  cp "$build/tests/gui/picker/gui_picker_portal" "$work/picker_test"
  cp "$build/src/app/tintavo" "$work/tintavo"
  # A copy loses the file capability a container may forbid.
  cp "$(command -v kwin_wayland)" "$work/kwin_wayland"
  protocol=/usr/share/plasma-wayland-protocols/fake-input.xml
  wayland-scanner client-header "$protocol" "$work/fake-input-client.h"
  wayland-scanner private-code "$protocol" "$work/fake-input.c"
  cc -O1 -I"$work" -o "$work/kwin_fake_input" "$root/tests/support/kwin_fake_input.c" \
    "$work/fake-input.c" -lwayland-client
  cp "$0" "$work/inside.sh"
  chmod -R a+rwX "$work"
  as_nobody=()
  (($(id -u))) || as_nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  # The bus's own chatter (services it starts) goes to a log.
  status=0
  "${as_nobody[@]}" env -i PATH="$PATH" HOME="$work" dbus-run-session -- \
    bash "$work/inside.sh" --inside "$work" 2>"$work/session.log" || status=$?
  ((status == 0)) || tail -n 20 "$work/session.log"
  exit "$status"
fi

work=$2
cd "$work"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true' EXIT
failed=0
fail() { echo "FAIL: $*"; tail -n 5 "$work"/*.log || true; failed=1; }
poll() { # poll SECONDS COMMAND...
  local deadline=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do ((SECONDS < deadline)) || return 1; sleep 0.1; done
}
export XDG_RUNTIME_DIR=$work/run XDG_CURRENT_DESKTOP=KDE XDG_SESSION_TYPE=wayland
mkdir -m 700 "$XDG_RUNTIME_DIR"
# KWin lends its fake input only to a program whose desktop entry asks for it.
mkdir -p .local/share/applications
cat >.local/share/applications/kwin_fake_input.desktop <<ENTRY
[Desktop Entry]
Type=Application
Name=kwin_fake_input
Exec=$work/kwin_fake_input
NoDisplay=true
X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input
ENTRY
export WAYLAND_DISPLAY=wayland-kde
dbus-update-activation-environment WAYLAND_DISPLAY XDG_CURRENT_DESKTOP XDG_SESSION_TYPE
portal_pids=()
desktop() { # desktop SCALE: KWin at that output scale, and the portals
  kill "${portal_pids[@]}" 2>/dev/null || true
  wait "${portal_pids[@]}" 2>/dev/null || true
  rm -f "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY.lock"
  ./kwin_wayland --virtual --width 1280 --height 720 --scale "$1" --no-lockscreen \
    --socket "$WAYLAND_DISPLAY" >kwin.log 2>&1 &
  portal_pids=($!)
  poll 30 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || { fail "KWin did not start"; exit 1; }
  sleep 1
  QT_QPA_PLATFORM=wayland /usr/lib/*/libexec/xdg-desktop-portal-kde >xdpk.log 2>&1 &
  portal_pids+=($!)
  sleep 1
  /usr/libexec/xdg-desktop-portal -r >xdp.log 2>&1 &
  portal_pids+=($!)
  pids=("${portal_pids[@]}")
  poll 20 dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop \
    /org/freedesktop/portal/desktop org.freedesktop.DBus.Properties.Get \
    string:org.freedesktop.portal.Screenshot string:version || { fail "the portal offers no Screenshot"; exit 1; }
}
desktop 1

# KDE's portal saves every screenshot into the pictures folder first, and
# answers "cancelled" where it cannot.
status=0
QT_QPA_PLATFORM=wayland timeout 20 ./tintavo --contrast white --region 10,10,20,20 2>nopictures.log || status=$?
if ((status == 2)) && grep -q '^桌面拒绝了截图' nopictures.log; then
  echo "ok: with no pictures folder, KDE cancels the screenshot and --region says the desktop refused"
else
  fail "with no pictures folder (status $status): $(cat nopictures.log)"
fi
mkdir Pictures
line=$(QT_QPA_PLATFORM=wayland timeout 20 ./tintavo --contrast white --region 10,10,20,20 2>region.log) || true
if [[ $line == 区域\ 20×20* ]]; then
  echo "ok: --contrast --region reads KWin's frame"
else
  fail "--region on KWin printed '$line': $(cat region.log)"
fi
# Twice: a picker opened again at once binds the key again under the same name.
if REAL_KEY_PRESS=$work/kwin_fake_input QT_QPA_PLATFORM=wayland ./picker_test \
  capturesWithARealDesktopsKey capturesWithARealDesktopsKey >key.log 2>&1; then
  echo "ok: Alt+Shift+S through GlobalShortcuts and KWin's fake input picks into the next slot, twice"
else
  cat key.log
  fail "Alt+Shift+S on KWin"
fi
for scale in 1 2; do
  ((scale == 1)) || desktop "$scale"
  if REAL_DESKTOP=kde REAL_PORTAL_SCALE=$scale QT_QPA_PLATFORM=wayland ./picker_test \
    picksOnARealPortalsFrame >picker.log 2>&1; then
    echo "ok: at scale $scale, picks on KWin's frame are the pixels under the point"
  else
    cat picker.log
    fail "at scale $scale, a pick on KWin's frame is not the pixel under the point"
  fi
done
echo "KDE's portal left $(find Pictures -name 'Screenshot_*.png' | wc -l) screenshots in the pictures folder"
exit "$failed"
