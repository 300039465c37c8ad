#!/usr/bin/env bash
# Unapplied edits of two folders outlive the real program, whether it is closed through its menu or
# killed: each run types one character before the first line's new name, and the next run on that
# folder must show the edit of the last one (its own character lands before it in the saved file).
# Then two instances at once, one per folder, both closed: neither drops the other's edits. Last,
# a file replaced while the program was closed does not get the edit of the file it replaced.
set -euo pipefail
program=$1
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
mkdir -p "$work/photos" "$work/docs"
# The first line of photos/ is a name that is not UTF-8 (byte FF), with an emoji and a space at its end.
touch "$work/photos/a.png" "$work/photos/b.jpg" "$work/photos/"$'\xff'" é 😀 .bmp" "$work/docs/c.txt" "$work/docs/d.md"
export NOMVARIX_SETTINGS_FILE=$work/settings.conf XDG_STATE_HOME=$work/state
# One kept-edits file per folder.
saved() { cat "$work/state/Nomvarix/KeptEdits/"*.json 2>/dev/null; }

eventually() {
  for _ in $(seq 300); do "$@" && return 0; sleep 0.1; done
  echo "not reached: $*"; saved; exit 1
}
has() { saved | grep -F -- "$1" >/dev/null; }
gone() { ! kill -0 "$1" 2>/dev/null; }
# start <folder> [<window>]: runs the program on it; sets $pid, and $window (not <window>, which
# another instance shows) once the window shows the folder.
start() {
  local attempt
  for attempt in 1 2 3; do
    "$program" -- "$1" 2>"$work/stderr" &
    pid=$!
    pids+=("$pid")
    window=
    while [ -z "$window" ] && kill -0 "$pid" 2>/dev/null; do
      window=$(xdotool search --onlyvisible --name '^Nomvarix$' | grep -vx "${2:-}" | head -n 1) || true
      sleep 0.1
    done
    [ -n "$window" ] && break
    # Twice in CI, next to other GUI tests, a start right after a killed instance found no display
    # while the display kept answering xdotool. That is started again, and said; anything else fails.
    if ! grep -q "cannot open the display" "$work/stderr" || ! xdotool getdisplaygeometry >/dev/null 2>&1 ||
       [ "$attempt" = 3 ]; then
      echo "the program ended early:"; cat "$work/stderr"; exit 1
    fi
    echo "the program found no display although the display answers; starting it again. It said:"
    cat "$work/stderr"
  done
  eventually grep -q "LastPath=$1/" "$NOMVARIX_SETTINGS_FILE"
}
# type_first <window> <character>: the character goes before the first line's new name.
type_first() {
  xdotool windowfocus --sync "$1" mousemove --sync --window "$1" 500 105 click 1 key Home type "$2"
}
# close_window <window> <pid>: File > Exit, then waits for the program to end.
close_window() {
  xdotool windowfocus --sync "$1" key alt+f
  xdotool key x
  eventually gone "$2"
}

start "$work/photos"
type_first "$window" X
eventually has '"X%DCFF é 😀 .bmp"'
close_window "$window" "$pid"

start "$work/docs"
type_first "$window" W
eventually has '"Wd.md"'
kill -9 "$pid"
eventually gone "$pid"

start "$work/photos"
type_first "$window" Y
eventually has '"YX%DCFF é 😀 .bmp"'
has '"Wd.md"' || { echo "lost: docs/ after the second run was killed"; saved; exit 1; }
kill -9 "$pid"
eventually gone "$pid"

start "$work/docs"
type_first "$window" Z
eventually has '"ZWd.md"'
close_window "$window" "$pid"

start "$work/photos"
first=$window first_pid=$pid
xdotool windowsize --sync "$first" 620 700 windowmove --sync "$first" 0 0
start "$work/docs" "$first"
second=$window second_pid=$pid
xdotool windowsize --sync "$second" 620 700 windowmove --sync "$second" 640 0
type_first "$first" Q
type_first "$second" R
eventually has '"QYX%DCFF é 😀 .bmp"'
eventually has '"RZWd.md"'
# The first instance writes again after the second wrote its folder.
type_first "$first" P
eventually has '"PQYX%DCFF é 😀 .bmp"'
close_window "$second" "$second_pid"
close_window "$first" "$first_pid"
for edit in '"PQYX%DCFF é 😀 .bmp"' '"RZWd.md"'; do
  has "$edit" || { echo "lost: $edit"; saved; exit 1; }
done

# Another file put in the edited file's place while the program was closed: the edit was made for
# the file that is gone, so it is dropped, not given to the newcomer; the other folder keeps its own.
rm "$work/docs/d.md"
echo "another file" >"$work/docs/d.md"
start "$work/docs"
lacks() { ! has "$1"; }
eventually lacks '"RZWd.md"'
has '"PQYX%DCFF é 😀 .bmp"' || { echo "lost: photos/ when docs/ dropped its edit"; saved; exit 1; }
close_window "$window" "$pid"
echo "1 passed, 0 failed"
