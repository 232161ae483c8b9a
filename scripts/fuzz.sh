#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for
# SECONDS (default 10). Usage: fuzz.sh [SECONDS]. New inputs found go to
# build-fuzz/corpus/<target>; a crash fails the script and keeps its input.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-10}
dir="$root/build-fuzz"

cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DTINTAVO_FUZZ=ON \
  -DTINTAVO_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(ini_profile_fuzz)
if ! cmake --build "$dir" --target "${targets[@]}" >"$dir/build.log" 2>&1; then
  cat "$dir/build.log"
  exit 1
fi

for target in "${targets[@]}"; do
  name=${target%_fuzz}
  corpus="$dir/corpus/$name"
  mkdir -p "$corpus" "$dir/artifacts"
  log="$dir/$target.log"
  if ! "$dir/fuzz/$target" "$corpus" "$root/fuzz/corpus/$name" -max_total_time="$seconds" \
      -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$dir/artifacts/" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz: $target FAILED (log: $log)" >&2
    exit 1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
  echo "fuzz: $target ran $runs inputs in ${seconds}s without a fault"
done
