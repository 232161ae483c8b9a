#!/usr/bin/env bash
# What the command line settles before any window opens: an unknown option,
# a colour that cannot be read and a display that is missing, does not fit the
# platform or cannot be reached each end with status 2 and one line on
# standard error saying which; --contrast, --name, --ramp, --harmony and
# --format answer without a display and leave no settings file behind.
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
says $'rebeccapurple\ntailwind purple-800 (最接近，ΔE_OK 0.058)' --name '#663399'
says $'gray (又作 grey)\ntailwind olive-500 (最接近，ΔE_OK 0.037)' --name Grey
says $'steelblue (最接近，ΔE_OK 0.002)\ntailwind cyan-600 (最接近，ΔE_OK 0.058)' --name 'rgb(70 130 181)'
says $'dodgerblue (最接近，ΔE_OK 0.043)\ntailwind blue-500' --name '#2B7FFF'
says "$(printf -- '--brand-%s;\n' '50: #f4f8ff' '100: #e7efff' '200: #d1e0ff' '300: #b1cbff' \
  '400: #87adff' '500: #6494ff' '600: #3a72ff' '700: #1d4ed8' '800: #1f48b5' '900: #1d3e92' \
  '950: #0e2359')" --ramp '#1D4ED8' --prefix brand
says "$(printf '@theme {\n'; printf -- '  --color-%s;\n' '50: #f7f7f7' '100: #eeeeee' \
  '200: #e0e0e0' '300: #cacaca' '400: #afafaf' '500: #999999' '600: #808080' '700: #676767' \
  '800: #545454' '900: #464646' '950: #282828'; printf '}')" --as tailwind --ramp grey
says $'#3366cc\n#ba363d\n#1b8316' --harmony triadic '#36C'
says $'#3366cc\n#b03776\n#8c6500\n#007f66' --harmony TETRADIC 'rgb(51 102 204)'
says '$c: #4682b4; 4682B4 70,130,180 hsl(207 44% 49%) oklch(0.588 0.099 245.7) [steelblue] cyan-600' \
  --format '$c: #{hex}; {HEX} {r},{g},{b} hsl({h} {s}% {l}%) oklch({L} {C} {H}) [{name}] {tailwind}' \
  SteelBlue
says '[]' --format '[{name}]' '#123456'
says $'steelblue\ntailwind cyan-600 (最接近，ΔE_OK 0.058)' --name 'hsl(207 44% 49%)'
says $'steelblue\ntailwind cyan-600 (最接近，ΔE_OK 0.058)' --name 4682b4
says $'red\ntailwind red-500 (最接近，ΔE_OK 0.028)' --name 'oklch(62.8% 0.2577 29.23)'
says '对比度 21.00:1  正文 AA✓ AAA✓  大字 AA✓ AAA✓  APCA Lc 106.0' --contrast 'lab(0 0 0)' 'color(srgb 1 1 1)'
expect 2 '不认识颜色 “nope”.*cannot read the colour "nope"' -- --name nope
expect 2 '不认识颜色 “#12345”' -- --contrast '#12345' white
expect 2 '不认识颜色 “rgb(1, 2 3)”' -- --contrast black 'rgb(1, 2 3)'
# What reading had to give up is said, the answer printed all the same.
expect 0 '“#4682b480”：透明度已舍去' -- --name '#4682b480'
expect 0 '“oklch(0.7 0.4 150)”：这个颜色超出 sRGB 色域' -- --name 'oklch(0.7 0.4 150)'
# tintavo FG BG: a colour that cannot be read, or one colour alone, is said
# before any display is looked for.
expect 2 '不认识颜色 “nope”' -- '#4682b4' nope
expect 2 'tintavo 后面可以跟两种颜色' -- '#4682b4'
expect 2 'tintavo 后面可以跟两种颜色' -- red white blue
expect 2 'contrast 需要两种颜色' -- --contrast white
expect 2 '一次只能用一个' -- --name red --pick
expect 2 '一次只能用一个' -- --ramp red --harmony split blue
expect 2 '不认识颜色 “#12”' -- --ramp '#12'
expect 2 'ramp 需要一种颜色' -- --ramp red blue
expect 2 'prefix 的名称 “2x” 不能用' -- --ramp red --prefix 2x
expect 2 'as 只能是 css、tailwind 或 gpl，而不是 “scss”' -- --ramp red --as scss
expect 2 'prefix 和 --as 只与 --ramp 一起用' -- --harmony split red --as css
expect 2 '配色 “square” 不存在' -- --harmony square red
expect 2 'harmony 需要配色的种类和一种颜色' -- --harmony split
expect 2 '不认识的占位符 {rgb} {Hex}' -- --format '{rgb} {Hex} {hex}' red
expect 2 'format 需要一个模板和一种颜色' -- --format '{hex}'
# A picture's pixels, its main colours and the contrast over it, read from
# the file without a display: a 40 × 30 PNG, its left quarter red, as image
# tools export it (gAMA and cHRM, no profile: the values are the page's).
convert -size 40x30 xc:'#336699' -fill '#ff0000' -draw 'rectangle 0,0 9,29' "$work/mock.png"
printf 'not a picture\n' >"$work/notes.png"
mkfifo "$work/pipe.png"
says '#FF0000' --pick --at 0,0 --image "$work/mock.png"
says '#BB2233' --pick --at 9,5 --size 3 --image "$work/mock.png" # 6 red pixels and 3 blue
says $'#336699  75%\n#ff0000  25%' --extract 8 --image "$work/mock.png"
says '#336699  100%' --extract 2 --region 10,0,30,30 --image "$work/mock.png"
says '区域 40×30  最低 3.99:1  P5 3.99:1  正文 AA 达标 75%  大字 AA 达标 100%' \
  --contrast white --region 0,0,40,30 --image "$work/mock.png"
