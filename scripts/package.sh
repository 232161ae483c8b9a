#!/usr/bin/env bash
# Builds the Debian package tintavo_<version>_<arch>.deb (a Release build) and
# leaves it in build-package/. Install it with: apt-get install ./build-package/tintavo_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" package
dir="$root/build-package"
"$root/scripts/build.sh" "$dir" -DTINTAVO_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
rm -f "$dir"/tintavo_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$dir"/tintavo_*.deb
