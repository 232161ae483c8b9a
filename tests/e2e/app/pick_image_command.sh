#!/usr/bin/env bash
# tintavo --pick --image FILE on a private X server (openbox): the picture is
# shown as a frame, centred on the monitor where it is smaller and from its
# top-left corner where it is larger, one picture pixel on one device pixel;
# a click, or an arrow step and Return, prints the picture pixel under the
# crosshair and ends with 0, Escape prints nothing and ends with 1.
# Usage: pick_image_command.sh TINTAVO. Exit 77: no Xvfb or tools.
source "$(dirname "$0")/../lib.sh"
tintavo=$1
command -v Xvfb >/dev/null && command -v openbox >/dev/null && command -v xdotool >/dev/null &&
  command -v convert >/dev/null || { echo "no Xvfb/openbox/xdotool/convert: skipped"; exit 77; }
source "$e2e_dir/../../scripts/xvfb.sh"
at_exit() { kill ${openbox_pid:-} ${xvfb_pid:-} 2>/dev/null; }
start_private_xvfb $((180 + RANDOM % 10)) 1280x1024x24 || fail "no X server"
start_openbox "$work" || fail "no window manager"

# picture W H: a PNG in which the pixel at (x, y) is (x mod 256, y mod 256,
# 16 * (x / 256) + y / 256): every pixel its own colour.
picture() {
  python3 -c "
import sys
w, h = $1, $2
rows = bytearray()
for y in range(h):
    for x in range(w):
        rows += bytes([x % 256, y % 256, 16 * (x // 256) + y // 256])
sys.stdout.buffer.write(b'P6 %d %d 255\n' % (w, h) + rows)" | convert ppm:- "$work/$1x$2.png"
}
color() { printf '#%02X%02X%02X\n' $(($1 % 256)) $(($2 % 256)) $((16 * ($1 / 256) + $2 / 256)); }

# pick FILE X Y ACTION... STATUS OUTPUT: moves to screen (X, Y) once the frame
# shows, does the xdotool ACTION, expects STATUS and exactly OUTPUT.
pick() {
  local file=$1 x=$2 y=$3 want_status=${*: -2:1} want=${*: -1}
  local actions=("${@:4:$#-5}")
  step="--pick --image $file, at $x,$y: ${actions[*]}"
  (cd "$work" && exec env QT_QPA_PLATFORM=xcb timeout 20 "$tintavo" --pick --image "$file" \
    >"$work/out" 2>"$work/err") &
  app_pid=$!
  timeout 10 xdotool search --sync --onlyvisible --classname '^tintavo$' >/dev/null ||
    fail "no frame: $(cat "$work/err")"
  sleep 0.3
  xdotool mousemove "$x" "$y"
  sleep 0.3
  xdotool "${actions[@]}"
  ended_with "$want_status" "$want"
  echo "ok: $step"
}

picture 200 100
picture 1600 1200
# 200 x 100 lies from (540, 462) on the 1280 x 1024 monitor.
pick 200x100.png 545 467 click 1 0 "$(color 5 5)"
pick 200x100.png 739 561 click 1 0 "$(color 199 99)"
pick 200x100.png 600 500 key Right key Return 0 "$(color 61 38)"
pick 200x100.png 600 500 key Escape 1 ''
# Larger than the monitor: its top-left corner at the monitor's.
pick 1600x1200.png 0 0 click 1 0 "$(color 0 0)"
pick 1600x1200.png 1000 900 key Down key Return 0 "$(color 1000 901)"
