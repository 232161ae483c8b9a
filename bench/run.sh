#!/usr/bin/env bash
# Builds the benchmarks and runs each of them, printing their figures. Uses the
# current display, or a private Xvfb when there is none.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="$root/build-bench"
"$root/scripts/build.sh" "$dir" -DCMAKE_BUILD_TYPE=Release -DTINTAVO_BUILD_TESTS=OFF

# One line per benchmark program, relative to the build tree.
benchmarks=(
  bench/sampler_bench
)

if [[ -z "${DISPLAY:-}" ]]; then
  display_no=$((300 + RANDOM % 100))
  while [[ -e /tmp/.X11-unix/X$display_no || -e /tmp/.X$display_no-lock ]]; do
    display_no=$((display_no + 1))
  done
  Xvfb ":$display_no" -screen 0 1280x1024x24 -noreset -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true; wait 2>/dev/null || true' EXIT
  export DISPLAY=":$display_no"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
fi

for b in "${benchmarks[@]}"; do
  echo "== $b"
  "$dir/$b"
done
