#!/usr/bin/env bash
# The picker against a real GNOME Shell 43 and its desktop portal, headless,
# as an unprivileged user in a private session: too slow and too large an
# install for scripts/test.sh, so run on its own. Installs gnome-shell and
# xdg-desktop-portal-gnome if missing, builds the test tree, then, twice (on
# GNOME as it comes, at monitor scales 1 and 2; then on a second GNOME with
# Mutter's fractional scaling, the experimental scale-monitor-framebuffer, at
# Mutter's scale nearest 1.5, 1.4953 for 2560 × 1440, a logical 1712 × 963,
# and at 2):
# - a screenshot GNOME has not been allowed to take waits for its question,
#   and tintavo --contrast --region says so on standard error; the question, a
#   modal dialog that outlives the command and holds pointer and keys, is then
#   answered (Escape, through Mutter's remote desktop: see below);
# - once allowed (in the permission store, as GNOME's dialog stores it),
#   --region reads the portal's frame;
# - at each scale the picker and a pick for a script each pick, on
#   the portal's frame, the pixel of a pattern under the point clicked (the
#   window test's own events, as on sway in real_portal.sh);
# - with REAL_GNOME_INJECTED=1, at each scale, with clicks injected
#   through Mutter's remote desktop (tests/support/mutter_click.py), as a
#   user's: tintavo --pick prints the pixel under the click, and tintavo
#   --capture makes the running copy pick on a fresh frame and store that pixel
#   into its next slot. Behind everything lies a picture whose every pixel has
#   its own colour, and the pixel under the click is checked against it first.
# The private bus starts the document portal for the portal, which mounts a
# FUSE file system under the private home: it is let go before the folder is
# removed, and the clean-up never decides the status.
#
# Usage: scripts/real_gnome.sh [BUILD_DIR] (by default the test command's
# build-tests). Root runs it all as nobody. REAL_GNOME_DISPLAY names GNOME's
# Wayland socket (wayland-0; it lies in a private runtime folder anyway);
# REAL_GNOME_LOGS names a folder that keeps the logs and the portal's
# screenshots, in whole/ and fractional/.
set -euo pipefail
if [[ ${1:-} != --inside ]]; then
  root=$(cd "$(dirname "$0")/.." && pwd)
  if ! command -v gnome-shell >/dev/null || [[ ! -x /usr/libexec/xdg-desktop-portal-gnome ]]; then
    apt-get install -y --no-install-recommends gnome-shell xdg-desktop-portal-gnome libglib2.0-bin
  fi
  command -v pipewire >/dev/null && python3 -c 'import gi' 2>/dev/null ||
    apt-get install -y --no-install-recommends pipewire python3-gi
  build=${1:-$root/build-tests}
  [[ -f $build/build.ninja ]] || cmake -S "$root" -B "$build" -G Ninja -DTINTAVO_BUILD_TESTS=ON >/dev/null
  cmake --build "$build" --target tintavo gui_picker_portal
  source "$root/tests/support/unmount_under.sh"
  work=
  let_go() { # the session's folder, its logs kept where asked
    { unmount_under "$work"
      [[ -z ${REAL_GNOME_LOGS:-} ]] || { mkdir -p "$REAL_GNOME_LOGS/$name" && cp "$work"/*.log "$work"/*.png "$REAL_GNOME_LOGS/$name"/; }
      rm -rf "$work"; } 2>/dev/null || true
  }
  trap 'status=$?; [[ -z $work ]] || let_go; exit $status' EXIT
  as_nobody=()
  (($(id -u))) || as_nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  # GNOME as it comes, then with its fractional scaling, which Mutter 43
  # takes only as it starts.
  for name in whole fractional; do
    work=$(mktemp -d)
    cp "$build/tests/gui/picker/gui_picker_portal" "$work/picker_test"
    cp "$build/src/app/tintavo" "$work/tintavo"
    cp "$0" "$work/inside.sh"
    cp "$root/tests/support/mutter_click.py" "$work/"
    chmod -R a+rwX "$work"
    "${as_nobody[@]}" env -i PATH="$PATH" HOME="$work" REAL_GNOME_INJECTED="${REAL_GNOME_INJECTED:-}" \
      REAL_GNOME_SCALING=$name REAL_GNOME_DISPLAY="${REAL_GNOME_DISPLAY:-wayland-0}" dbus-run-session -- \
      bash "$work/inside.sh" --inside "$work"
    let_go
    work=
  done
  exit
fi

work=$2
cd "$work"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true' EXIT
fail() { echo "FAIL: $*" >&2; tail -n 5 "$work"/*.log >&2 || true; exit 1; }
poll() { # poll SECONDS COMMAND...
  local deadline=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do ((SECONDS < deadline)) || return 1; sleep 0.1; done
}
export XDG_RUNTIME_DIR=$work/run XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland
mkdir -m 700 "$XDG_RUNTIME_DIR"
# GNOME Shell ends without a system bus; an empty one of its own will do.
cat >system.conf <<'CONF'
<busconfig><type>system</type><listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/>
<allow own="*"/></policy></busconfig>
CONF
dbus-daemon --config-file="$work/system.conf" --nofork --print-address=1 >system.address &
pids+=($!)
poll 10 test -s system.address || fail "no system bus"
export DBUS_SYSTEM_BUS_ADDRESS=$(head -1 system.address)
# The user session without the overview it opens with, which would cover the
# screen and hold the pointer: GNOME Shell reads modes from the system's data
# folders only.
mkdir -p share/gnome-shell/modes
echo '{"parentMode": "user", "hasOverview": false}' >share/gnome-shell/modes/tintavo-test.json
# Behind everything a picture of 2560 × 1440 pixels, each its own colour, so
# that a click read at the wrong place reads another colour; set before GNOME
# starts, which does not see it change.
python3 - >pattern.png <<'PNG'
import struct, sys, zlib
rows = bytearray()
for y in range(1440):
    row = bytearray(3 * 2560)
    row[0::3] = bytes(x % 256 for x in range(2560))
    row[1::3] = bytes([y % 256]) * 2560
    row[2::3] = bytes(x // 256 * 16 + y // 256 for x in range(2560))
    rows += b"\0" + row
chunk = lambda kind, data: (struct.pack(">I", len(data)) + kind + data
                            + struct.pack(">I", zlib.crc32(kind + data)))
sys.stdout.buffer.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 2560, 1440, 8, 2, 0, 0, 0))
                        + chunk(b"IDAT", zlib.compress(bytes(rows))) + chunk(b"IEND", b""))
PNG
gsettings set org.gnome.desktop.background picture-uri "file://$work/pattern.png"
gsettings set org.gnome.desktop.background picture-options stretched
scales=(1 2) scaling=
if [[ $REAL_GNOME_SCALING == fractional ]]; then
  # GNOME 43 offers fractional scales only with this experimental feature; it
  # then lays monitors out in logical pixels, at whole scales too.
  gsettings set org.gnome.mutter experimental-features "['scale-monitor-framebuffer']"
  scales=(1.5 2) scaling=" (fractional scaling on)"
fi
XDG_DATA_DIRS=$work/share:/usr/local/share:/usr/share nice -n 10 gnome-shell --headless --wayland --no-x11 --mode=tintavo-test --wayland-display "$REAL_GNOME_DISPLAY" \
  --virtual-monitor 2560x1440 >shell.log 2>&1 &
pids+=($!)
poll 30 test -S "$XDG_RUNTIME_DIR/$REAL_GNOME_DISPLAY" || fail "GNOME Shell did not start"
export WAYLAND_DISPLAY=$REAL_GNOME_DISPLAY
sleep 2
# The portals GNOME Shell started early never saw its display: started again
# here, with it.
dbus-update-activation-environment WAYLAND_DISPLAY XDG_CURRENT_DESKTOP XDG_SESSION_TYPE
pid_of() {
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.GetConnectionUnixProcessID "$1" 2>/dev/null | sed 's/.*uint32 \([0-9]*\).*/\1/'
}
for name in org.freedesktop.portal.Desktop org.freedesktop.impl.portal.desktop.gnome; do
  pid=$(pid_of $name) && [[ -n $pid ]] && kill "$pid" || true
done
sleep 0.5
/usr/libexec/xdg-desktop-portal-gnome >xdpg.log 2>&1 &
pids+=($!)
sleep 1
/usr/libexec/xdg-desktop-portal -r >xdp.log 2>&1 &
pids+=($!)
version() {
  dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop \
    /org/freedesktop/portal/desktop org.freedesktop.DBus.Properties.Get \
    string:org.freedesktop.portal.Screenshot string:version | grep -q uint32
}
poll 20 version || fail "the portal offers no Screenshot"
supported() { # supported SCALE: the scale Mutter offers for the monitor nearest SCALE
  python3 - "$1" <<'PY'
import sys
from gi.repository import Gio
state = Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
    "org.gnome.Mutter.DisplayConfig", "/org/gnome/Mutter/DisplayConfig",
    "org.gnome.Mutter.DisplayConfig", "GetCurrentState", None, None, 0, 5000, None).unpack()
mode = next(m for m in state[1][0][1] if m[0] == "2560x1440@60.000")
print(repr(min(mode[5], key=lambda s: abs(s - float(sys.argv[1])))))
PY
}
display() { # display SCALE: the virtual monitor at Mutter's scale nearest SCALE
  local exact
  exact=$(supported "$1") || return 1
  gdbus call --session --dest org.gnome.Mutter.DisplayConfig --object-path /org/gnome/Mutter/DisplayConfig \
    --method org.gnome.Mutter.DisplayConfig.ApplyMonitorsConfig "$(serial)" 1 \
    "[(0, 0, $exact, 0, true, [('Meta-0', '2560x1440@60.000', {})])]" '{}' >/dev/null &&
    echo "$exact"
}
serial() {
  gdbus call --session --dest org.gnome.Mutter.DisplayConfig --object-path /org/gnome/Mutter/DisplayConfig \
    --method org.gnome.Mutter.DisplayConfig.GetCurrentState | sed 's/^(uint32 \([0-9]*\),.*/\1/'
}

# Mutter's screen casts need PipeWire. Its realtime module waits 10 s for
# RTKit, which the private system bus lacks, at the first stream, and GNOME
# answers no screenshot meanwhile: left out.
mkdir -p .config/pipewire
awk '/name = libpipewire-module-rt/ {skip = 1} skip && /^    }/ {skip = 0; next} !skip' \
  /usr/share/pipewire/pipewire.conf >.config/pipewire/pipewire.conf
pipewire >pipewire.log 2>&1 &
pids+=($!)
pointer() { # a pointer and keyboard of Mutter's remote desktop, there before the picker
  coproc CLICK { exec python3 ./mutter_click.py Meta-0 2>>click.log; }
  pids+=($CLICK_PID)
  read -r -t 15 -u "${CLICK[0]}" said && [[ $said == ready ]] || fail "no remote desktop: $(cat click.log)"
}
input() { # input LINE: a click at "X Y" in the monitor's pixels, or "key CODE"
  echo "$1" >&"${CLICK[1]}"
  read -r -t 10 -u "${CLICK[0]}" said && [[ $said == done ]] || fail "Mutter did not take '$1': $(cat click.log)"
}
click() { # click X Y, then the session ends
  input "$1 $2"
  release
}
release() { # the remote desktop's session ends
  local to=${CLICK[1]}
  exec {to}>&-
  wait "$CLICK_PID" || fail "the remote desktop did not end: $(cat click.log)"
}

# Not yet allowed: GNOME asks, and the command says it waits.
status=0
QT_QPA_PLATFORM=wayland timeout 5 ./tintavo --contrast white --region 10,10,20,20 2>wait.log || status=$?
((status == 124)) && grep -q '^等待桌面允许截图' wait.log ||
  fail "no word of the wait for GNOME's question (status $status): $(cat wait.log)"
echo "ok: a screenshot GNOME asks about is said to wait"
# GNOME's question outlives the command: a modal dialog, dimming the screen and
# holding pointer and keys, until it is answered; Escape answers no, which the
# portal stores.
pointer
input "key 1"
release
denied() {
  gdbus call --session --dest org.freedesktop.impl.portal.PermissionStore \
    --object-path /org/freedesktop/impl/portal/PermissionStore \
    --method org.freedesktop.impl.portal.PermissionStore.Lookup screenshot screenshot | grep -q "'no'"
}
poll 10 denied || fail "GNOME's question was not answered"
# Allowed as GNOME's dialog stores it: for every unsandboxed program.
gdbus call --session --dest org.freedesktop.impl.portal.PermissionStore \
  --object-path /org/freedesktop/impl/portal/PermissionStore \
  --method org.freedesktop.impl.portal.PermissionStore.SetPermission screenshot true screenshot '' "['yes']" >/dev/null
line=$(QT_QPA_PLATFORM=wayland timeout 20 ./tintavo --contrast white --region 10,10,20,20 2>region.log) ||
  fail "--region on GNOME: $(cat region.log)"
[[ $line == 区域\ 20×20* ]] || fail "--region on GNOME printed '$line'"
echo "ok: --contrast --region reads GNOME's frame"
poll 60 env QT_QPA_PLATFORM=wayland timeout 20 ./tintavo --pick --at 1,1 || fail "GNOME takes no screenshot"
for scale in "${scales[@]}"; do
  exact=$(display $scale) || fail "GNOME did not take scale $scale"
  sleep 1
  REAL_DESKTOP=gnome REAL_PORTAL_SCALE=$exact QT_QPA_PLATFORM=wayland ./picker_test \
    picksOnARealPortalsFrame >picker.log 2>&1 || { cat picker.log; fail "at scale $exact$scaling, a pick on GNOME's frame is not the pixel under the point"; }
  echo "ok: at scale $exact$scaling, picks on GNOME's frame are the pixels under the point"
done

[[ $REAL_GNOME_INJECTED == 1 ]] || exit 0
mkdir capture && cp tintavo capture/
published() {
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner io.github.tintavo.Tintavo | grep -q true
}
pattern() { printf '#%02X%02X%02X' $(($1 % 256)) $(($2 % 256)) $(($1 / 256 * 16 + $2 / 256)); }
bgr() { echo $(((0x$1 & 0xff) << 16 | (0x$1 & 0xff00) | (0x$1 >> 16))); }
for scale in "${scales[@]}"; do
  exact=$(display $scale) || fail "GNOME did not take scale $scale"
  sleep 2
  # Odd pixels of the monitor: at scale 2, halves of GNOME's logical pixels.
  twice=$(awk "BEGIN { print 2 * $scale }")
  x=$((301 + 50 * twice)) y=$((1001 + 30 * twice))
  truth=$(QT_QPA_PLATFORM=wayland timeout 20 ./tintavo --pick --at $x,$y 2>at.log) || fail "--pick --at: $(cat at.log)"
  [[ $truth == $(pattern $x $y) ]] || fail "at scale $exact$scaling, GNOME shows $truth at $x,$y, not the picture's $(pattern $x $y)"
  pointer
  QT_QPA_PLATFORM=wayland timeout 30 ./tintavo --pick >picked.txt 2>pick.log &
  picking=$!
  sleep 4
  click $x $y
  wait $picking || fail "at scale $exact$scaling, --pick ended with $?: $(cat pick.log)"
  [[ $(cat picked.txt) == "$truth" ]] ||
    fail "at scale $exact$scaling, a click through Mutter picked $(cat picked.txt), the pixel under it is $truth"
  echo "ok: at scale $exact$scaling, a click injected through Mutter picks the pixel under it ($truth)"

  rm -f capture/Tintavo.ini
  (cd capture && QT_QPA_PLATFORM=wayland exec ./tintavo >app.log 2>&1) &
  app=$!
  pids+=($app)
  poll 20 published || fail "the running copy did not take its name on the bus"
  sleep 2
  truth=$(QT_QPA_PLATFORM=wayland timeout 20 ./tintavo --pick --at $x,$y 2>at.log) || fail "--pick --at: $(cat at.log)"
  pointer
  (cd capture && QT_QPA_PLATFORM=wayland timeout 20 ./tintavo --capture) >said.log 2>&1 ||
    fail "--capture ended with $?: $(cat said.log)"
  sleep 4
  click $x $y
  sleep 1
  kill -TERM $app
  wait $app || fail "the running copy ended with $?: $(cat capture/app.log)"
  grep -q "^Color0=$(bgr "${truth#\#}")"$'\r$' capture/Tintavo.ini ||
    fail "at scale $exact$scaling, --capture did not store $truth into slot 0: $(grep ^Color capture/Tintavo.ini | head -3)"
  echo "ok: at scale $exact$scaling, tintavo --capture picks on a fresh frame, a click through Mutter stores $truth into the next slot"
done
