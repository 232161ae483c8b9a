#!/usr/bin/env bash
# Builds the benchmarks optimised into build-bench/ and runs every one of them;
# each prints its own figures. Usage: run.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
dir="$root/build-bench"
"$root/scripts/build.sh" "$dir" -DTINTAVO_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
for bench in "$dir"/bench/*_bench; do
  [[ -x "$bench" ]] || continue
  echo "== $(basename "$bench")"
  "$bench"
done
