#!/usr/bin/env bash
# The random-input soak of the real program, for as long as asked and with any
# seed, on a private X server with the openbox window manager.
# Usage: bench/soak.sh [SECONDS [SEED]] (default: 1800 seconds, a seed from the clock).
# Set TINTAVO_SANITIZE=1 to soak the AddressSanitizer/UBSan build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-1800}
seed=${2:-$(date +%s)}
"$root/scripts/deps.sh" test
dir="$root/build-tests"
opts=(-DTINTAVO_BUILD_TESTS=ON)
if [[ "${TINTAVO_SANITIZE:-0}" == 1 ]]; then
  dir="$root/build-asan"
  opts+=(-DTINTAVO_SANITIZE=ON)
fi
"$root/scripts/build.sh" "$dir" "${opts[@]}"

export LSAN_OPTIONS="suppressions=$root/tests/e2e/lsan.supp"
"$root/tests/e2e/own_x.sh" "$root/tests/e2e/app/soak.py" "$dir/src/app/tintavo" \
  "$dir/tests/e2e/picker/e2e_picker_x_probe" --seed "$seed" --seconds "$seconds"
