#!/usr/bin/env bash
# The real program on the test X server: Alt+M opens the picker, whose swatch
# shows the colour painted on the desktop under the real pointer; Alt+Shift+S
# stores it into the next slot, and Tintavo.ini beside the program holds the
# colours once the program has ended, with or without NumLock and CapsLock on,
# and when the main window is closed with the picker still open. Once the
# picker has closed the key stores nothing, and another client can take it.
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
stored() { echo $((0x${1:4:2} * 65536 + 0x${1:2:2} * 256 + 0x${1:0:2})); }

open_picker() {
  # A resting pointer is not sampled; from (0, 0), where the picker takes it
  # to be at first, its first real movement is.
  xdotool mousemove 0 0 windowactivate --sync "$main_wid" key alt+m
  picker_wid=$(timeout 10 xdotool search --sync --onlyvisible --all --pid "$app_pid" --name '^鼠标取色$' |
    head -1) || fail "Alt+M opened no picker window"
  local px py pw ph
  read -r px py pw ph <<<"$(xwininfo -id "$picker_wid" |
    awk '/Absolute upper-left|Width:|Height:/ {printf "%s ", $NF}')"
  # The middle of the swatch, at (1680, 30) twips, 1800 x 1485 in size.
  swatch="$((px + 112 + 60)) $((py + 2 + 49))"
  # Desktop points across the screen from the picker.
  read -r x y <<<"$(xdotool getdisplaygeometry)"
  x=$((px + pw / 2 < x / 2 ? x - 300 : 300)) y=$((py + ph / 2 < y / 2 ? y - 200 : 200))
}

# capture RRGGBB: paints the desktop, moves the pointer onto it and, once the
# picker's swatch shows the colour, presses the hot key.
capture() {
  xsetroot -solid "#$1"
  ((x -= 40, y -= 40))
  poll 5 shows "$x $y" "$1" || fail "the desktop does not show $1 at $x,$y"
  xdotool mousemove "$x" "$y"
  poll 5 shows "$swatch" "$1" || fail "the picker's swatch shows $(pixel $swatch), not $1"
  xdotool key alt+shift+s
  sleep 0.3 # nothing on the screen tells that it was stored
}

# A client of its own takes Alt+Shift+S and gets a press.
another_client_takes_the_key() {
  "$probe" >"$work/holder" 2>&1 &
  holder_pid=$!
  poll 5 grep -qx held "$work/holder" || fail "another client cannot take Alt+Shift+S"
  xdotool key alt+shift+s
  poll 5 grep -qx press "$work/holder" || fail "the client holding Alt+Shift+S got no press"
  kill "$holder_pid"
  holder_pid=
}

# run LOCKS CLOSE COLOUR...: with the lock keys LOCKS on, stores the colours,
# then closes the picker and the main window (CLOSE=picker) or only the latter.
run() {
  step="$1 $2"
  local k i colours=("${@:3}") expected="[COLOR]"
  for k in Num Caps; do
    lock $k "$([[ $1 == *$k* ]] && echo on || echo off)" || fail "$k Lock does not change"
  done
  start_program
  open_picker
  for i in "${!colours[@]}"; do
    capture "${colours[i]}"
    expected+=$'\n'"Color$i=$(stored "${colours[i]}")"
  done
  if [[ $2 == picker ]]; then
    wmctrl -i -c "$picker_wid"
    poll 10 viewable "$main_wid" || fail "the main window did not come back after the picker"
    xdotool key alt+shift+s
    sleep 0.3
    another_client_takes_the_key
  fi
  close_program
  ini_is "$expected"$'\n'"[AppSet]"$'\n'"StartPoint=${#colours[@]}"
  echo "ok: $step: ${colours[*]} stored"
}

run none picker 123456 A0B0C0
run NumCaps picker 2A7F3C C81E64
run none main 5A783C
