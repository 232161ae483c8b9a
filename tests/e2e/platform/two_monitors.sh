#!/usr/bin/env bash
# Runs the screen-reading checks on a private X server whose screen is split
# into two monitors side by side, at scale 1, at scale 2, and with the left
# monitor at 1 and the right one at 2: the positions, the loupe's cells and
# its outline must be native ones every way. Exit 77: cannot run here.
set -euo pipefail
command -v Xvfb >/dev/null && command -v xrandr >/dev/null || exit 77
source "$(dirname "$0")/../../../scripts/xvfb.sh"
trap 'kill ${xvfb_pid:-} 2>/dev/null || true; wait 2>/dev/null || true' EXIT
start_private_xvfb $((200 + RANDOM % 100)) 2560x1024x24
xrandr --setmonitor A 1280/338x1024/270+0+0 screen >/dev/null
xrandr --setmonitor B 1280/338x1024/270+1280+0 none >/dev/null
[[ $(xrandr --listmonitors | head -1) == "Monitors: 2" ]] || { echo "not split in two"; exit 1; }
for scales in "QT_SCALE_FACTOR=1" "QT_SCALE_FACTOR=2" "QT_SCREEN_SCALE_FACTORS=1;2"; do
  echo "== $scales"
  env "$scales" "$1" loupeShowsThePixelsItStandsFor colorManagedPicks freezingPicksFromTheFrame \
    changesUnderARestingPointerShow frameLeavesThePickerOut frozenFrameShowsRegionAndViews
done
