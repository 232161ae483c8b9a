#!/usr/bin/env bash
# What the command line settles before any window opens: an unknown option,
# a colour that cannot be read and a display that is missing, does not fit the
# platform or cannot be reached each end with status 2 and one line on
# standard error saying which; --contrast and --name answer without a display.
# Usage: command_line.sh TINTAVO [PLATFORM]. Needs no X server. A build for
# another PLATFORM than linux probes no display (its toolkit judges) and
# cannot pick.
source "$(dirname "$0")/../lib.sh"
cp "$1" "$work/tintavo" # a start that went wrong must not leave settings in the build tree

# expect STATUS PATTERN [VAR=VALUE...] -- [ARG...]: started with only these
# display variables, the program ends with STATUS and one line matching PATTERN.
expect() {
  local status=$1 pattern=$2 vars=() got=0
  shift 2
  while [[ $1 != -- ]]; do vars+=("$1") && shift; done
  shift
  step="${vars[*]} tintavo $*"
  env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE \
    XDG_RUNTIME_DIR="$work" "${vars[@]}" timeout 20 "$work/tintavo" "$@" >/dev/null 2>"$work/err" ||
    got=$?
  ((got == status)) && [[ $(wc -l <"$work/err") == 1 ]] && grep -q -- "$pattern" "$work/err" ||
    fail "status $got, said: $(cat "$work/err")"
  echo "ok: $step"
}

expect 2 '不认识选项 --colour.*tintavo --help' QT_QPA_PLATFORM=offscreen -- --colour
expect 2 '不认识选项 -x.*tintavo --help' QT_QPA_PLATFORM=offscreen -- -style Fusion -x
if [[ ${2:-linux} != linux ]]; then
  expect 2 'Tintavo 无法取色.*cannot pick' QT_QPA_PLATFORM=offscreen DISPLAY=:0 -- --pick
else
  expect 2 '需要图形显示.*neither DISPLAY nor WAYLAND_DISPLAY' --
  expect 2 '无法连接显示 :987.*cannot reach the display :987' DISPLAY=:987 --
  expect 2 '无法连接显示 :988' DISPLAY=:987 -- -display :988
  expect 2 '无法连接 Wayland 显示 wayland-987' QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=wayland-987 --
  expect 2 'xcb 平台需要 X 显示.*DISPLAY 未设置.*xcb platform needs an X display' \
    QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=wayland-0 --
  expect 2 'xcb 平台需要 X 显示' WAYLAND_DISPLAY=wayland-0 -- -stylesheet x.qss -platform xcb
  expect 2 'wayland 平台需要 Wayland 显示.*WAYLAND_DISPLAY 未设置' QT_QPA_PLATFORM=wayland DISPLAY=:0 --
fi

# says OUTPUT ARG...: without any display, prints OUTPUT alone and ends with 0.
says() {
  local want=$1 got=0
  shift
  step="tintavo $*"
  env -u DISPLAY -u WAYLAND_DISPLAY "$work/tintavo" "$@" >"$work/out" 2>"$work/err" || got=$?
  ((got == 0)) && [[ ! -s $work/err && $(cat "$work/out") == "$want" ]] ||
    fail "status $got, printed: $(cat "$work/out" "$work/err")"
  echo "ok: $step"
}
says '对比度 3.54:1  正文 AA✗ AAA✗  大字 AA✓ AAA✗  APCA Lc 63.1' --contrast '#888888' white
says '对比度 3.54:1  正文 AA✗ AAA✗  大字 AA✓ AAA✗  APCA Lc -68.5' --contrast 'RGB(255 255 255)' '#888'
says '对比度 21.00:1  正文 AA✓ AAA✓  大字 AA✓ AAA✓  APCA Lc 106.0' --contrast 'rgb(0, 0, 0)' '#FFF'
says 'rebeccapurple' --name '#663399'
says 'gray (又作 grey)' --name Grey
says 'steelblue (最接近，ΔE_OK 0.002)' --name 'rgb(70 130 181)'
expect 2 '不认识颜色 “nope”.*cannot read the colour "nope"' -- --name nope
expect 2 '不认识颜色 “#12345”' -- --contrast '#12345' white
expect 2 '不认识颜色 “rgb(300 0 0)”' -- --contrast black 'rgb(300 0 0)'
expect 2 'contrast 需要两种颜色' -- --contrast white
expect 2 '一次只能用一个' -- --name red --pick
for option in --pick --contrast --name; do
  step="--help lists $option"
  "$work/tintavo" --help | grep -q -- "$option" || fail "not listed"
done
