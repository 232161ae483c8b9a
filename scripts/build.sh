#!/usr/bin/env bash
# Configures and builds one build tree. Usage: build.sh DIR [cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
# In a tree built before, Qt's code generator can miss a header that a merge
# added to a library; dropping its stamps makes it look at every header again
# (it still regenerates only what changed).
find "$dir" -path '*_autogen*' -name timestamp -delete 2>/dev/null || true
cmake --build "$dir" -j"$(nproc)"
