#!/usr/bin/env bash
# Builds Tintavo and starts it on the current display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build" -DTINTAVO_BUILD_TESTS=OFF

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  cat <<MSG
Tintavo is built: $root/build/src/app/tintavo
There is no display to show its window on (DISPLAY is not set).
Run it from a desktop session, or on a virtual screen:
  xvfb-run -a -s '-screen 0 1280x1024x24' $root/build/src/app/tintavo
MSG
  exit 1
fi
exec "$root/build/src/app/tintavo"
