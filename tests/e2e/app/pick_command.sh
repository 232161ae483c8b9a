#!/usr/bin/env bash
# tintavo --pick as a script uses it, on a private X server (openbox, a root
# picture in which every pixel has its own colour): a left click prints the
# pixel under the pointer (or the mean of the square the settings file asks
# for) and ends with 0; Escape and a right click print nothing and end with 1.
# No main window opens and the settings file is left as it was. As in a
# Wayland session it prints what the desktop portal (a stand-in on a private
# session bus) picks, and nothing when the pick is called off there.
# Usage: pick_command.sh TINTAVO X_PROBE PORTAL_STANDIN BUS_CONF.
# Exit 77: no Xvfb or tools.
source "$(dirname "$0")/../lib.sh"
tintavo=$1 probe=$2 standin=$3 conf=$4 pick_args=()
command -v Xvfb >/dev/null && command -v openbox >/dev/null && command -v xdotool >/dev/null ||
  { echo "no Xvfb/openbox/xdotool: skipped"; exit 77; }
source "$e2e_dir/../../scripts/xvfb.sh"
at_exit() { kill ${openbox_pid:-} ${xvfb_pid:-} ${other_pid:-} ${portal_pids:-} 2>/dev/null; }
start_private_xvfb $((800 + RANDOM % 100)) 1280x1024x24 || fail "no X server"
start_openbox "$work" || fail "no window manager"
"$probe" pattern || fail "the root picture could not be painted"
mkdir "$work/app" && cp "$tintavo" "$work/app/tintavo"

# expected X Y SIZE: the pattern's colour at (X, Y), or the mean of the SIZE x
# SIZE pixels around it, as #RRGGBB.
expected() { printf '#%02X%02X%02X\n' $(pattern_mean "$@"); }

# pick SETTINGS X Y ACTION... STATUS OUTPUT: with SETTINGS in the settings file,
# starts tintavo --pick, waits for its loupe, moves to (X, Y), does the xdotool
# ACTION and expects STATUS and exactly OUTPUT on standard output.
pick() {
  local settings=$1 x=$2 y=$3 want_status=${*: -2:1} want=${*: -1}
  local actions=("${@:4:$#-5}")
  step="--pick ${pick_args[*]} ${pick_env:-}, ${settings//$'\r\n'/ }, at $x,$y: ${actions[*]}"
  printf '%s\r\n' "$settings" >"$work/app/Tintavo.ini"
  cp "$work/app/Tintavo.ini" "$work/ini.before"
  xdotool mousemove 200 150
  (cd "$work/app" && exec env DISPLAY="${pick_display:-$DISPLAY}" QT_QPA_PLATFORM=xcb ${pick_env:-} timeout 20 \
    ./tintavo --pick "${pick_args[@]}" >"$work/out" 2>"$work/err") &
  app_pid=$!
  timeout 10 xdotool search --sync --onlyvisible --classname '^tintavo$' >/dev/null || fail "no loupe: $(cat "$work/err")"
  eval "${after_start:-}"
  [[ -z $(xdotool search --name 'Vantolux' 2>/dev/null) ]] || fail "the main window opened"
  xdotool mousemove "$x" "$y"
  sleep 0.3
  xdotool "${actions[@]}"
  ended_with "$want_status" "$want"
  cmp -s "$work/ini.before" "$work/app/Tintavo.ini" || fail "the settings file changed"
  [[ $(ls "$work/app") == $'Tintavo.ini\ntintavo' ]] || fail "files left beside it: $(ls "$work/app")"
  echo "ok: $step"
}

pick '[APPSET]' 517 301 click 1 0 "$(expected 517 301 1)"
pick '[APPSET]' 1001 700 key Return 0 "$(expected 1001 700 1)"
# A corner of the picture's 256-pixel blocks, where the mean differs from the middle.
pick $'[APPSET]\r\nSampleSize=3' 768 512 click 1 0 "$(expected 768 512 3)"
pick '[APPSET]' 517 301 key Escape 1 ''
pick '[APPSET]' 517 301 click 3 1 ''
# -display names the screen picked from, whatever DISPLAY says.
first=$DISPLAY first_pid=$xvfb_pid
start_private_xvfb $((900 + RANDOM % 50)) 640x480x24 || fail "no second X server"
other_pid=$xvfb_pid pick_display=$DISPLAY xvfb_pid=$first_pid pick_args=(-display "$first")
export DISPLAY=$first
pick '[APPSET]' 517 301 click 1 0 "$(expected 517 301 1)"
pick_display= pick_args=()

# --contrast FG --region: white over a rectangle of the pattern (figures worked
# out from the pattern's formula apart from Tintavo); off the screen or
# malformed, one line on standard error and status 2.
step="--contrast white --region"
region() { (cd "$work/app" && env ${2:-} QT_QPA_PLATFORM=xcb ./tintavo --contrast white --region "$1" 2>"$work/err"); }
[[ $(region 120,100,100,40) == "区域 100×40  最低 2.72:1  P5 3.02:1  正文 AA 达标 19%  大字 AA 达标 95%" ]] ||
  fail "printed '$(region 120,100,100,40)': $(cat "$work/err")"
for bad in 1200,1000,100,40 1,2,3 0,0,0,5 a,1,2,3; do
  status=0 && region $bad >/dev/null || status=$?
  ((status == 2)) && grep -q -- '--region\|超出了屏幕' "$work/err" || fail "$bad: status $status, $(cat "$work/err")"
