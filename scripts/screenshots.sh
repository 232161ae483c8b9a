#!/usr/bin/env bash
# Makes the README's pictures of the picker and its loupe, and of a region's
# contrast on the frozen screen, on a private X server, over a made-up page
# with bands, thin rules and anti-aliased text.
# Usage: scripts/screenshots.sh [TINTAVO] (default: the build of scripts/run.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tintavo=${1:-}
if [[ -z "$tintavo" ]]; then
  "$root/scripts/deps.sh" test
  "$root/scripts/build.sh" "$root/build" -DTINTAVO_BUILD_TESTS=OFF
  tintavo=$root/build/src/app/tintavo
fi

source "$root/scripts/xvfb.sh"
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
start_private_xvfb $((400 + RANDOM % 100)) 900x560x24
pids+=("$xvfb_pid")
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

convert -size 900x560 gradient:'#fdf6e3-#eee3c4' \
  -fill '#1d4e89' -draw 'rectangle 0,0 900,70' \
  -fill '#f2a541' -draw 'rectangle 0,70 900,74' \
  -fill '#fdf6e3' -pointsize 30 -draw "text 30,48 'Hand-made page'" \
  -fill '#2a9d8f' -draw 'roundrectangle 470,120 860,300 12,12' \
  -fill '#e76f51' -draw 'circle 660,420 660,500' \
  -stroke '#264653' -strokewidth 1 -draw 'line 470,330 860,330' \
  -stroke none -fill '#264653' -pointsize 22 -draw "text 490,220 'Contrast matters'" \
  "$work/desktop.png"
# display returns 1 even when the background is set.
display -window root "$work/desktop.png" || true

cp "$tintavo" "$work/tintavo"
(cd "$work" && exec env QT_QPA_PLATFORM=xcb ./tintavo >/dev/null 2>&1) &
app=$!
pids+=("$app")
main=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$app" --name Vantolux | head -1)
xdotool windowactivate --sync "$main" key alt+m
picker=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$app" --name '鼠标取色' | head -1)
xdotool windowminimize --sync "$main"
xdotool windowmove --sync "$picker" 200 120
# On the anti-aliased edge of a letter.
xdotool mousemove 492 212
sleep 1
import -window root "$work/shot.png"
convert "$work/shot.png" -crop 600x360+180+60 +repage "$root/docs/picker.png"
echo "wrote docs/picker.png"

# The foreground (black) over the page's header, its rule and the page below,
# measured on the frozen screen.
xdotool key alt+shift+f
sleep 1
xdotool mousemove 20 30 mousedown 1 mousemove 200 60 mousemove 430 95 mouseup 1
sleep 1
import -window root "$work/region.png"
convert "$work/region.png" -crop 600x240+0+0 +repage "$root/docs/region.png"
echo "wrote docs/region.png"
