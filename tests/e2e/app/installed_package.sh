#!/usr/bin/env bash
# Builds the Debian package from this build tree, unpacks it into a scratch
# root and checks it there as a desktop and a user meet it: the desktop entry
# and the AppStream metadata pass their validators, the D-Bus service starts
# the installed program, each icon size is a PNG of
# that size, Depends names the toolkit, LittleCMS and the fonts, the binary answers
# --version and --help and refuses to start without a display, all without a
# settings file appearing. Then the binary opens its window with the class the
# desktop entry names and keeps its settings in the user's config folder, not
# beside itself, though it could write there.
# Usage: installed_package.sh BUILD_DIR VERSION APP_ID XVFB_SH
source "$(dirname "$0")/../lib.sh"
build=$1 version=$2 id=$3
xvfb_pid= wm_pid=
at_exit() { kill $wm_pid $xvfb_pid 2>/dev/null; }

deb=$work/tintavo_${version}_$(dpkg --print-architecture).deb
(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || fail "cpack: $(cat "$work/cpack.log")"
[[ -f "$deb" ]] || fail "no $(basename "$deb") among: $(ls "$work")"
root=$work/root
dpkg-deb -x "$deb" "$root"
depends=$(dpkg-deb -f "$deb" Depends)
for pkg in libqt6core6 libqt6gui6 libqt6widgets6 liblcms2-2 libxcb-xinput0 fonts-wqy-microhei \
  fonts-noto-cjk; do
  grep -qE "(^|, )$pkg( |,|$)" <<<"$depends" || fail "Depends lacks $pkg: $depends"
done
[[ -n "$(dpkg-deb -f "$deb" Maintainer)" ]] || fail "no Maintainer field"

share=$root/usr/share
desktop=$share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate refused $desktop"
# Not even a warning or a remark: software centres show less for either.
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >"$work/as.log" &&
  ! grep -qE '^[EWI]:' "$work/as.log" || fail "appstreamcli: $(cat "$work/as.log")"
# The entry is D-Bus activatable: the bus starts the installed program by its id.
service=$share/dbus-1/services/$id.service
[[ "$(sed -n 's/^Name=//p' "$service")" == "$id" && "$(sed -n 's/^Exec=//p' "$service")" == /usr/bin/tintavo ]] ||
  fail "D-Bus service file: $(cat "$service" 2>&1)"
grep -q '<svg' "$share/icons/hicolor/scalable/apps/$id.svg" || fail "no scalable icon"
for size in 16 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x$size/apps/$id.png
  [[ "$(file -b "$png")" == "PNG image data, $size x $size,"* ]] || fail "$png: $(file -b "$png")"
done

bin=$root/usr/bin/tintavo
home=$work/home
mkdir -p "$home"
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_CONFIG_HOME HOME="$home" "$bin" "$@"; }
[[ "$(run --version)" == "Tintavo $version" ]] || fail "--version says: $(run --version)"
grep -q -- '--version' <<<"$(run --help)" || fail "--help does not list --version"
status=0
run 2>"$work/err" || status=$?
((status == 2)) && [[ $(wc -l <"$work/err") == 1 ]] && grep -q '需要图形显示.*needs a display' "$work/err" ||
  fail "without a display: status $status, said: $(cat "$work/err")"
[[ -z "$(find "$root" "$home" -name Tintavo.ini)" ]] || fail "a settings file appeared"

if [[ -z "${DISPLAY:-}" ]]; then
  source "$4"
  start_private_xvfb $((300 + RANDOM % 500)) 1280x1024x24
  openbox >/dev/null 2>&1 &
  wm_pid=$!
  sleep 1
fi
# The unpacked tree is writable, as /usr is for root: an installed copy keeps
# its settings per user all the same.
start_program env -u XAUTHORITY -u XDG_CONFIG_HOME -u XDG_RUNTIME_DIR HOME="$home" "$bin"
wm_class=$(xprop -id "$main_wid" WM_CLASS)
[[ "$wm_class" == *", \"$(sed -n 's/^StartupWMClass=//p' "$desktop")\"" ]] ||
  fail "window class $wm_class does not match the desktop entry"
# The icon window managers draw in title bars, task bars and switchers.
icons=$(xprop -id "$main_wid" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')
for side in 16 32 48; do
  [[ $icons == *"Icon ($side x $side)"* ]] || fail "no $side x $side icon on the window: $icons"
done
ini=$home/.config/Tintavo/Tintavo.ini
close_program
[[ -f $ini ]] || fail "no settings in $home/.config/Tintavo"
[[ -z "$(find "$root" -name Tintavo.ini)" ]] || fail "settings written into the installed tree"
echo "package $(basename "$deb") checked"
