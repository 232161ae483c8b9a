#!/usr/bin/env bash
# The real program on the test X server: Alt+M opens the picker, whose swatch
# shows the desktop's colour under the real pointer; Alt+Shift+S stores it into
# the next slot, with or without NumLock and CapsLock on, and Tintavo.ini holds
# the colours once the program has ended (closed with the picker open, too).
# Once the picker has closed the key stores nothing and another client can take it.
# Escape closes the picker; back in the main window, a corner marks the swatch
# the next capture goes to, and Ctrl+Z takes the last capture back, on the
# screen and in Tintavo.ini.
# Usage: picker_hotkey.sh TINTAVO X_PROBE. Exit 77: no X server or tools.
source "$(dirname "$0")/../lib.sh"
tintavo=$1 probe=$2
need_x wmctrl xsetroot xset xwininfo import
holder_pid=
at_exit() {
  [[ -z $holder_pid ]] || kill "$holder_pid"
  lock Num off; lock Caps off; xsetroot -def
}
# lock Num|Caps on|off: sets a lock key, as the keyboard's lights show it.
lock() {
  xset q | grep -q "$1 Lock: *$2" || xdotool key "$1_Lock"
  poll 5 eval "xset q | grep -q '$1 Lock: *$2'"
}
shows() { [[ $(pixel $1) == "$2" ]]; }
window_size() { xwininfo -id "$main_wid" | awk '/Width:|Height:/ {printf "%s ", $NF}'; }
px() { echo $(($1 / 15)); } # client pixels at the design size: 15 twips to one
# in_window X Y: the main window's colour at client pixel (X, Y), as RRGGBB.
in_window() {
  import -window "$main_wid" -crop "1x1+$1+$2" -depth 8 txt:- | grep -om1 '#[0-9A-F]\{6\}' | tr -d '#'
}
# swatch_is I COLOUR [CORNER]: swatch I shows COLOUR in its middle and, with
# CORNER, the capture mark's black corner and white diagonal at its top left.
swatch_is() {
  local left=$(px $((105 + 120 + $1 * 240))) top=$(px $((6150 + 195)))
  [[ $(in_window $((left + 8)) $((top + 8))) == "$2" ]] &&
    { [[ -z ${3:-} ]] || [[ "$(in_window $((left + 3)) $((top + 3))) $(in_window $((left + 3)) $((top + 8)))" == "000000 FFFFFF" ]]; }
}

# run LOCKS CLOSE COLOUR...: with the lock keys LOCKS on, stores the colours,
# then closes the picker and the main window (CLOSE=picker) or only the latter.
run() {
  step="$1 $2"
  local k c px py pw ph x y expected="[COLOR]" n=0
  for k in Num Caps; do
    lock $k "$([[ $1 == *$k* ]] && echo on || echo off)" || fail "$k Lock does not change"
  done
  start_program
  design_size=$(window_size)
  # A resting pointer is not sampled; from (0, 0), where the picker takes it
  # to be at first, its first real movement is.
  xdotool mousemove 0 0 windowactivate --sync "$main_wid" key alt+m
  picker_wid=$(timeout 10 xdotool search --sync --onlyvisible --all --pid "$app_pid" --name '^鼠标取色$' |
    head -1) || fail "Alt+M opened no picker window"
  read -r px py pw ph <<<"$(xwininfo -id "$picker_wid" |
    awk '/Absolute upper-left|Width:|Height:/ {printf "%s ", $NF}')"
  swatch="$((px + 112 + 60)) $((py + 2 + 49))" # its middle: 1800 x 1485 twips at (1680, 30)
  read -r x y <<<"$(xdotool getdisplaygeometry)" # desktop points across the screen from the picker
  x=$((px + pw / 2 < x / 2 ? x - 300 : 300)) y=$((py + ph / 2 < y / 2 ? y - 200 : 200))
  for c in "${@:3}"; do # paint the desktop, point at it, and once the swatch shows it, store it
    xsetroot -solid "#$c"
    ((x -= 40, y -= 40))
    poll 5 shows "$x $y" "$c" || fail "the desktop does not show $c at $x,$y"
    xdotool mousemove "$x" "$y"
    poll 5 shows "$swatch" "$c" || fail "the picker's swatch shows $(pixel $swatch), not $c"
    xdotool key alt+shift+s
    sleep 0.3 # the settings file, read at the end, tells that it was stored
    expected+=$'\n'"Color$((n++))=$((0x${c:4:2} * 65536 + 0x${c:2:2} * 256 + 0x${c:0:2}))"
  done
  if [[ $2 == picker ]]; then
    wmctrl -i -c "$picker_wid"
    poll 10 viewable "$main_wid" || fail "the main window did not come back after the picker"
    xdotool key alt+shift+s
    sleep 0.3
    "$probe" >"$work/holder" 2>&1 & # another client takes the key and gets a press
    holder_pid=$!
    poll 5 grep -qx held "$work/holder" || fail "another client cannot take Alt+Shift+S"
    xdotool key alt+shift+s
    poll 5 grep -qx press "$work/holder" || fail "the client holding Alt+Shift+S got no press"
    kill "$holder_pid" && holder_pid=
  fi
  if [[ $2 == undo ]]; then
    xdotool windowactivate --sync "$picker_wid" key Escape
    poll 10 viewable "$main_wid" || fail "the main window did not come back after the picker"
    # It comes back maximised; made smaller before that, it would be maximised after.
    poll 5 eval 'xprop -id "$main_wid" _NET_WM_STATE | grep -q MAXIMIZED_VERT' ||
      fail "the main window did not come back maximised"
    # The toolkit may state the maximised state again as the window maps, at
    # any moment of the first second: each look at a swatch makes sure first.
    # The state can also go while the window keeps the maximised size.
    restored_swatch_is() {
      if xprop -id "$main_wid" _NET_WM_STATE | grep -q MAXIMIZED_VERT; then
        wmctrl -i -r "$main_wid" -b remove,maximized_vert,maximized_horz
        sleep 0.3
      elif [[ $(window_size) != "$design_size" ]]; then
        xdotool windowsize "$main_wid" $design_size
        sleep 0.3
      fi
      swatch_is "$@"
    }
    xdotool windowactivate --sync "$main_wid" >/dev/null 2>&1 || true
    last=${*: -1}
    poll 5 restored_swatch_is $((n - 1)) "$last" || fail "swatch $((n - 1)) does not show $last"
    poll 5 restored_swatch_is $n FFFFFF corner || fail "no capture mark on swatch $n"
    xdotool key shift+Tab ctrl+z # from the preview's text to the colour box, then undo
    poll 5 swatch_is $((n - 1)) FFFFFF || fail "Ctrl+Z left swatch $((n - 1)) $last"
    expected=${expected%$'\n'*}
  fi
  close_program
  ini_is "$expected"$'\n'"[AppSet]"$'\n'"StartPoint=$n"
  echo "ok: $step: ${*:3} stored"
}

run none picker 123456 A0B0C0
run NumCaps picker 2A7F3C C81E64
run none main 5A783C
run none undo 3C5A78 785A3C
