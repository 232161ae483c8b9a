#!/usr/bin/env bash
# Drives the real program on the test X server: opens the picker with its
# access key, points at colours painted on the desktop, stores them with
# Alt+Shift+S and checks what the program leaves in Tintavo.ini beside itself
# when it is closed. Covers NumLock and CapsLock, a picker opened twice, the
# key held by another program, the key after the picker has closed, and the
# main window closed while the picker is open.
#
# The picker's notice that another program holds the key is not checked here:
# xdotool cannot read a label, and the window tests already check that text.
#
# Usage: picker_hotkey.sh TINTAVO X_PROBE. Exit 77: no X server to run on.
# With E2E_SHOT=file.png a failure leaves a screenshot there (ImageMagick).
set -euo pipefail

tintavo=$1
probe=$2
here=$(cd "$(dirname "$0")" && pwd)
[[ -n "${DISPLAY:-}" ]] || { echo "no DISPLAY: skipped"; exit 77; }
for tool in xdotool wmctrl xsetroot xset xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "$tool missing: skipped"; exit 77; }
done

work=$(mktemp -d)
app_pid=
holder_pid=
holder_log=
numlock_set=0
capslock_set=0
ini=
scenario=setup

cleanup() {
  [[ -n "$holder_pid" ]] && kill "$holder_pid" 2>/dev/null || true
  [[ -n "$app_pid" ]] && kill "$app_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  if ((numlock_set)) && [[ $("$probe" numlock) == on ]]; then
    xdotool key Num_Lock || true
  fi
  if ((capslock_set)) && xset q | grep -q 'Caps Lock: *on'; then
    xdotool key Caps_Lock || true
  fi
  xsetroot -def 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL [$scenario]: $*" >&2
  if [[ -n "${E2E_SHOT:-}" ]]; then
    import -window root "$E2E_SHOT" 2>/dev/null || echo "(no screenshot: import failed)" >&2
  fi
  if [[ -n "$ini" && -f "$ini" ]]; then
    echo "--- $ini:" >&2
    cat -A "$ini" >&2
  elif [[ -n "$ini" ]]; then
    echo "--- $ini does not exist" >&2
  fi
  exit 1
}

# poll SECONDS COMMAND...: runs COMMAND every 50 ms until it succeeds.
poll() {
  local limit=$1
  shift
  local deadline=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.05
  done
}

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
window_gone() { ! xwininfo -id "$1" >/dev/null 2>&1; }
process_gone() { ! kill -0 "$1" 2>/dev/null; }

# The program's own copy in a fresh folder, so its settings file is new.
start_program() {
  local dir="$work/$1"
  mkdir -p "$dir"
  cp "$tintavo" "$dir/tintavo"
  ini="$dir/Tintavo.ini"
  (cd "$dir" && exec env QT_QPA_PLATFORM=xcb \
    LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$here/lsan.supp" \
    ./tintavo >"$dir/stdout.log" 2>&1) &
  app_pid=$!
  main_wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" --name 'Vantolux' |
    head -1) || fail "the main window did not appear"
  [[ -n "$main_wid" ]] || fail "the main window did not appear"
}

# The picker's window: the program's visible one that is not the main window.
find_picker() {
  local wid
  for wid in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null); do
    if [[ "$wid" != "$main_wid" ]] && viewable "$wid"; then
      picker_wid=$wid
      return 0
    fi
  done
  return 1
}

