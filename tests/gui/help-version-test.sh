#!/usr/bin/env bash
# Asks the real program for its usage and its version without a display: each is printed on
# standard output, with status 0 and nothing on standard error.
set -uo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export NOMVARIX_SETTINGS_FILE=$work/settings.conf

run() {
  env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 "$program" "$@" >"$work/out" 2>"$work/err"
  status=$?
  [ "$status" -eq 0 ] || { echo "$*: exit status $status, expected 0"; cat "$work/err"; exit 1; }
  [ ! -s "$work/err" ] || { echo "$*: unexpected error output:"; cat "$work/err"; exit 1; }
}

run --help
grep -q '^Usage: nomvarix ' "$work/out" || { echo "--help printed no usage:"; cat "$work/out"; exit 1; }
grep -q -- '--version' "$work/out" || { echo "--help does not name --version:"; cat "$work/out"; exit 1; }
run "$work" --version
[ "$(cat "$work/out")" = "Nomvarix 1.00" ] || { echo "--version printed:"; cat "$work/out"; exit 1; }
[ ! -e "$work/settings.conf" ] || { echo "a settings file was written"; exit 1; }
echo "2 passed, 0 failed"
