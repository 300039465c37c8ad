#!/usr/bin/env bash
# Starts the real program on a prepared folder and checks that its window comes up and that the
# folder was opened (it is stored as "LastPath" the moment it is selected). Then starts it on a path
# that names nothing: that is said on standard error and in a message over the window, and no
# folder is opened.
set -euo pipefail
program=$1
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/photos/sub"
touch "$work/photos/b.jpg" "$work/photos/a.png"
export NOMVARIX_SETTINGS_FILE=$work/settings.conf

"$program" -- "$work/photos" &
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
kill "$pid"
wait "$pid" 2>/dev/null || true

gone="$work/gone/日記 é"
export NOMVARIX_SETTINGS_FILE=$work/settings-gone.conf
"$program" "$gone" 2>"$work/stderr" &
pid=$!
# The main window and the message over it carry the program's name as their title.
deadline=$((SECONDS + 90))
until [ "$(xdotool search --onlyvisible --name '^Nomvarix$' 2>/dev/null | wc -l)" -ge 2 ] || [ $SECONDS -ge $deadline ]; do
  sleep 0.2
done
[ "$(xdotool search --onlyvisible --name '^Nomvarix$' | wc -l)" -ge 2 ] || { echo "no message over the window"; exit 1; }
grep -qxF "nomvarix: cannot open '$gone': there is no such folder or file" "$work/stderr" ||
  { echo "standard error holds:"; cat "$work/stderr"; exit 1; }
! grep -q "LastPath=." "$NOMVARIX_SETTINGS_FILE" 2>/dev/null || { echo "a folder was opened"; exit 1; }
echo "2 passed, 0 failed"