expect 2 '点 40,0 超出了图片（40×30 像素）' -- --pick --at 40,0 --image "$work/mock.png"
expect 2 '矩形 0,0,41,30 超出了图片' -- --extract 3 --region 0,0,41,30 --image "$work/mock.png"
expect 2 '“nowhere.png”：文件不存在' -- --pick --at 0,0 --image "$work/nowhere.png"
expect 2 '“notes.png”：不是图片' -- --extract 3 --image "$work/notes.png"
expect 2 '“pipe.png”：不是普通文件' -- --extract 3 --image "$work/pipe.png"
convert -size 100x100 gradient:red-blue -strip "$work/whole.png"
head -c $(($(stat -c %s "$work/whole.png") / 2)) "$work/whole.png" >"$work/cut.png"
expect 2 '“cut.png”：图片已损坏或不完整' -- --pick --at 0,0 --image "$work/cut.png"
expect 2 'size 只能是 1、3 或 5' -- --pick --at 0,0 --size 2 --image "$work/mock.png"
expect 2 'image FILE 要与' -- --image "$work/mock.png"
expect 2 'extract N 的 N 是 1 到 32' -- --extract 0 --image "$work/mock.png"
[[ ! -e $work/Tintavo.ini ]] || fail "a question wrote the settings file"
# The help is Chinese, the toolkit's own lines too, and fits 79 columns of a
# terminal (a Chinese character takes two), broken at spaces or between
# Chinese characters, never inside a word.
step="--help in Chinese, wrapped whole"
help=$("$work/tintavo" --help)
[[ $help == 用法：*'[选项] [FG BG]'* ]] && ! grep -qE 'Usage|Options|Arguments|Displays' <<<"$help" ||
  fail "$help"
(($(LC_ALL=C.UTF-8 wc -L <<<"$help") <= 79)) || fail "wider than 79 columns: $help"
for word in 'oklab()、oklch()' 'color(display-p3' 'complementary、analogous' 'Tailwind'; do
  grep -qF -- "$word" <<<"$help" || fail "“$word” broken: $help"
done
for option in --pick --at --size --image --extract --capture --contrast --name --ramp --harmony --format; do
  step="--help lists $option"
  grep -q -- "$option" <<<"$help" || fail "not listed"
done
