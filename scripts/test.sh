#!/usr/bin/env bash
# Builds Tintavo with its tests and runs every test. Starts its own X server
# (Xvfb with a small window manager) for the tests that need one, and stops it
# afterwards. Set TINTAVO_SANITIZE=1 for an AddressSanitizer/UBSan build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" test

dir="$root/build-tests"
opts=(-DTINTAVO_BUILD_TESTS=ON)
if [[ "${TINTAVO_SANITIZE:-0}" == 1 ]]; then
  dir="$root/build-asan"
  opts+=(-DTINTAVO_SANITIZE=ON)
fi
"$root/scripts/build.sh" "$dir" "${opts[@]}"

# A short fuzzing run (its own clang build); bench/fuzz.sh runs it for longer.
"$root/scripts/fuzz.sh" 10

# A private X server for the tests; -noreset keeps it alive between clients.
source "$root/scripts/xvfb.sh"
openbox_pid=
cleanup() {
  [[ -n "$openbox_pid" ]] && kill "$openbox_pid" 2>/dev/null || true
  [[ -n "${xvfb_pid:-}" ]] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT
start_private_xvfb $((90 + RANDOM % 100)) 1280x1024x24 "$dir/xvfb.log"
start_openbox "$dir"

cd "$dir"
ctest --output-on-failure -j"$(nproc)" --timeout 300