open_picker() {
  # A resting pointer is not sampled, so a capture point the pointer already
  # rests on (left there by an earlier run) would keep whatever the picker read
  # first. The picker starts out taking (0, 0) as the last position: resting
  # there, the pointer is sampled at its first real movement.
  xdotool mousemove 0 0
  xdotool windowactivate --sync "$main_wid" >/dev/null 2>&1 || fail "cannot activate the main window"
  xdotool key alt+m
  poll 10 find_picker || fail "Alt+M opened no picker window"
  local name
  name=$(xprop -id "$picker_wid" _NET_WM_NAME 2>/dev/null || true)
  [[ "$name" == *'"鼠标取色"'* ]] || fail "picker window has the wrong title: $name"
  poll 10 bash -c "! xwininfo -id $main_wid | grep -q 'Map State: IsViewable'" ||
    fail "the main window did not minimise when the picker opened"

  # The picker's swatch sits at (1680, 30) twips with size 1800 x 1485; its
  # middle shows the last sampled colour.
  swatch_x=$((1680 / 15 + 1800 / 15 / 2))
  swatch_y=$((30 / 15 + 1485 / 15 / 2))

  # A desktop point well away from the picker (frame included).
  local geometry px py pw ph
  geometry=$(xwininfo -id "$picker_wid")
  px=$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")
  py=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")
  pw=$(awk '/Width:/ {print $2}' <<<"$geometry")
  ph=$(awk '/Height:/ {print $2}' <<<"$geometry")
  point_x=
  local cx cy
  for candidate in "1100 900" "100 900" "1100 100" "100 100"; do
    read -r cx cy <<<"$candidate"
    if ((cx + 100 < px - 40 || cx - 100 > px + pw + 40 || cy + 100 < py - 80 ||
      cy - 100 > py + ph + 40)); then
      point_x=$cx
      point_y=$cy
      break
    fi
  done
  [[ -n "$point_x" ]] || fail "no free desktop point beside the picker at $px,$py ${pw}x$ph"
}

# capture RRGGBB D: paints the desktop, points at it (D pixels right of and
# below the chosen point), waits until the picker shows the colour and presses
# the hot key.
capture() {
  local colour=$1 x=$((point_x + $2)) y=$((point_y + $2)) seen
  xsetroot -solid "#$colour"
  seen=$("$probe" wait-pixel 0 "$x" "$y" "$colour" 5000) ||
    fail "the desktop shows $seen, not $colour, at $x,$y"
  xdotool mousemove "$x" "$y"
  seen=$("$probe" wait-pixel "$picker_wid" "$swatch_x" "$swatch_y" "$colour" 5000) ||
    fail "the picker's swatch shows $seen, not the colour $colour under the pointer"
  xdotool key alt+shift+s
  # The press is in the program's queue once xdotool returns; give it a moment
  # to handle it before the screen changes under the pointer. Nothing shows a
  # stored colour while the main window is minimised.
  sleep 0.3
}

close_picker() {
  wmctrl -i -c "$picker_wid" || fail "wmctrl could not close the picker"
  poll 10 window_gone "$picker_wid" || fail "the picker did not close"
  poll 10 viewable "$main_wid" || fail "the main window did not come back after the picker closed"
  local state
  state=$(xprop -id "$main_wid" _NET_WM_STATE)
  [[ "$state" == *_NET_WM_STATE_MAXIMIZED_VERT* && "$state" == *_NET_WM_STATE_MAXIMIZED_HORZ* ]] ||
    fail "the main window is not maximised after the picker closed: $state"
}

close_program() {
  wmctrl -i -c "$main_wid" || fail "wmctrl could not close the main window"
  poll 15 process_gone "$app_pid" || fail "the program did not end when its main window closed"
  local status=0
  wait "$app_pid" || status=$?
  app_pid=
  ((status == 0)) || fail "the program ended with status $status: $(cat "$(dirname "$ini")/stdout.log")"
  poll 5 window_gone "$main_wid" || fail "the main window outlived the program"
}

# RRGGBB as the program stores it: red + 256 green + 65536 blue.
stored() { echo $((0x${1:4:2} * 65536 + 0x${1:2:2} * 256 + 0x${1:0:2})); }

expect_ini() {
  local expected=$1 actual
  [[ -f "$ini" ]] || fail "no Tintavo.ini beside the program"
  actual=$(tr -d '\r' <"$ini")
  [[ "$actual" == "$expected" ]] ||
    fail "Tintavo.ini differs; expected:"$'\n'"$expected"
}

# start_holder NAME: another program takes Alt+Shift+S; holder_state tells
# whether it got the key ("held") or not ("taken").
start_holder() {
  holder_log="$work/holder-$1.log"
  "$probe" hold >"$holder_log" 2>&1 &
  holder_pid=$!
  poll 5 grep -qE '^(held|taken)$' "$holder_log" || fail "the key holder did not start"
  holder_state=$(head -1 "$holder_log")
}

