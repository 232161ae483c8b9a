#!/usr/bin/env bash
# A long fuzzing run of every libFuzzer target. Usage: fuzz.sh [SECONDS] (default 600).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exec "$root/scripts/fuzz.sh" "${1:-600}"
