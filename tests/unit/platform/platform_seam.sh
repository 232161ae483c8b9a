#!/usr/bin/env bash
# The operating-system seam: nothing outside src/platform/x11 includes an xcb or
# X11 header or names an xcb type, nothing outside src/platform locks, watches
# or trims through the system directly, and a build for another platform compiles
# and links with no xcb or X11 path or library at all.
# Usage: platform_seam.sh SOURCE_DIR BUILD_DIR PLATFORM
set -uo pipefail
source=$1 build=$2 platform=$3
status=0

# Every file built into the program or into the tests that need no X server.
found=$(cd "$source" && grep -rnE \
  -e '#[[:space:]]*include[[:space:]]*[<"](xcb|X11)/' \
  -e '\b(xcb|XCB)_[A-Za-z0-9_]+' -e '\b(XOpenDisplay|XID|KeySym|XEvent)\b' -e 'QX11Application' \
  src tests/unit tests/gui tests/support | grep -vE "^(src/platform/x11/|tests/unit/platform/platform_seam.sh:)")
if [[ -n $found ]]; then
  echo "X11 outside src/platform/x11:"$'\n'"$found"
  status=1
fi

# The system calls beneath Qt stay in src/platform too.
found=$(cd "$source" && grep -rnE '\b(flock|inotify_[a-z_]+|malloc_trim|mallopt|dlopen)\b|/proc/' src |
  grep -v '^src/platform/')
if [[ -n $found ]]; then
  echo "system calls outside src/platform:"$'\n'"$found"
  status=1
fi

if [[ $platform != linux ]]; then
  # Include paths and defines of every compilation, and every link line.
  for file in compile_commands.json build.ninja; do
    used=$(grep -oiE '[^ "]*(xcb|x11)[^ "]*' "$build/$file" | grep -v '_autogen' | sort -u)
    if [[ -n $used ]]; then
      echo "the $platform build's $file names X11:"$'\n'"$used"
      status=1
    fi
  done
fi
exit $status