stop_holder() {
  kill "$holder_pid" 2>/dev/null || true
  wait "$holder_pid" 2>/dev/null || true
  holder_pid=
}

holder_presses() { grep -c '^press$' "$holder_log" || true; }

# Two colours into the first two slots, then a press after the picker closed.
run_two_captures() {
  local first=$1 second=$2
  start_program "$scenario"
  open_picker
  capture "$first" 0
  capture "$second" -40
  close_picker

  # With the picker closed the key is the desktop's again: a press stores
  # nothing, and another program can take the key.
  xdotool key alt+shift+s
  sleep 0.3
  start_holder "$scenario"
  [[ $holder_state == held ]] ||
    fail "another program cannot take Alt+Shift+S after the picker closed"
  xdotool key alt+shift+s
  poll 5 bash -c "grep -q '^press$' '$holder_log'" ||
    fail "another program holding Alt+Shift+S got no press after the picker closed"
  stop_holder

  close_program
  expect_ini "[COLOR]
Color0=$(stored "$first")
Color1=$(stored "$second")
[AppSet]
StartPoint=2"
}

scenario=plain
run_two_captures 123456 A0B0C0
echo "ok: two colours stored, nothing after the picker closed"

scenario=numlock
# A run killed outright cannot turn NumLock off again; start from off.
if [[ $("$probe" numlock) == on ]]; then
  xdotool key Num_Lock
  poll 5 bash -c "[[ \$('$probe' numlock) == off ]]" || fail "NumLock does not go off"
fi
xdotool key Num_Lock
numlock_set=1
poll 5 bash -c "[[ \$('$probe' numlock) == on ]]" || fail "NumLock did not come on"
run_two_captures 2A7F3C C81E64

# CapsLock on top of NumLock.
scenario=capslock
xdotool key Caps_Lock
capslock_set=1
poll 5 bash -c "xset q | grep -q 'Caps Lock: *on'" || fail "CapsLock did not come on"
run_two_captures 1E3C5A 8C6E50
xdotool key Caps_Lock
capslock_set=0
poll 5 bash -c "xset q | grep -q 'Caps Lock: *off'" || fail "CapsLock did not go off"
xdotool key Num_Lock
numlock_set=0
poll 5 bash -c "[[ \$('$probe' numlock) == off ]]" || fail "NumLock did not go off"
echo "ok: two colours stored with NumLock on, and with CapsLock too"

# The picker opened a second time takes the key afresh and goes on with the
# next slot.
scenario=reopen
start_program "$scenario"
open_picker
capture 6E1F2B 0
close_picker
open_picker
capture 2B6E1F -40
close_picker
close_program
expect_ini "[COLOR]
Color0=$(stored 6E1F2B)
Color1=$(stored 2B6E1F)
[AppSet]
StartPoint=2"
echo "ok: a picker opened again stores into the next slot"

scenario=taken
start_holder "$scenario"
[[ $holder_state == held ]] || fail "the key holder could not take Alt+Shift+S"
start_program "$scenario"
open_picker
capture 3C5A78 0
poll 5 bash -c "grep -q '^press$' '$holder_log'" ||
  fail "the program holding the key got no press while the picker was open"
[[ $(holder_presses) -eq 1 ]] ||
  fail "the program holding the key got $(holder_presses) presses, not 1"
close_picker
stop_holder
close_program
expect_ini "[AppSet]
StartPoint=0"
echo "ok: nothing stored while another program holds the key"

# Closing the main window while the picker is open ends the program and still
# saves what was captured; the program takes the key with it.
scenario=main-first
start_program "$scenario"
open_picker
capture 5A783C 0
close_program
poll 5 window_gone "$picker_wid" || fail "the picker outlived the program"
expect_ini "[COLOR]
Color0=$(stored 5A783C)
[AppSet]
StartPoint=1"
start_holder "$scenario"
[[ $holder_state == held ]] || fail "Alt+Shift+S is still taken after the program ended"
stop_holder
echo "ok: closing the main window with the picker open saves the capture"
