#!/usr/bin/env bash
# Asks the real program for its usage and its version without a display: each is printed on
# standard output, with status 0 and nothing on standard error. A text that cannot be written (a
# full device) and a command line that cannot be read end with an error on standard error and a
# status that says so, still before any display is needed.
set -uo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export NOMVARIX_SETTINGS_FILE=$work/settings.conf
passed=0

run() {  # expected status, arguments...
  local expected=$1
  shift
  env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 "$program" "$@" >"${out:-$work/out}" 2>"$work/err"
  status=$?
  [ "$status" -eq "$expected" ] || { echo "$*: exit status $status, expected $expected"; cat "$work/err"; exit 1; }
  passed=$((passed + 1))
}

run 0 --help
[ ! -s "$work/err" ] || { echo "--help: unexpected error output:"; cat "$work/err"; exit 1; }
grep -q '^Usage: nomvarix ' "$work/out" || { echo "--help printed no usage:"; cat "$work/out"; exit 1; }
grep -q -- '--version' "$work/out" || { echo "--help does not name --version:"; cat "$work/out"; exit 1; }
run 0 "$work" --version
[ "$(cat "$work/out")" = "Nomvarix 1.00" ] || { echo "--version printed:"; cat "$work/out"; exit 1; }

if [ -w /dev/full ]; then
  out=/dev/full run 1 --help
  grep -q '^nomvarix: write error' "$work/err" || { echo "--help on a full device said:"; cat "$work/err"; exit 1; }
  out=/dev/full run 1 --version
fi

for wrong in "--frobnicate" "-x $work" "$work $work" "-- $work --help"; do
  # shellcheck disable=SC2086 # each case is a list of words
  run 2 $wrong
  [ ! -s "$work/out" ] || { echo "$wrong: unexpected output:"; cat "$work/out"; exit 1; }
  [ "$(wc -l <"$work/err")" -eq 2 ] && [ "$(sed -n 2p "$work/err")" = "Try 'nomvarix --help'." ] ||
    { echo "$wrong: standard error holds:"; cat "$work/err"; exit 1; }
done
grep -qx "nomvarix: extra operand '--help'" <(head -n 1 "$work/err") || { echo "after --:"; cat "$work/err"; exit 1; }

[ ! -e "$work/settings.conf" ] || { echo "a settings file was written"; exit 1; }
echo "$passed passed, 0 failed"
