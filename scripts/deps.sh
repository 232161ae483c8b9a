#!/usr/bin/env bash
# Installs the Debian packages Tintavo needs to build, run and test, when any
# of them is missing. Safe to run again: it does nothing when all are present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-qpa-plugins qt6-wayland libgl-dev qt6-svg-dev
  libxcb1-dev libxcb-keysyms1-dev libxcb-randr0-dev libx11-dev liblcms2-dev
  fonts-wqy-microhei fonts-noto-cjk
  libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  dpkg-dev desktop-file-utils appstream file
  xvfb xauth xdotool x11-xserver-utils x11-utils wmctrl openbox libxcb-damage0-dev
  dbus-daemon imagemagick xclip
  sway grim pipewire xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk
)

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
