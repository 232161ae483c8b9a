#!/usr/bin/env bash
# The real program, each time on a fresh X server (openbox, a root picture in
# which every pixel has its own colour) at another scale, started and used as
# a user does: the pointer rests over the main window, Alt+M opens the picker
# and its loupe, the pointer jumps onto where the loupe stands, then to
# another point, then steps with Alt+Shift+arrows, then rests while the root
# picture is replaced; Alt+Shift+S after each must store the pixel under the
# pointer (or the mean of the square around it), as Tintavo.ini shows once the
# program has ended.
# Usage: scaled_fresh_start.sh TINTAVO X_PROBE. Exit 77: no Xvfb or tools.
source "$(dirname "$0")/../lib.sh"
tintavo=$1 probe=$2
command -v Xvfb >/dev/null && command -v openbox >/dev/null || { echo "no Xvfb/openbox: skipped"; exit 77; }
source "$e2e_dir/../../scripts/xvfb.sh"
at_exit() { kill ${openbox_pid:-} ${xvfb_pid:-} 2>/dev/null; }

# stored X Y SIZE: what the swatch must hold, as the settings file writes it.
stored() {
  local r g b
  read -r r g b <<<"$(pattern_mean "$@")"
  echo $((r + 256 * g + 65536 * b))
}

# run SCALE SIZE
run() {
  step="scale $1, sample size $2"
  start_private_xvfb $((300 + RANDOM % 100)) 1280x1024x24
  start_openbox "$work" || fail "no window manager"
  "$probe" pattern || fail "the root picture could not be painted"
  ini_start=$'[APPSET]\r\nSampleSize='$2
  QT_SCALE_FACTOR=$1 start_program
  xdotool mousemove 700 450 # over the main window
  sleep 0.5
  xdotool key alt+m
  sleep 1.5
  # (768, 512): a corner of the picture's 256-pixel blocks, where the 3 x 3
  # mean differs from the middle pixel, and where the loupe stands at every
  # scale, beside the pointer's first place.
  local point colors="" n=0 where
  for point in "768 512" "1001 601" "1003 602"; do
    if [[ $point == "1003 602" ]]; then # two steps right and one down from the last
      xdotool key alt+shift+Right key alt+shift+Right key alt+shift+Down
      sleep 0.3
      where=$(xdotool getmouselocation | grep -o 'x:[0-9]* y:[0-9]*')
      [[ $where == "x:1003 y:602" ]] || fail "the arrow keys left the pointer at $where"
    else
      xdotool mousemove $point
    fi
    sleep 0.8
    xdotool key alt+shift+s
    sleep 0.3
    colors+=$'\n'"Color$((n++))=$(stored $point $2)"
  done
  # A new picture under the resting pointer is what the next press stores.
  xsetroot -solid '#0012B1'
  sleep 0.3
  xdotool key alt+shift+s
  sleep 0.3
  colors+=$'\n'"Color$((n++))=$((0xB11200))"
  close_program
  ini_is "[APPSET]"$'\n'"SampleSize=$2"$'\n'"StartPoint=$n"$'\n'"[COLOR]$colors"
  kill "$openbox_pid" "$xvfb_pid" && wait "$openbox_pid" "$xvfb_pid" 2>/dev/null
  echo "ok: $step"
}

run 1 1
run 1.25 1
run 1.5 3
run 1.75 1
run 2 1
run 2 5
