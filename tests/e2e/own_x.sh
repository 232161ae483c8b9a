#!/usr/bin/env bash
# Runs a command on an X server of its own (Xvfb, 1280×1024, with openbox), so
# that a long end-to-end run need not wait for the shared test server.
# Usage: own_x.sh COMMAND... Exit 77: no Xvfb or openbox.
set -euo pipefail
command -v Xvfb >/dev/null && command -v openbox >/dev/null || { echo "no Xvfb/openbox: skipped"; exit 77; }
source "$(dirname "$0")/../../scripts/xvfb.sh"
dir=$(mktemp -d)
openbox_pid=
trap '[[ -z $openbox_pid ]] || kill $openbox_pid 2>/dev/null; kill ${xvfb_pid:-} 2>/dev/null; wait 2>/dev/null; rm -rf "$dir"' EXIT
start_private_xvfb $((500 + RANDOM % 200)) 1280x1024x24 "$dir/xvfb.log"
start_openbox "$dir"
status=0
"$@" || status=$?
exit "$status"
