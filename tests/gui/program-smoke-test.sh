#!/usr/bin/env bash
# Starts the real program on a prepared folder and checks that its window comes up and that the
# folder was opened (it is stored as "LastPath" the moment it is selected).
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/photos/sub"
touch "$work/photos/b.jpg" "$work/photos/a.png"
export NOMVARIX_SETTINGS_FILE=$work/settings.conf

"$program" -x "$work/photos" &
pid=$!
# The limits only end a run that would hang; a slow machine gets there well before them.
window=$(timeout 90 xdotool search --sync --name '^Nomvarix$' | head -n 1)
[ -n "$window" ] || { echo "no window titled Nomvarix"; exit 1; }
deadline=$((SECONDS + 90))
until grep -q "LastPath=$work/photos/" "$NOMVARIX_SETTINGS_FILE" 2>/dev/null || [ $SECONDS -ge $deadline ]; do
  sleep 0.2
done
grep -q "LastPath=$work/photos/" "$NOMVARIX_SETTINGS_FILE" || { echo "folder not opened"; cat "$NOMVARIX_SETTINGS_FILE"; exit 1; }
kill -0 "$pid" || { echo "program ended early"; exit 1; }
echo "1 passed, 0 failed"
