#!/usr/bin/env bash
# Ends the real program from outside after a random fill of its colour box:
# SIGTERM, SIGINT and SIGHUP close it the normal way (status 0, everything
# saved); kill -9 a few seconds after the fill still finds the colours saved.
# Usage: ended_from_outside.sh TINTAVO. Exit 77: no X server to run on.
set -euo pipefail
tintavo=$1
[[ -n "${DISPLAY:-}" ]] || { echo "no DISPLAY: skipped"; exit 77; }
command -v xdotool >/dev/null || { echo "xdotool missing: skipped"; exit 77; }
work=$(mktemp -d)
app_pid=
trap '[[ -n "$app_pid" ]] && kill -9 "$app_pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL [$signal]: $*" >&2; cat -A "$work/$signal/Tintavo.ini" >&2 || true; exit 1; }

for row in "TERM 0.2 0" "INT 0.2 0" "HUP 0.2 0" "KILL 3 137"; do
  read -r signal wait_s expected <<<"$row"
  dir="$work/$signal"
  mkdir -p "$dir"
  cp "$tintavo" "$dir/tintavo"
  (cd "$dir" && exec env QT_QPA_PLATFORM=xcb ./tintavo >"$dir/log" 2>&1) &
  app_pid=$!
  wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" --name Vantolux | head -1) ||
    fail "the main window did not appear"
  xdotool windowactivate --sync "$wid" key alt+r
  question=$(timeout 10 xdotool search --sync --onlyvisible --pid "$app_pid" --name '^Tintavo$' |
    head -1) || fail "the random fill asked nothing"
  # A key sent before the question has the focus goes nowhere; the fill runs
  # once the answer has closed the question.
  for _ in $(seq 50); do
    xdotool windowactivate --sync "$question" key alt+y 2>/dev/null || true
    sleep 0.2
    xdotool search --onlyvisible --pid "$app_pid" --name '^Tintavo$' >/dev/null || break
  done
  sleep "$wait_s"
  kill -"$signal" "$app_pid"
  status=0
  wait "$app_pid" || status=$?
  app_pid=
  ((status == expected)) || fail "ended with status $status, not $expected: $(cat "$dir/log")"
  colours=$(grep -c '^Color[0-9]*=' "$dir/Tintavo.ini" || true)
  ((colours >= 63)) || fail "$colours colours saved, not the 64 of the fill"
  grep -q $'^StartPoint=0\r$' "$dir/Tintavo.ini" || fail "no StartPoint saved"
  echo "ok: SIG$signal after ${wait_s}s: status $status, $colours colours saved"
done
