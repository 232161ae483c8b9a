#!/usr/bin/env bash
# Installs the Debian packages Tintavo needs, when any of them is missing.
# Safe to run again: it does nothing when all are present.
# Usage: deps.sh [run|package|test]
#   run      building and running the program (the default);
#   package  that, and making the Debian package;
#   test     all of that, and what the tests and benchmarks use.
set -euo pipefail

# Building and running: the compiler and build tools (lld lays out the code
# that runs at start together), Qt with its Chinese translations, Wayland
# plugin and picture formats (WebP, TIFF), xcb, LittleCMS, fontconfig, the CJK
# fonts the interface is set in, and Xvfb for the run command's advice where
# there is no display.
packages=(
  build-essential cmake ninja-build pkg-config lld
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-qpa-plugins qt6-wayland libgl-dev qt6-svg-dev
  qt6-image-formats-plugins
  libxcb1-dev libxcb-keysyms1-dev libxcb-randr0-dev libxcb-xinput-dev libxcb-damage0-dev libx11-dev liblcms2-dev libfontconfig-dev
  fonts-wqy-microhei fonts-noto-cjk
  xvfb xauth
)
case "${1:-run}" in
run) ;;
package | test)
  packages+=(dpkg-dev desktop-file-utils appstream file)
  if [[ $1 == test ]]; then
    packages+=(
      libgtest-dev libgmock-dev clang libclang-rt-dev ccache
      xdotool x11-xserver-utils x11-utils wmctrl openbox
      dbus-daemon imagemagick xclip at-spi2-core python3-pyatspi libglib2.0-bin
      sway grim pipewire xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk
    )
  fi
  ;;
*)
  echo "usage: deps.sh [run|package|test]" >&2
  exit 2
  ;;
esac

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing missing packages: ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then
    echo "Run as root (or with sudo) so the packages can be installed." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
