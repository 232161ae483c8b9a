#!/usr/bin/env bash
# The real program's main window on the test X server takes a picture dropped
# by another client through XDND, and one pasted from the X clipboard with
# Ctrl+V: each opens as a frame that shows it centred, one picture pixel on
# one screen pixel, and a click on the pasted one stores the pixel under it
# into the first slot of Tintavo.ini.
# Usage: picture_drop_paste.sh TINTAVO DRAG_SOURCE. Exit 77: no X server or tools.
source "$(dirname "$0")/../lib.sh"
tintavo=$1 drag_source=$2
need_x wmctrl xwininfo import convert xclip
source_pid= clip_pid=
at_exit() { kill $source_pid $clip_pid 2>/dev/null; }
read -r width height <<<"$(xdotool getdisplaygeometry)"
left=$(((width - 200) / 2)) top=$(((height - 100) / 2)) # a 200 x 100 picture's place
# halves NAME LEFT RIGHT: a 200 x 100 PNG whose halves are LEFT and RIGHT, with
# no gamma chunks, which the reader would take for a profile.
halves() {
  convert -size 200x100 "xc:#$2" -fill "#$3" -draw 'rectangle 100,0 199,99' -strip "$work/$1.png"; }
# frame_shows LEFT RIGHT: the screen shows both halves, first and last columns included.
frame_shows() {
  [[ "$(pixel $left $((top + 50))) $(pixel $((left + 99)) $top) $(pixel $((left + 100)) $((top + 99)))
$(pixel $((left + 199)) $((top + 50)))" == "$1 $1 $2"$'\n'"$2" ]]
}
# activate WINDOW: WINDOW takes the keyboard (xdotool's own activation waits
# long for a desktop number the window does not have).
activate() {
  wmctrl -i -a "$1"
  poll 5 eval "[[ \$(xdotool getactivewindow) == $(($1)) ]]" || fail "window $1 does not take the keys"
}
frame_gone() { ! frame_shows "$@"; }
# leave_frame LEFT RIGHT: Escape leaves the frame for the picker, and the
# picker's Escape brings the main window back.
leave_frame() {
  xdotool key Escape
  poll 10 frame_gone "$@" || fail "Escape left the frame on the screen"
  timeout 10 xdotool search --sync --onlyvisible --pid "$app_pid" --name '^鼠标取色$' >/dev/null ||
    fail "no picker after the frame"
  xdotool key Escape # the picker holds the keyboard
  poll 10 viewable "$main_wid" || fail "the main window did not come back after the picker"
}
halves dropped 3C5A78 C81E64
halves pasted 2A7F3C A0B0C0
start_program

step=drop
"$drag_source" "$work/dropped.png" >"$work/drag" 2>&1 &
source_pid=$!
source_wid=$(timeout 10 xdotool search --sync --onlyvisible --pid "$source_pid" | head -1) ||
  fail "no drag source window"
xdotool mousemove --window "$source_wid" 60 60 mousedown 1
# Small steps, each given time for the target's status, as a hand moves.
for p in 30 40 50 60; do
  sleep 0.2
  xdotool mousemove --window "$main_wid" $p $p
done
sleep 0.3
xdotool mouseup 1
poll 10 grep -qx dropped "$work/drag" || fail "the drop was $(cat "$work/drag")"
poll 10 frame_shows 3C5A78 C81E64 || fail "the frame does not show the dropped picture centred"
leave_frame 3C5A78 C81E64
kill "$source_pid" && source_pid=

step=paste
xclip -quiet -selection clipboard -t image/png -i "$work/pasted.png" >/dev/null 2>&1 & # in the foreground
clip_pid=$!
activate "$main_wid" && xdotool key ctrl+v
poll 10 frame_shows 2A7F3C A0B0C0 || fail "the frame does not show the pasted picture centred"
xdotool mousemove $((left + 150)) $((top + 30)) click 1
sleep 0.3
leave_frame 2A7F3C A0B0C0
close_program
ini_is $'[COLOR]\nColor0='$((0xC0B0A0))$'\n[AppSet]\nStartPoint=1'
echo "ok: a dropped and a pasted picture shown as frames, a pick stored"
