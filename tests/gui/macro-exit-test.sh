#!/usr/bin/env bash
# A long macro played in the real program while its window closes: Ctrl+Q pressed during the
# playback, and a macro whose own keys press Ctrl+Q halfway. Each run must end by itself with
# status 0, and a macro that closed the window must type nothing after its Ctrl+Q.
set -euo pipefail
program=$1
rounds=${2:-3}
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/names"
touch "$work/names/é.txt" "$work/names/日記.md"
export NOMVARIX_SETTINGS_FILE=$work/settings.conf XDG_STATE_HOME=$work/state
kept=$work/state/Nomvarix/KeptEdits
saved() { cat "$kept"/*.json 2>/dev/null; }

# Home pressed 500,000 times: far longer than any key round trip, whatever the machine.
awk 'BEGIN { for (i = 0; i < 500000; ++i) printf "36,D\r\n36,U\r\n" }' >"$work/long.km"
# Ctrl+Home (the caret to the start of the first line, wherever the click put it), "x", then
# Ctrl+Q, then 100,000 "y".
{ printf '17,D\r\n36,D\r\n36,U\r\n17,U\r\nX,D\r\nX,U\r\n17,D\r\nQ,D\r\nQ,U\r\n17,U\r\n'
  awk 'BEGIN { for (i = 0; i < 100000; ++i) printf "Y,D\r\nY,U\r\n" }'; } >"$work/quits.km"

eventually() {
  for _ in $(seq 300); do "$@" && return 0; sleep 0.1; done
  echo "not reached: $*"; exit 1
}
gone() { ! kill -0 "$1" 2>/dev/null; }
start() {
  "$program" -- "$work/names" 2>"$work/stderr" &
  pid=$!
  window=
  while [ -z "$window" ] && kill -0 "$pid" 2>/dev/null; do
    window=$(xdotool search --onlyvisible --name '^Nomvarix$' | head -n 1) || true
    sleep 0.1
  done
  [ -n "$window" ] || { echo "the program ended early:"; cat "$work/stderr"; exit 1; }
  eventually grep -q "LastPath=$work/names/" "$NOMVARIX_SETTINGS_FILE"
  # A caret at the start of a line.
  xdotool windowfocus --sync "$window" mousemove --sync --window "$window" 500 105 click 1 key Home
}
# Edit > Macros > Load Macro (the last item), then the file's path in the file dialog.
load_macro() {
  xdotool key alt+e Up Up Right Up Return
  local dialog
  dialog=$(timeout 60 xdotool search --sync --onlyvisible --name '^Load Macro$' | head -n 1)
  [ -n "$dialog" ] || { echo "no Load Macro dialog"; exit 1; }
  xdotool windowfocus --sync "$dialog" key ctrl+l
  xdotool type --delay 5 "$1"
  xdotool key Return
  eventually no_load_dialog
}
no_load_dialog() { ! xdotool search --onlyvisible --name '^Load Macro$' >/dev/null; }
# Edit > Macros > Play Macro.
play_macro() { xdotool windowfocus --sync "$window" key alt+e Up Up Right Down Return; }
ended_cleanly() {
  eventually gone "$pid"
  local status=0
  wait "$pid" || status=$?
  pid=
  [ "$status" = 0 ] || { echo "round $1: the program ended with status $status:"; cat "$work/stderr"; exit 1; }
}

for round in $(seq "$rounds"); do
  start
  load_macro "$work/long.km"
  play_macro
  xdotool key ctrl+q
  ended_cleanly "$round (Ctrl+Q pressed)"

  rm -rf "$kept"
  start
  load_macro "$work/quits.km"
  play_macro
  ended_cleanly "$round (Ctrl+Q played)"
  saved | grep -qE '"x(é\.txt|日記\.md)"' || { echo "round $round: the keys before Ctrl+Q are lost"; saved; exit 1; }
  ! saved | grep -q '"xy' || { echo "round $round: keys were played after Ctrl+Q"; saved; exit 1; }
done
echo "$((rounds * 2)) passed, 0 failed"
