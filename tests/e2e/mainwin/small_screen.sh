#!/usr/bin/env bash
# The real program on a small screen, 1280 x 720 at scale 2 (640 x 360
# logical), with openbox: the main window, larger than that as designed, and
# every window its access keys open lie wholly on the screen.
# Usage: small_screen.sh TINTAVO. Exit 77: no Xvfb or tools.
source "$(dirname "$0")/../lib.sh"
tintavo=$1
command -v Xvfb >/dev/null && command -v openbox >/dev/null || { echo "no Xvfb/openbox: skipped"; exit 77; }
source "$e2e_dir/../../scripts/xvfb.sh"
at_exit() { kill ${openbox_pid:-} ${xvfb_pid:-} 2>/dev/null; }
start_private_xvfb $((300 + RANDOM % 100)) 1280x720x24
start_openbox "$work" || fail "no window manager"
on_screen() { # WID, as xwininfo sees it (xdotool misplaces a fixed-size window)
  local x y w h
  read -r x y w h <<<"$(xwininfo -id "$1" | awk '/Absolute upper-left [XY]|Width|Height/ {printf "%s ", $NF}')"
  ((x >= 0 && y >= 0 && x + w <= 1280 && y + h <= 720)) || fail "at $x,$y ${w}x$h"
}

QT_SCALE_FACTOR=2 start_program
on_screen "$main_wid"
for key in alt+t alt+a alt+m; do # settings, About, the picker
  step=$key
  xdotool windowactivate --sync "$main_wid" key "$key"
  poll 5 eval '[[ $(xdotool getactivewindow) != "$main_wid" ]]' && sleep 0.5 || fail "none opened"
  wid=$(xdotool getactivewindow)
  on_screen "$wid"
  wmctrl -i -c "$wid"
  poll 5 eval '! xwininfo -id "$wid"' && poll 5 viewable "$main_wid" && sleep 0.5 || fail "not closed"
done
close_program
