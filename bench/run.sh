#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs each of them, printing their
# figures. Uses the current display, or a private Xvfb when there is none.
# Usage: bench/run.sh [REFERENCE], REFERENCE another build of the program
# (an older release, say) whose start-up is measured beside this one's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" test
dir="$root/build-bench"
"$root/scripts/build.sh" "$dir" -DCMAKE_BUILD_TYPE=Release -DTINTAVO_BUILD_TESTS=OFF -DTINTAVO_BUILD_BENCHMARKS=ON

if [[ -z "${DISPLAY:-}" ]]; then
  source "$root/scripts/xvfb.sh"
  trap 'kill $xvfb_pid 2>/dev/null || true; wait 2>/dev/null || true' EXIT
  start_private_xvfb $((300 + RANDOM % 100)) 1280x1024x24
fi

# One line per benchmark: the environment it needs, then its program.
benchmarks=(
  "QT_QPA_PLATFORM=offscreen bench/colorbox/bench_colorbox"
  "QT_QPA_PLATFORM=xcb bench/sampler_bench"
  "QT_QPA_PLATFORM=offscreen bench/settings_bench"
  "QT_QPA_PLATFORM=offscreen bench/picture_bench"
  "QT_QPA_PLATFORM=xcb bench/startup/bench_startup"
  "QT_QPA_PLATFORM=offscreen bench/frame_view_bench"
  "QT_QPA_PLATFORM=offscreen bench/picture_frame_bench"
)

for b in "${benchmarks[@]}"; do
  read -r envvar program <<<"$b"
  echo "== $program"
  if [[ $program == */bench_startup ]]; then
    env "$envvar" "$dir/$program" "$@"
  else
    env "$envvar" "$dir/$program"
  fi
done

# Freezing is measured where it costs most: a 3840 x 2160 screen of its own.
echo "== bench/freeze_bench (3840x2160)"
(
  source "$root/scripts/xvfb.sh"
  trap 'kill $xvfb_pid 2>/dev/null || true; wait 2>/dev/null || true' EXIT
  start_private_xvfb $((400 + RANDOM % 100)) 3840x2160x24
  QT_QPA_PLATFORM=xcb "$dir/bench/freeze_bench"
)
