# shellcheck shell=bash
# Sourced by the end-to-end scripts, which drive the real program on the test X
# server with xdotool. The script sets `tintavo` before start_program, `step`
# to name the case a failure reports, and may define at_exit for its clean-up.
set -euo pipefail
e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
app_pid= main_wid= ini= log= step=setup runs=0
at_exit() { :; }
cleanup() {
  at_exit || true
  [[ -z $app_pid ]] || kill -9 "$app_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  chmod -R u+w "$work" && rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL [$step]: $*" >&2
  [[ -z ${E2E_SHOT:-} ]] || import -window root "$E2E_SHOT" || true
  [[ ! -f $ini ]] || { echo "--- $ini:" && cat -A "$ini"; } >&2
  exit 1
}

# need_x TOOL...: exit 77 (skipped) without a display, xdotool or a TOOL.
need_x() {
  [[ -n ${DISPLAY:-} ]] || { echo "no DISPLAY: skipped"; exit 77; }
  local t
  for t in xdotool "$@"; do command -v "$t" >/dev/null || { echo "$t missing: skipped"; exit 77; }; done
}

# poll SECONDS COMMAND...: runs COMMAND every 50 ms until it succeeds.
poll() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do ((SECONDS < deadline)) || return 1; sleep 0.05; done
}
ended() { ! kill -0 "$1" 2>/dev/null; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# start_program [COMMAND...]: runs COMMAND, by default a copy of $tintavo in a
# fresh folder (so that its settings file, $ini, is new, or holds $ini_start
# when that is set), on the xcb platform and waits for its window: sets
# app_pid, main_wid and log.
start_program() {
  local dir=$work/run$((++runs))
  mkdir -p "$dir" && ini=$dir/Tintavo.ini log=$dir/log
  [[ -z ${ini_start:-} ]] || printf '%s\r\n' "$ini_start" >"$ini"
  (($#)) || { cp "$tintavo" "$dir/tintavo" || fail "no program to copy"; set -- ./tintavo; }
  (cd "$dir" && exec env QT_QPA_PLATFORM=xcb \
    LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$e2e_dir/lsan.supp" "$@" >"$log" 2>&1) &
  app_pid=$!
  main_wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" | head -1) || true
  [[ -n $main_wid ]] || fail "no window appeared: $(cat "$log")"
}

# close_program: closes the main window; the program must end with status 0.
close_program() {
  wmctrl -i -c "$main_wid" || fail "wmctrl could not close the main window"
  poll 15 ended "$app_pid" || fail "the program did not end when its main window closed"
  end_status 0
}

# ended_with STATUS OUTPUT: the program started in the background ($app_pid,
# its standard output and error in $work/out and $work/err) ends with STATUS,
# having printed OUTPUT.
ended_with() {
  local got=0
  wait "$app_pid" || got=$?
  app_pid=
  ((got == $1)) || fail "status $got, not $1: $(cat "$work/err")"
  [[ $(cat "$work/out") == "$2" ]] || fail "printed '$(cat "$work/out")', not '$2'"
}

# end_status STATUS: the program, which has ended, did so with STATUS.
end_status() {
  local status=0
  wait "$app_pid" 2>/dev/null || status=$?
  app_pid=
  ((status == $1)) || fail "the program ended with status $status, not $1: $(cat "$log")"
}

# ini_is TEXT: the settings file holds TEXT (line ends aside).
ini_is() {
  [[ -f $ini && $(tr -d '\r' <"$ini") == "$1" ]] || fail "the settings file is not:"$'\n'"$1"
}

# pixel X Y: the colour the screen shows at (X, Y) of the root, as RRGGBB.
pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -om1 '#[0-9A-F]\{6\}' | tr -d '#'
}

# pattern_mean X Y SIZE: the mean of the SIZE x SIZE pixels around (X, Y) of
# the root picture x_probe paints (every pixel its own colour), each channel
# rounded half up, as "R G B".
pattern_mean() {
  local x y r=0 g=0 b=0 n=$(($3 * $3)) h=$(($3 / 2))
  for ((y = $2 - h; y <= $2 + h; y++)); do
    for ((x = $1 - h; x <= $1 + h; x++)); do
      ((r += x & 255, g += y & 255, b += ((x >> 8) & 15) | (((y >> 8) & 15) << 4)))
    done
  done
  echo $(((2 * r + n) / (2 * n))) $(((2 * g + n) / (2 * n))) $(((2 * b + n) / (2 * n)))
}
