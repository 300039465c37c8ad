#!/usr/bin/env bash
# The CPU (user + sys) of the whole program, start-up included, from its start until it is idle
# with the folder opened and painted, for a folder of 100,000 files against an empty folder; the
# median of several runs of each, and their ratio (target ≤ 1.5×). NOMVARIX_QUIT_WHEN_IDLE makes
# the program quit at that point; its ending is counted too. Run it from the worktree after building the program:
#
#   bash bench/open-folder-cpu.sh [build/release/app/nomvarix] [runs, default 5] [files, default 100000]
#
# The wall-clock seconds are the median of the same runs.
set -euo pipefail
program=${1:-build/release/app/nomvarix}
runs=${2:-5}
files=${3:-100000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/empty" "$work/large"
# $files empty files with names of 20 to 40 characters.
awk -v files="$files" 'BEGIN { srand(100000); letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-"
             for (i = 0; i < files; i++) { name = i "_"; n = 16 + int(rand() * 21) - length(name)
               for (k = 0; k < n; k++) name = name substr(letters, 1 + int(rand() * 64), 1)
               print name ".jpg" } }' | (cd "$work/large" && xargs touch)
export NOMVARIX_QUIT_WHEN_IDLE=1 NOMVARIX_SETTINGS_FILE=$work/settings.conf XDG_STATE_HOME=$work/state

# The median user + sys seconds of the program alone (not the display server) on folder $1, and
# the median wall-clock seconds of the same runs.
median_cpu() {
  for _ in $(seq "$runs"); do
    xvfb-run -a /usr/bin/time -f '%U %S %e' -o "$work/time" "$program" "$1" >/dev/null 2>&1
    awk '{ printf "%.3f %.3f\n", $1 + $2, $3 }' "$work/time"
  done >"$work/runs"
  median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
  echo "$(cut -d' ' -f1 "$work/runs" | median) $(cut -d' ' -f2 "$work/runs" | median)"
}

read -r empty emptyWall < <(median_cpu "$work/empty")
read -r large largeWall < <(median_cpu "$work/large")
label=$(printf "%'d" "$files" 2>/dev/null || echo "$files")
echo "open empty folder, CPU:         ${empty} s   (wall ${emptyWall} s)"
echo "open ${label}-file folder, CPU:  ${large} s   (wall ${largeWall} s)"
target=$([ "$files" -ge 1000000 ] && echo 4 || echo 1.5)
awk -v a="$large" -v b="$empty" -v t="$target" 'BEGIN { printf "ratio (target <= %sx):                    %.2fx\n", t, a / b }'
