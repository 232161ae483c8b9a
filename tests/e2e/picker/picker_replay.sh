#!/usr/bin/env bash
# The real program on the test X server, driven by a replayable random run of
# picker sessions: Alt+M, closing the picker, pointer moves, Alt+Shift+S, and
# the user minimising, restoring and (un)maximising the main window. After
# every step the main window, whenever it shows, lies on the screen; no dialog
# is ever opened over itself; closing the picker last brings it back
# maximised. Usage: picker_replay.sh TINTAVO [SEED...]. Exit 77: no X server.
source "$(dirname "$0")/../lib.sh"
tintavo=$1
shift
need_x wmctrl xwininfo
read -r screen_w screen_h <<<"$(xdotool getdisplaygeometry)"
picker() { xdotool search --all --onlyvisible --pid "$app_pid" --name '^鼠标取色$' 2>/dev/null | head -1; }
# frame: x y width height state of the main window.
frame() {
  xwininfo -id "$main_wid" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
    /Width:/ {w = $NF} /Height:/ {h = $NF} /Map State/ {m = $NF} END {print x, y, w, h, m}'
}
on_screen() {
  local x y w h m
  read -r x y w h m <<<"$(frame)"
  [[ $m != IsViewable ]] || ((x + w > 50 && y + h > 50 && x < screen_w - 50 && y < screen_h - 50))
}

seeds=("$@")
((${#seeds[@]})) || seeds=(7 21)
for seed in "${seeds[@]}"; do
  RANDOM=$seed
  start_program
  for ((i = 1; i <= 40; i++)); do
    case $((RANDOM % 7)) in
    0 | 1) step="Alt+M" && xdotool windowactivate --sync "$main_wid" key alt+m ;;
    2) step="close the picker" && { [[ -z $(picker) ]] || wmctrl -i -c "$(picker)"; } ;;
    3) step="move and store" && xdotool mousemove $((RANDOM % screen_w)) $((RANDOM % screen_h)) key alt+shift+s ;;
    4) step="minimise" && xdotool windowminimize "$main_wid" ;;
    5) step="restore" && xdotool windowactivate "$main_wid" ;;
    6) step="(un)maximise" && wmctrl -i -r "$main_wid" -b toggle,maximized_vert,maximized_horz ;;
    esac
    step="seed $seed, step $i: $step"
    # Openbox animates minimising and restoring: the frame passes below the
    # screen on its way, and must have settled on it shortly.
    sleep 0.3
    poll 2 on_screen || fail "the main window is off the screen: $(frame)"
  done
  ! grep -q 'Recursive call' "$log" || fail "a dialog was opened over itself"
  step="seed $seed, last close"
  xdotool windowactivate --sync "$main_wid" key alt+m
  poll 5 picker || fail "Alt+M opened no picker"
  wmctrl -i -c "$(picker)"
  poll 5 eval 'xprop -id "$main_wid" _NET_WM_STATE | grep -q MAXIMIZED_VERT' ||
    fail "the main window did not come back maximised"
  poll 2 on_screen || fail "the main window is off the screen: $(frame)"
  close_program
  echo "ok: seed $seed"
done
