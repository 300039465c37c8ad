#!/usr/bin/env bash
# Starts the real program without a display: it must say so in one line on standard error and end
# with status 1, not crash.
set -uo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export NOMVARIX_SETTINGS_FILE=$work/settings.conf

env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 "$program" "$work" >"$work/out" 2>"$work/err"
status=$?
[ "$status" -eq 1 ] || { echo "exit status $status, expected 1"; cat "$work/err"; exit 1; }
[ "$(wc -l <"$work/err")" -eq 1 ] || { echo "expected one line on standard error:"; cat "$work/err"; exit 1; }
grep -qi "display" "$work/err" || { echo "the line does not mention the display:"; cat "$work/err"; exit 1; }
[ ! -s "$work/out" ] || { echo "unexpected output:"; cat "$work/out"; exit 1; }
echo "1 passed, 0 failed"
