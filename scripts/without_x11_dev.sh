#!/usr/bin/env bash
# Runs a command as on a machine without the development packages of X11, xcb
# and Wayland: their headers, pkg-config files and link-time libraries are
# hidden from it (the run-time libraries stay, as they would). Nothing is
# uninstalled: the command runs in a private mount namespace, where overlays
# over /usr/include and the library folders leave those files out. Where that
# cannot be arranged (not root, no unshare or overlay file system), the command
# runs as it is, with one line on standard error saying so.
# Usage: without_x11_dev.sh COMMAND [ARG...]
set -euo pipefail

if [[ ${1:-} == --inside ]]; then
  top=$2
  shift 2
  mount --make-rprivate /
  for lower in "$top"/lower/*; do
    target=$(cat "$lower") name=${lower##*/}
    mount -t overlay overlay \
      -o "lowerdir=$target,upperdir=$top/upper/$name,workdir=$top/work/$name" "$target"
  done
  exec "$@"
fi

if [[ $(id -u) -ne 0 ]] || ! command -v unshare >/dev/null ||
  ! grep -qw overlay /proc/filesystems; then
  echo "without_x11_dev.sh: cannot hide the X11 development files here; running as is" >&2
  exec "$@"
fi

# The X11, xcb and Wayland development packages, and those of the libraries
# built on X11. Qt's own development package needs OpenGL's, which in Debian
# pulls in X11's; the toolkit's headers do not include them, so they are
# hidden all the same.
pattern='^(lib(xcb|x11|xau|xdmcp|xext|xfixes|xrender|xt|sm|ice|xss|xft|xcomposite|xkbcommon|wayland)[^:]*-dev|x11proto-dev|xtrans-dev)(:|$)'
mapfile -t packages < <(dpkg-query -W -f='${binary:Package} ${db:Status-Status}\n' 2>/dev/null |
  awk '$2 == "installed" {print $1}' | grep -E "$pattern")
top=$(mktemp -d)
trap 'rm -rf "$top"' EXIT

# One overlay per folder that holds such files, each file a whiteout in it;
# the header folders X11/ and xcb/ go whole.
mkdir -p "$top/lower" "$top/upper" "$top/work"
roots=(/usr/include /usr/lib/x86_64-linux-gnu /usr/share/pkgconfig /usr/lib/pkgconfig)
while read -r file; do
  [[ -f $file || -L $file ]] || continue
  case $file in
  *.so.[0-9]*) continue ;; # the run-time library itself
  /usr/include/X11/* | /usr/include/xcb/*) file=/usr/include/${file:13:3} ;;
  esac
  for root in "${roots[@]}"; do
    [[ $file == "$root"/* ]] || continue
    name=${root//\//_} relative=${file#"$root"/}
    echo "$root" >"$top/lower/$name"
    mkdir -p "$top/work/$name" "$top/upper/$name/$([[ $relative == */* ]] && echo "${relative%/*}")"
    [[ -e $top/upper/$name/$relative ]] || mknod "$top/upper/$name/$relative" c 0 0
    break
  done
done < <(((${#packages[@]})) && dpkg -L "${packages[@]}")
echo "without_x11_dev.sh: the files of ${#packages[@]} packages hidden:" "${packages[@]%%:*}" >&2
status=0
unshare -m "$0" --inside "$top" "$@" || status=$?
exit "$status"
