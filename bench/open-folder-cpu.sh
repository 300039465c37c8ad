#!/usr/bin/env bash
# The CPU (user + sys) of the whole program, start-up included, from its start until it is idle
# with the folder opened and painted, for a folder of 100,000 files against an empty folder; the
# median of several runs of each, and their ratio (target ≤ 1.5×). NOMVARIX_QUIT_WHEN_IDLE makes
# the program quit at that point; its ending is counted too. Run it from the worktree after building the program:
#
#   bash bench/open-folder-cpu.sh [build/release/app/nomvarix] [runs, default 5]
set -euo pipefail
program=${1:-build/release/app/nomvarix}
runs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/empty" "$work/large"
# 100,000 empty files with names of 20 to 40 characters.
awk 'BEGIN { srand(100000); letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-"
             for (i = 0; i < 100000; i++) { name = i "_"; n = 16 + int(rand() * 21) - length(name)
               for (k = 0; k < n; k++) name = name substr(letters, 1 + int(rand() * 64), 1)
               print name ".jpg" } }' | (cd "$work/large" && xargs touch)
export NOMVARIX_QUIT_WHEN_IDLE=1 NOMVARIX_SETTINGS_FILE=$work/settings.conf XDG_STATE_HOME=$work/state

# The median user + sys seconds of the program alone (not the display server) on folder $1.
median_cpu() {
  for _ in $(seq "$runs"); do
    xvfb-run -a /usr/bin/time -f '%U %S' -o "$work/time" "$program" "$1" >/dev/null 2>&1
    awk '{ printf "%.3f\n", $1 + $2 }' "$work/time"
  done | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

empty=$(median_cpu "$work/empty")
large=$(median_cpu "$work/large")
echo "open empty folder, CPU:         ${empty} s"
echo "open 100,000-file folder, CPU:  ${large} s"
awk -v a="$large" -v b="$empty" 'BEGIN { printf "ratio (target <= 1.5x):                    %.2fx\n", a / b }'
