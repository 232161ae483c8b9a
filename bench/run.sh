#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs each of them, printing their
# figures. Uses the current display, or a private Xvfb when there is none.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
dir="$root/build-bench"
"$root/scripts/build.sh" "$dir" -DCMAKE_BUILD_TYPE=Release -DTINTAVO_BUILD_TESTS=OFF

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

# One line per benchmark: the environment it needs, then its program.
benchmarks=(
  "QT_QPA_PLATFORM=offscreen bench/colorbox/bench_colorbox"
  "QT_QPA_PLATFORM=xcb bench/sampler_bench"
  "QT_QPA_PLATFORM=offscreen bench/settings_bench"
  "QT_QPA_PLATFORM=xcb bench/startup/bench_startup"
)

for b in "${benchmarks[@]}"; do
  read -r envvar program <<<"$b"
  echo "== $program"
  env "$envvar" "$dir/$program"
done
