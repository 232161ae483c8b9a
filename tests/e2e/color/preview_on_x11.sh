#!/usr/bin/env bash
# Drives the real program on the test X server and reads its preview off the
# server's screen image: the background and text colours must follow typing
# into a channel box, dragging a slider and "设为背景色" from a swatch. The
# contrast plate stays legible on white text on white and follows the pair;
# the preview's menu moves the background to the nearest grey that passes AA
# and back; Ctrl+Shift+C and the code line's menu put exactly the pair's CSS
# on the clipboard; started with two colours, the window opens with that pair.
# Usage: preview_on_x11.sh TINTAVO. Exit 77: no X server or tools to run on.
source "$(dirname "$0")/../lib.sh"
tintavo=$1
need_x import wmctrl xclip

px() { echo $(($1 / 15)); } # client pixels at the design size: 15 twips to one

# preview_is BACKGROUND TEXT: the preview's upper part (clear of the code line
# over its lower edge) shows mostly BACKGROUND, and TEXT (give or take 8 a
# channel) on it. Its colours, commonest first, are left in $work/colours.
preview_is() {
  import -window "$main_wid" -crop "690x140+$(px 300)+$(px 400)" +repage -depth 8 -format %c \
    histogram:info:- | sed -E 's/^ *([0-9]+): *\( *([0-9]+), *([0-9]+), *([0-9]+)\) *#([0-9A-F]{6}).*/\1 \5 \2 \3 \4/' |
    sort -rn >"$work/colours"
  [[ $(head -1 "$work/colours" | cut -d' ' -f2) == "$1" ]] &&
    awk -v r=$((16#${2:0:2})) -v g=$((16#${2:2:2})) -v b=$((16#${2:4:2})) '
      function near(a, b) { return a - b <= 8 && b - a <= 8 }
      near($3, r) && near($4, g) && near($5, b) { found = 1 } END { exit !found }' "$work/colours"
}
shows() {
  poll 5 preview_is "$1" "$2" ||
    fail "the preview shows $(head -3 "$work/colours" | cut -d' ' -f2 | tr '\n' ' ')not $2 on $1"
  echo "ok: $step: $2 on $1"
}
click() { xdotool mousemove --window "$main_wid" "$(px "$1")" "$(px "$2")" click "${3:-1}"; }
type_over() { # BOX_LEFT BOX_TOP TEXT, in twips
  click $(($1 + 100)) $(($2 + 100))
  xdotool key --clearmodifiers ctrl+a type --delay 50 "$3"
}

# plate FILE: the contrast plate, left of the preview's scroll bar, as a picture.
plate() { import -window "$main_wid" -crop 300x22+430+16 +repage -depth 8 "$1"; }
# legible PICTURE: much of the plate's own ground (#FFFFE1) with dark text on it.
legible() {
  convert "$1" -format %c histogram:info:- | awk '/#FFFFE1/ { ground += $1 }
    / #[0-5].[0-5].[0-5]. / { dark += $1 } END { exit !(ground > 500 && dark > 30) }'
}
holds() { [[ $(xclip -o -selection clipboard 2>/dev/null) == "$1" ]]; }
clipboard_is() {
  poll 5 holds "$1" || fail "the clipboard holds '$(xclip -o -selection clipboard)', not '$1'"
  echo "ok: $step: '$1' on the clipboard"
}
# menu_key X Y KEY...: picks by keys from the menu of the control at client
# twips (X, Y); Up from nothing selected starts at the last item.
menu_key() { click "$1" "$2" 3 && sleep 0.5 && xdotool key "${@:3}"; }

start_program
# On screen whole, clear of any other window, so that its pixels are its own.
xdotool windowmove --sync "$main_wid" 0 0 windowactivate --sync "$main_wid" >/dev/null 2>&1 || true
step=start
shows CD890F 000000

# Frames at the design size: fg_frame at (105, 4245), bg_frame at (105, 5190),
# Frame3 at (105, 6150) twips; the boxes and sliders lie inside them.
step=bg_red_dec
type_over $((105 + 960)) $((5190 + 225)) 0
shows 00890F 000000
step=fg_red_dec
type_over $((105 + 960)) $((4245 + 240)) 200
shows 00890F C80000

# bg_green_slide: 2055 twips wide at (2280, 495); its knob sits at 137/255 of
# the groove. Dragged past the left end, it reads 0.
step=bg_green_slide
slider_y=$(px $((5190 + 495 + 150)))
xdotool mousemove --window "$main_wid" "$(px $((105 + 2280 + 120 + (2055 - 240) * 137 / 255)))" \
  "$slider_y" mousedown 1
for x in 200 150 100 50 0; do
  xdotool mousemove --window "$main_wid" "$x" "$slider_y" sleep 0.05
done
xdotool mouseup 1
shows 00000F C80000

# Swatch 5 is white on a first start; its menu's first item is "设为背景色".
step=setBg
click $((105 + 120 + 5 * 240 + 120)) $((6150 + 195 + 120)) 3
sleep 0.5
xdotool key Down Return
shows FFFFFF C80000
plate "$work/plate-red.png"

# Its second item is "设为前景色": white text on white.
step=setFg
menu_key $((105 + 120 + 5 * 240 + 120)) $((6150 + 195 + 120)) Down Down Return
shows FFFFFF FFFFFF
plate "$work/plate-white.png"
legible "$work/plate-white.png" || fail "the contrast plate is not legible on white on white"
[[ $(compare -metric AE "$work/plate-red.png" "$work/plate-white.png" null: 2>&1) != 0 ]] ||
  fail "the contrast plate did not change with the pair"
echo "ok: the contrast plate is legible on white on white and follows the pair"

# The preview's menu ends: 背景色调至 AA, 背景色调至 AAA, 撤销调整 (disabled
# until an adjustment), 显示对比度, 色觉模拟.
step=背景色调至AA
menu_key 2000 1500 Up Up Up Up Return
shows 767676 FFFFFF
step=ctrl+shift+c
xdotool key ctrl+shift+c
clipboard_is 'color: #FFFFFF; background-color: #767676;'
# The code line's menu ends: 复制前景色为 ▸, 复制背景色为 ▸, 复制 CSS 声明; the
# third format is CSS Color 4's rgb().
step=复制背景色为
menu_key 600 $((60 + 3690 + 150)) Up Up Right Down Down Return
clipboard_is 'rgb(118 118 118)'
step=撤销调整
menu_key 2000 1500 Up Up Up Return
shows FFFFFF FFFFFF
close_program

# tintavo FG BG opens the window with that pair.
step='tintavo FG BG'
mkdir -p "$work/run$((runs + 1))" && cp "$tintavo" "$work/run$((runs + 1))/tintavo"
start_program ./tintavo 'hsl(207 44% 49%)' white
xdotool windowmove --sync "$main_wid" 0 0 windowactivate --sync "$main_wid" >/dev/null 2>&1 || true
shows FFFFFF 4682B4
close_program
