#!/usr/bin/env bash
# Starts the real program on settings files with damaged or out-of-range values. Each start must
# open its folder with no message and no assertion, and the editor font must be in force at a
# usable size: one Ctrl+wheel step writes the size it started with plus or minus one step.
set -euo pipefail
program=$1
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/photos"
touch "$work/photos/a.png"
settings=$work/settings.conf
export NOMVARIX_SETTINGS_FILE=$settings
failures=0

eventually() {
  for _ in $(seq 300); do "$@" && return 0; sleep 0.1; done
  return 1
}
has_line() { grep -qxF "$1" "$settings" 2>/dev/null; }

# start_on <case> <settings content> <wheel button: 4 larger, 5 smaller> [<FontSize line expected after it>]
start_on() {
  local name=$1 wheel=$3 expected=${4:-} window others
  printf '%b' "$2" >"$settings"
  "$program" -- "$work/photos" 2>"$work/stderr" &
  pid=$!
  window=$(timeout 90 xdotool search --sync --onlyvisible --name '^Nomvarix$' | head -n 1) || true
  if [ -z "$window" ]; then
    echo "$name: no window titled Nomvarix"; failures=$((failures + 1))
  elif ! eventually has_line "LastPath=$work/photos/"; then
    echo "$name: folder not opened"; failures=$((failures + 1))
  else
    xdotool mousemove --sync 600 300 keydown ctrl click "$wheel" keyup ctrl
    if ! eventually grep -q "^${expected:-FontSize=}" "$settings"; then
      echo "$name: after one font step the file holds '$(grep FontSize= "$settings")', not $expected"
      failures=$((failures + 1))
    fi
    others=$(xdotool search --onlyvisible --name '.' | grep -vx "$window" || true)
    if [ -n "$others" ]; then
      echo "$name: another window is shown: $(xdotool getwindowname $others)"; failures=$((failures + 1))
    fi
  fi
  if grep -qi 'assert' "$work/stderr"; then
    echo "$name: the toolkit asserted:"; cat "$work/stderr"; failures=$((failures + 1))
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
}

# The default size one step up, as a start without settings writes it.
start_on "no settings" "" 4
default_step=$(grep '^FontSize=' "$settings")

random_bytes=
for i in $(seq 0 255); do random_bytes+=$(printf '\\0%03o' $(((i * 37 + 11) % 256))); done

start_on "FontSize=0" "[Settings]\nFontSize=0\n" 4 "FontSize=9"
start_on "FontSize=100000" "[Settings]\nFontSize=100000\n" 5 "FontSize=63"
start_on "random bytes" "$random_bytes" 4 "$default_step"
start_on "a line =x" "[Settings]\n=x\n" 4 "$default_step"

[ "$failures" -eq 0 ] || exit 1
echo "5 passed, 0 failed"
