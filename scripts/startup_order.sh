#!/usr/bin/env bash
# Lists the program's own functions that run from its start until its window
# is up and at rest, for the linker to lay out in one stretch
# (src/app/startup_order.txt). Run it again after changing what happens at
# start: a function missing from the list works as before, it is only laid out
# with the rest of the code, and costs a start a few more pages.
# Usage: startup_order.sh [BUILD_DIR]   (default: build-tests, the test build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-tests}
program=$build/src/app/tintavo
[[ -x $program ]] || { echo "no program at $program: build it first" >&2; exit 1; }
if ! command -v valgrind >/dev/null; then
  [[ $(id -u) -eq 0 ]] || { echo "needs valgrind (apt-get install valgrind)" >&2; exit 1; }
  apt-get install -y -q --no-install-recommends valgrind >/dev/null
fi

dir=$(mktemp -d)
cleanup() {
  [[ -n "${pid:-}" ]] && kill "$pid" 2>/dev/null || true
  [[ -n "${openbox_pid:-}" ]] && kill "$openbox_pid" 2>/dev/null || true
  [[ -n "${xvfb_pid:-}" ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT
source "$root/scripts/xvfb.sh"
start_private_xvfb 150 1280x1024x24 "$dir/xvfb.log"
start_openbox "$dir"
export QT_QPA_PLATFORM=xcb HOME=$dir/home XDG_CONFIG_HOME=$dir/home/.config
mkdir -p "$HOME" "$dir/program"
# A copy, so that a settings file can lie beside it without touching the build.
cp "$program" "$dir/program/tintavo"

# $1: the name of the run. Ten times slower under the tool: waits for the
# window, then for its first seconds at rest (the code line's timer and the
# caret run by then).
record_start() {
  valgrind --tool=callgrind --callgrind-out-file="$dir/calls-$1" --compress-strings=no \
    --compress-pos=no --demangle=no "$dir/program/tintavo" >/dev/null 2>"$dir/valgrind-$1.log" &
  pid=$!
  if ! timeout 120 xdotool search --sync --onlyvisible --pid "$pid" >/dev/null; then
    echo "no window within two minutes; the tool's last lines:" >&2
    tail -n 20 "$dir/valgrind-$1.log" >&2
    exit 1
  fi
  sleep 3
  callgrind_control --dump "$pid" >/dev/null 2>&1
  for _ in $(seq 100); do
    compgen -G "$dir/calls-$1.*" >/dev/null && break
    sleep 0.1
  done
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
}
# A first start, with no settings; then one as every later start is, with
# a settings file of 64 swatches read.
record_start first
{
  printf '[APPSET]\r\nnColor=64\r\n[COLOR]\r\n'
  for i in $(seq 0 63); do printf 'Color%d=%d\r\n' "$i" $((i * 262657 % 16777216)); done
} >"$dir/program/Tintavo.ini"
record_start later

# Each function of the program's own object, once, sorted so that a new list
# reads as a diff of the old. The static initialisers of the source files are
# among them: each runs once at start, from wherever its file's code lies.
# Left out: addresses without a name, and the tool's own "(below main)".
awk '/^ob=/ { own = ($0 ~ /\/tintavo$/) }
     /^fn=/ && own { name = substr($0, 4); if (name !~ /^(0x|\()/) print name }' \
  "$dir"/calls-*.* | LC_ALL=C sort -u >"$root/src/app/startup_order.txt"
wc -l <"$root/src/app/startup_order.txt" | xargs echo "functions listed:"
