#!/usr/bin/env bash
# Starts the real program with its own files replaced by what users and accidents put there: a
# pipe, a link to /dev/zero, a read-only file, a link into a dotfiles folder, a huge file. Each
# start must open its folder and answer Ctrl+Q, stay small, and leave the file as it found it.
set -euo pipefail
program=$1
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill -9 "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/photos" "$work/state/Nomvarix" "$work/dotfiles"
touch "$work/photos/a.png" "$work/photos/b.png"
export XDG_STATE_HOME=$work/state
settings=$work/settings.conf
kept=$work/state/Nomvarix/PendingEdits.json  # an earlier version's single file, read once to move it
kept_folder=$work/state/Nomvarix/KeptEdits
failures=0
passed=0

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null || echo 0; }

# run_case <name> <settings file for the run>: starts, waits for the window, quits with Ctrl+Q.
run_case() {
  local name=$1 window
  NOMVARIX_SETTINGS_FILE=$2 "$program" -- "$work/photos" 2>"$work/stderr" &
  pid=$!
  window=$(timeout 90 xdotool search --sync --onlyvisible --name '^Nomvarix$' | head -n 1) || true
  if [ -z "$window" ]; then
    echo "$name: no window titled Nomvarix"; failures=$((failures + 1))
  else
    # The folder is opened once the window has painted; a read that waits would hold it up.
    xdotool windowfocus --sync "$window" key ctrl+q || true
    if ! timeout 60 tail --pid="$pid" -f /dev/null; then
      echo "$name: Ctrl+Q did not end the program (RSS $(rss_kb "$pid") kB)"; failures=$((failures + 1))
    elif grep -qi 'assert' "$work/stderr"; then
      echo "$name: the toolkit asserted:"; cat "$work/stderr"; failures=$((failures + 1))
    else
      passed=$((passed + 1))
    fi
  fi
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
}

reset_files() { rm -rf "$settings" "$settings.bad" "$kept" "$kept_folder" "$work/dotfiles/"*; }

reset_files; mkfifo "$settings"
run_case "settings a pipe" "$settings"
[ -p "$settings" ] || { echo "settings pipe replaced"; failures=$((failures + 1)); }

reset_files; ln -s /dev/zero "$settings"
run_case "settings a link to /dev/zero" "$settings"
[ -L "$settings" ] || { echo "settings link to /dev/zero replaced"; failures=$((failures + 1)); }

reset_files; printf '[Settings]\nFontSize=30\n' >"$work/dotfiles/Nomvarix.conf"
ln -s "$work/dotfiles/Nomvarix.conf" "$settings"
run_case "settings a link" "$settings"
if [ ! -L "$settings" ] || ! grep -q "LastPath=$work/photos/" "$work/dotfiles/Nomvarix.conf"; then
  echo "settings link: not written through the link"; failures=$((failures + 1))
fi

reset_files; printf '[Settings]\nFontSize=30\n' >"$settings"; chmod 444 "$settings"
run_case "settings read-only" "$settings"
if [ "$(cat "$settings")" != "$(printf '[Settings]\nFontSize=30\n')" ]; then
  echo "settings read-only: the file was changed"; failures=$((failures + 1))
fi

reset_files; { printf '[Settings]\nFontSize=30\n'; head -c 10000000 /dev/zero | tr '\0' '#'; } >"$settings"
run_case "settings of 10 MB" "$settings"
if [ "$(stat -c %s "$settings.bad" 2>/dev/null)" != 10000023 ]; then
  echo "settings of 10 MB: not set aside whole"; failures=$((failures + 1))
fi

reset_files; mkfifo "$kept"
run_case "kept edits a pipe" "$settings"

reset_files; ln -s /dev/zero "$kept"
run_case "kept edits a link to /dev/zero" "$settings"

reset_files; ln -s /dev/zero "$kept_folder"
run_case "kept edits folder a link to /dev/zero" "$settings"

echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
