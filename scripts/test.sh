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
else
  # Optimised as the program ships, but without debug information, which
  # costs a quarter of the build and serves only a debugger.
  opts+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG")
fi
# ccache, where installed, so that the second build below compiles almost nothing.
if command -v ccache >/dev/null; then
  opts+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
fi
"$root/scripts/build.sh" "$dir" "${opts[@]}"

# The same program with no platform services, with its unit and GUI tests: it
# keeps everything outside src/platform honest about needing no X11 or portal,
# built where the X11, xcb and Wayland development files cannot be seen. A
# build matter, so the sanitizer run leaves it out.
none_dir=
if [[ "${TINTAVO_SANITIZE:-0}" != 1 ]]; then
  none_dir="$root/build-none"
  "$root/scripts/without_x11_dev.sh" "$root/scripts/build.sh" "$none_dir" "${opts[@]}" \
    -DTINTAVO_PLATFORM=none -DTINTAVO_BUILD_BENCHMARKS=OFF
fi

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
status=0
# Most end-to-end tests spend their time waiting for the X server, so one
# more test than there are cores keeps the machine busy.
ctest --output-on-failure -j"$(($(nproc) + 1))" --timeout 300 || status=$?
if [[ -n "$none_dir" ]]; then
  # The settings file's process tests take minutes and touch no platform
  # code; the run above has them.
  echo "The build without platform services (offscreen, no display):"
  (cd "$none_dir" && env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen \
    ctest --output-on-failure -j"$(nproc)" --timeout 300 -E '^unit_settings_processes$') ||
    status=$?
fi
exit "$status"
