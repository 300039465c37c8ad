#!/usr/bin/env bash
# Starts nomvarix.exe under Wine on a prepared folder and checks that its window comes up and that
# it opened the folder, which it stores as "LastPath" in the registry the moment it is selected.
set -euo pipefail
program=$1
[ -n "${DISPLAY:-}" ] || { echo "needs the display of the Wine session (scripts/windows/test.sh)"; exit 1; }
run=$(cd "$(dirname "$0")/../.." && pwd)/scripts/windows/wine-run.sh
work=$(mktemp -d)
trap '"$run" taskkill /f /im nomvarix.exe >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
mkdir -p "$work/photos/sub"
touch "$work/photos/b.jpg" "$work/photos/a.png"
folder=$("$run" winepath -w "$work/photos" | tr -d '\r')

"$run" "$program" -- "$folder" </dev/null >/dev/null 2>&1 &
timeout 90 xdotool search --sync --name '^Nomvarix$' >/dev/null || { echo "no window titled Nomvarix"; exit 1; }
# Polled until it is there; the limit only ends a run that would hang.
value=
deadline=$((SECONDS + 60))
until [ "$value" = "$folder\\" ] || [ $SECONDS -ge $deadline ]; do
  sleep 0.3
  value=$("$run" reg query 'HKCU\Software\Quorvantine\Nomvarix\Settings' /v LastPath 2>/dev/null |
          tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p')
done
[ "$value" = "$folder\\" ] || { echo "LastPath is '$value', expected '$folder\\'"; exit 1; }
echo "1 passed, 0 failed"
