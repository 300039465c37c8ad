#!/usr/bin/env bash
# Two instances of the real program on one settings file, as file-manager clicks start them: A
# starts, then B; B changes the tree font, then A the editor font. Each write must keep the values
# the other instance wrote since it started: B's tree font, B's folder and B's recent list.
set -euo pipefail
program=$1
work=$(mktemp -d)
first= second=
trap 'for p in $first $second; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
mkdir -p "$work/photos" "$work/other"
touch "$work/photos/a.png" "$work/other/b.txt"
settings=$work/settings.conf
export NOMVARIX_SETTINGS_FILE=$settings

eventually() {
  for _ in $(seq 300); do "$@" && return 0; sleep 0.1; done
  echo "not reached: $*"; cat "$settings"; exit 1
}
has_line() { grep -qx "$1" "$settings" 2>/dev/null; }
# new_window <pid> [<window>]: the program window that is not <window>, once one is shown. A
# loaded machine may take long to start a sanitized build, so it waits as long as the process lives;
# the test's own time limit ends a hang.
new_window() {
  while kill -0 "$1" 2>/dev/null; do
    xdotool search --onlyvisible --name '^Nomvarix$' | grep -vx "${2:-}" && return 0
    sleep 0.1
  done
  echo "the program ended before showing its window:" >&2; cat "$work/stderr-$1" >&2; return 1
}
# side_by_side <window> <x>: the display has no window manager; windows open at 0,0 on each other.
# The display is wide enough for two windows of the program's smallest width.
side_by_side() {
  xdotool windowmove --sync "$1" "$2" 0
  eventually placed_at "$1" "$2"
}
placed_at() { xdotool getwindowgeometry "$1" | grep -q "Position: $2,0"; }
# ctrl_wheel <window> <x> <y> <button>: one Ctrl+wheel step over a point of the window.
ctrl_wheel() { xdotool mousemove --sync --window "$1" "$2" "$3" keydown ctrl click "$4" keyup ctrl; }

"$program" -- "$work/other" 2>"$work/stderr-first" &
first=$!
mv "$work/stderr-first" "$work/stderr-$first"
a=$(new_window "$first")
eventually has_line "LastPath=$work/other/"
side_by_side "$a" 0

"$program" -- "$work/photos" 2>"$work/stderr-second" &
second=$!
mv "$work/stderr-second" "$work/stderr-$second"
b=$(new_window "$second" "$a")
eventually has_line "LastPath=$work/photos/"
side_by_side "$b" 1300

ctrl_wheel "$b" 100 300 4  # the folder tree
eventually has_line 'TreeFontSize=[0-9]*'
ctrl_wheel "$a" 450 300 5  # the editor
eventually has_line 'FontSize=[0-9]*'

failures=0
for line in 'TreeFontSize=[0-9]*' "LastPath=$work/photos/" "File1=$work/photos/" "File2=$work/other/"; do
  has_line "$line" || { echo "lost: $line"; failures=$((failures + 1)); }
done
[ "$failures" -eq 0 ] || { cat "$settings"; exit 1; }
echo "1 passed, 0 failed"
