#!/usr/bin/env bash
# The real program on the test X server: access keys pressed again (or the
# other colour button's) before the colour dialog is up open one dialog, never
# one over itself; once it is closed nothing else opens.
# Usage: dialog_once.sh TINTAVO. Exit 77: no X server or tools.
source "$(dirname "$0")/../lib.sh"
tintavo=$1
need_x
# Windows of the program other than the main window that the user can see.
others() { xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | grep -vc "^$main_wid\$" || true; }
others_are() { (($(others) == $1)); }

for keys in "alt+g alt+b" "alt+b alt+g" "alt+g alt+g"; do
  step=$keys
  start_program
  xdotool windowactivate --sync "$main_wid" key --delay 30 $keys
  poll 5 others_are 1 || fail "no colour dialog opened"
  sleep 0.5
  (($(others) == 1)) || fail "$(others) windows opened"
  ! grep -q 'Recursive call' "$log" || fail "a dialog was opened over itself: $(cat "$log")"
  xdotool key Escape
  poll 5 others_are 0 || fail "the dialog did not close"
  sleep 0.5
  (($(others) == 0)) || fail "another dialog came up after the first closed"
  close_program
  echo "ok: $step"
done
