#!/usr/bin/env bash
# Ends the real program from outside after a random fill of its colour box:
# SIGTERM, SIGINT and SIGHUP close it the normal way (status 0, everything
# saved); kill -9 a few seconds after the fill still finds the colours saved.
# Usage: ended_from_outside.sh TINTAVO. Exit 77: no X server to run on.
source "$(dirname "$0")/../lib.sh"
tintavo=$1
need_x
for row in "TERM 0.2 0" "INT 0.2 0" "HUP 0.2 0" "KILL 3 137"; do
  read -r step wait_s expected <<<"$row"
  start_program
  xdotool windowactivate --sync "$main_wid" key alt+r
  question=$(timeout 10 xdotool search --sync --onlyvisible --all --pid "$app_pid" --name '^Tintavo$' |
    head -1) || fail "the random fill asked nothing"
  # A key sent before the question has the focus goes nowhere; the fill runs
  # once the answer has closed the question.
  for _ in $(seq 50); do
    xdotool windowactivate --sync "$question" key alt+y 2>/dev/null || true
    sleep 0.2
    xdotool search --onlyvisible --all --pid "$app_pid" --name '^Tintavo$' >/dev/null || break
  done
  sleep "$wait_s"
  kill -"$step" "$app_pid"
  end_status "$expected"
  colours=$(grep -c '^Color[0-9]*=' "$ini" || true)
  ((colours >= 63)) || fail "$colours colours saved, not the 64 of the fill"
  grep -q $'^StartPoint=0\r$' "$ini" || fail "no StartPoint saved"
  echo "ok: SIG$step after ${wait_s}s: status $expected, $colours colours saved"
done
