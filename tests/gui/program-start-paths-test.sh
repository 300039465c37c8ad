#!/usr/bin/env bash
# Starts the real program on start paths that the folder tree cannot take as they are written: one
# with "..", and one naming a folder whose name is not UTF-8. Each must open its folder and be
# remembered byte for byte as "LastPath" and in the recent list.
set -euo pipefail
program=$(realpath "$1")
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
bad=$(printf 'bad\377name')
mkdir -p "$work/photos/sub" "$work/$bad"
touch "$work/photos/a.png" "$work/$bad/x.txt"
failed=0

# Waits until the settings file holds the line; fails after 20 s.
expect_setting() {
  for _ in $(seq 100); do
    grep -qaF -x "$1" "$NOMVARIX_SETTINGS_FILE" 2>/dev/null && return 0
    sleep 0.2
  done
  echo "no line '$1' in the settings:"; cat -v "$NOMVARIX_SETTINGS_FILE" 2>/dev/null
  return 1
}

run_on() {  # start path, folder expected (ending with /)
  export NOMVARIX_SETTINGS_FILE=$work/settings-$RANDOM.conf
  "$program" "$1" &
  pid=$!
  if expect_setting "LastPath=$2" && expect_setting "File1=$2"; then
    echo "ok: $(printf '%q' "$1")"
  else
    echo "FAILED: $(printf '%q' "$1")"; failed=1
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
}

run_on "$work/photos/sub/.." "$work/photos/"
cd "$work/photos/sub"
run_on ".." "$work/photos/"
cd "$work"
run_on "$work/$bad" "$work/$bad/"
[ "$failed" -eq 0 ] || exit 1
echo "3 passed, 0 failed"
