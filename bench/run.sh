#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs each one; they print figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="$root/build-bench"
"$root/scripts/build.sh" "$dir" -DCMAKE_BUILD_TYPE=Release -DTINTAVO_BUILD_TESTS=OFF
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

"$dir/bench/colorbox/bench_colorbox"
