#!/usr/bin/env bash
# Drives the real program on the test X server and reads its preview off the
# server's screen image: the background and text colours must follow typing
# into a channel box, dragging a slider and "设为背景色" from a swatch.
#
# Usage: preview_on_x11.sh TINTAVO. Exit 77: no X server or tools to run on.
set -euo pipefail

tintavo=$1
[[ -n "${DISPLAY:-}" ]] || { echo "no DISPLAY: skipped"; exit 77; }
for tool in xdotool wmctrl xwininfo import; do
  command -v "$tool" >/dev/null || { echo "$tool missing: skipped"; exit 77; }
done

work=$(mktemp -d)
app_pid=
step=start
cleanup() {
  [[ -n "$app_pid" ]] && kill "$app_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL [$step]: $*" >&2
  [[ -z "${E2E_SHOT:-}" ]] || import -window root "$E2E_SHOT" || true
  exit 1
}

# Client pixels at the design size: 15 twips to a pixel.
px() { echo $(($1 / 15)); }

# The colours of the preview's upper part (clear of the code line over its
# lower edge), most frequent first, as "count RRGGBB red green blue" lines.
preview_colours() {
  import -window "$main_wid" -crop 690x140+$(px 300)+$(px 400) +repage -depth 8 -format %c histogram:info:- |
    sed -E 's/^ *([0-9]+): *\( *([0-9]+), *([0-9]+), *([0-9]+)\) *#([0-9A-F]{6}).*/\1 \5 \2 \3 \4/' |
    sort -rn
}

# shows BACKGROUND TEXT: waits until the preview shows TEXT (give or take 8
# per channel) on BACKGROUND.
shows() {
  local deadline=$((SECONDS + 5)) colours
  while :; do
    colours=$(preview_colours)
    if [[ $(head -1 <<<"$colours" | cut -d' ' -f2) == "$1" ]] &&
      awk -v r=$((16#${2:0:2})) -v g=$((16#${2:2:2})) -v b=$((16#${2:4:2})) '
        function near(a, b) { return a - b <= 8 && b - a <= 8 }
        near($3, r) && near($4, g) && near($5, b) { found = 1 } END { exit !found }' <<<"$colours"; then
      return 0
    fi
    ((SECONDS < deadline)) || fail "the preview shows $(head -3 <<<"$colours" | cut -d' ' -f2 | tr '\n' ' ')not $2 on $1"
    sleep 0.1
  done
}

# click X Y: a left click at client twips (X, Y) of the main window.
click() {
  xdotool mousemove --window "$main_wid" "$(px "$1")" "$(px "$2")" click 1
}

type_over() { # BOX_LEFT BOX_TOP TEXT
  click $(($1 + 100)) $(($2 + 100))
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 50 "$3"
}

mkdir -p "$work/run"
cp "$tintavo" "$work/run/tintavo"
(cd "$work/run" && exec env QT_QPA_PLATFORM=xcb ./tintavo >"$work/run/log" 2>&1) &
app_pid=$!
main_wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" --name 'Vantolux' | head -1) ||
  fail "the main window did not appear"
# On screen whole, clear of any other window, so its pixels are its own.
xdotool windowmove --sync "$main_wid" 0 0 >/dev/null 2>&1 || true
xdotool windowactivate --sync "$main_wid" >/dev/null 2>&1 || true
shows CD890F 000000
echo "ok: black on CD890F at start"

# Frames at the design size: fg_frame at (105, 4245), bg_frame at (105, 5190),
# Frame3 at (105, 6150) twips; the boxes and sliders lie inside them.
step=bg_red_dec
type_over $((105 + 960)) $((5190 + 225)) 0
shows 00890F 000000
step=fg_red_dec
type_over $((105 + 960)) $((4245 + 240)) 200
shows 00890F C80000
echo "ok: typing into bg_red_dec and fg_red_dec"

# bg_green_slide: 2055 twips wide at (2280, 495); its knob sits at 137/255 of
# the groove. Dragged past the left end, it reads 0.
step=bg_green_slide
knob_x=$((105 + 2280 + 120 + (2055 - 240) * 137 / 255))
slider_y=$((5190 + 495 + 150))
xdotool mousemove --window "$main_wid" "$(px $knob_x)" "$(px $slider_y)" mousedown 1
for x in 200 150 100 50 0; do
  xdotool mousemove --window "$main_wid" "$x" "$(px $slider_y)"
  sleep 0.05
done
xdotool mouseup 1
shows 00000F C80000
echo "ok: dragging bg_green_slide"

# Swatch 5 is white on a first start; its menu's first item is "设为背景色".
step=setBg
xdotool mousemove --window "$main_wid" "$(px $((105 + 120 + 5 * 240 + 120)))" "$(px $((6150 + 195 + 120)))" click 3
sleep 0.5
xdotool key Down Return
shows FFFFFF C80000
echo "ok: 设为背景色 from a white swatch"