done
# A Wayland session without a desktop that reads the screen: said so, status 2.
status=0 && region 0,0,1,1 WAYLAND_DISPLAY=wayland-tintavo-test >/dev/null || status=$?
((status == 2)) && grep -q '读不到屏幕' "$work/err" || fail "on Wayland: status $status, $(cat "$work/err")"
echo "ok: $step"

# --pick --at and --extract read the screen with no window: the pattern's
# pixel or square, its one colour in a one-pixel rectangle; off the screen,
# one line and status 2; the settings file as it was.
cp "$work/app/Tintavo.ini" "$work/ini.before"
screen() { (cd "$work/app" && QT_QPA_PLATFORM=xcb ./tintavo "$@" 2>"$work/err"); }
for args in "517,301 1" "768,512 3" "1001,700 5"; do
  read -r at size <<<"$args"
  step="--pick --at $at --size $size"
  [[ $(screen --pick --at "$at" --size "$size") == "$(expected ${at/,/ } "$size")" ]] ||
    fail "printed '$(screen --pick --at "$at" --size "$size")': $(cat "$work/err")"
done
step="--extract 1 --region 517,301,1,1"
[[ $(screen --extract 1 --region 517,301,1,1) == "$(expected 517 301 1 | tr A-F a-f)  100%" ]] ||
  fail "printed '$(screen --extract 1 --region 517,301,1,1)': $(cat "$work/err")"
step="--pick --at off the screen"
status=0 && screen --pick --at 1280,0 >/dev/null || status=$?
((status == 2)) && grep -q '点 1280,0 超出了屏幕（1280×1024 设备像素）' "$work/err" ||
  fail "status $status, $(cat "$work/err")"
cmp -s "$work/ini.before" "$work/app/Tintavo.ini" || fail "the settings file changed"
echo "ok: --pick --at and --extract on the screen"

# --freeze: the frame is read at once and picked from, whatever the screen
# shows meanwhile (a plain colour here); the arrow keys step on it, at scales
# 1 to 2 and with the screen split into two monitors.
after_start='sleep 0.5; xsetroot -solid "#204060"'
for pick_env in QT_SCALE_FACTOR=1 QT_SCALE_FACTOR=1.5 QT_SCALE_FACTOR=2 split; do
  if [[ $pick_env == split ]]; then
    xrandr --setmonitor A 640/169x1024/270+0+0 screen >/dev/null
    xrandr --setmonitor B 640/169x1024/270+640+0 none >/dev/null
    pick_env=QT_SCREEN_SCALE_FACTORS='1;2'
  fi
  pick_args=(--freeze)
  pick '[APPSET]' 700 301 click 1 0 "$(expected 700 301 1)"
  "$probe" pattern
  pick_args=(--freeze=0)
  pick $'[APPSET]\r\nSampleSize=3' 1001 700 key Right Right Down Return 0 "$(expected 1003 701 3)"
  "$probe" pattern
  pick '[APPSET]' 517 301 key Escape 1 ''
  "$probe" pattern
done
after_start= pick_env= pick_args=()

# portal_pick STATUS OUTPUT STANDIN_ARG...
portal_pick() {
  local status=0 want_status=$1 want=$2
  shift 2
  step="--pick through the portal, $*"
  rm -f "$work/bus"
  dbus-daemon --config-file="$conf" --nofork --print-address=1 >"$work/bus" &
  portal_pids=$!
  poll 10 test -s "$work/bus" || fail "the private bus did not start"
  local bus
  bus=$(head -1 "$work/bus")
  DBUS_SESSION_BUS_ADDRESS=$bus "$standin" "$@" </dev/null >"$work/portal.log" &
  portal_pids+=" $!"
  poll 10 grep -q '^ready$' "$work/portal.log" || fail "the stand-in portal did not start"
  (cd "$work/app" && exec env DBUS_SESSION_BUS_ADDRESS="$bus" \
    WAYLAND_DISPLAY=wayland-tintavo-test QT_QPA_PLATFORM=xcb timeout 20 ./tintavo --pick \
    >"$work/out" 2>"$work/err") || status=$?
  kill $portal_pids && { wait $portal_pids 2>/dev/null || true; }
  portal_pids=
  ((status == want_status)) || fail "status $status, not $want_status: $(cat "$work/err")"
  [[ $(cat "$work/out") == "$want" ]] || fail "printed '$(cat "$work/out")', not '$want'"
  echo "ok: $step"
}
portal_pick 0 '#3366CC' --color 0.2,0.4,0.8
portal_pick 1 '' --cancel
! grep -q 'gave no colour' "$work/err" || fail "a cancel was taken for something else"
# "Ended otherwise" may be a failure: said on standard error, nothing printed.
portal_pick 1 '' --ended
grep -q 'gave no colour' "$work/err" || fail "no word of what happened: $(cat "$work/err")"
# A screenshot the desktop keeps waiting, then refuses: both said, with how to
# allow it for good, before the desktop's own pick.
portal_pick 0 '#3366CC' --color 0.2,0.4,0.8 --shot-refuse
grep -q '^等待桌面允许截图' "$work/err" && grep -q '^桌面拒绝了截图.*flatpak permission-set screenshot screenshot "" yes' "$work/err" ||
  fail "the wait and the refusal were not said: $(cat "$work/err")"
