#!/usr/bin/env bash
# Makes docs/screenshot.png: the program under a private Xvfb display on a folder of awkward names
# (accents, other scripts, emoji, a byte that is not UTF-8, spaces at the ends), with a few edits
# typed so that the changed-name marks and a conflict bracket show.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh screenshot
cmake --preset release >/dev/null
cmake --build --preset release --target nomvarix

# Under the build folder, so that the folder tree beside the files shows nothing of this machine.
mkdir -p build
work=$(mktemp -d "$root/build/screenshot.XXXXXX")
export HOME=$work/home NOMVARIX_SETTINGS_FILE=$work/settings.conf XDG_CONFIG_HOME=$work/config
folder="$HOME/Pictures/Holiday 2024"
mkdir -p "$folder"
for name in 'IMG_0412.JPG' 'IMG_0413.JPG' 'IMG_0414.JPG' 'Straße Köln.jpg' 'résumé 2023.PDF' \
            '写真_0001.jpeg' 'Москва.jpg' 'שלום.txt' 'emoji 😀.png' 'family 👨‍👩‍👧.jpg' \
            $'caf\xe9 latin-1.txt' '  spaces at both ends  .txt' 'notes.md'; do
  : >"$folder/$name"
done

display_file=$work/display
Xvfb -displayfd 3 -screen 0 1280x560x24 -nolisten tcp 3>"$display_file" </dev/null >/dev/null 2>&1 &
xvfb=$!
program=
trap 'kill $program $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
until [ -s "$display_file" ]; do kill -0 "$xvfb"; sleep 0.1; done
export DISPLAY=:$(head -n 1 "$display_file")

# Succeeds once the program's window shows every colour given as R,G,B.
shows() {
  local colours=()
  for colour in "$@"; do colours+=(--require "$colour"); done
  xwd -id "$window" | python3 scripts/xwd-to-png.py "${colours[@]}"
}
wait_until_shown() {
  until shows "$@"; do kill -0 "$program"; sleep 0.1; done
}

build/release/app/nomvarix "$folder" &
program=$!
window=$(xdotool search --sync --onlyvisible --name '^Nomvarix$' | head -n 1)
xdotool windowsize --sync "$window" 1280 560 windowfocus --sync "$window"
# The folder is loaded once the tree shows it selected.
wait_until_shown 53,132,228

# Edits in the "Name" scope (".ext" unchecked): the first line takes the name of the third (a red
# bracket), the second the name on disk of the first (a blue bracket), two more get longer.
line() { xdotool mousemove --sync --window "$window" 1000 $((105 + 27 * $1)) click 1; }
xdotool mousemove --sync --window "$window" 326 44 click 1
line 0 && xdotool key BackSpace type 4
line 1 && xdotool key BackSpace type 2
line 3 && xdotool type ' (final)'
line 7 && xdotool type ' - winter'
# Changed-name triangles, changed characters, the duplicate and the taken-name brackets.
wait_until_shown 240,64,64 180,0,0 255,64,64 64,64,255
xwd -id "$window" | python3 scripts/xwd-to-png.py >docs/screenshot.png
echo "docs/screenshot.png"
