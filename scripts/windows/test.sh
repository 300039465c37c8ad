#!/usr/bin/env bash
# Installs the cross-build tools, builds the Windows libraries (once; cached outside the clone),
# builds nomvarix.exe and its tests for 64-bit Windows, and runs the tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/windows/configure.sh
cmake --build --preset windows

# One Wine prefix per build, and its server started before ctest: a server that a test started
# would hold ctest's output pipes open after the test ends. Wine's desktop takes the display of the
# session's first program, so the session starts inside the Xvfb display that all tests share.
export NOMVARIX_WINEPREFIX=$PWD/build/windows/wineprefix
export WINEPREFIX=$NOMVARIX_WINEPREFIX
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$display_file" </dev/null >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true; rm -f "$display_file"' EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n 1 "$display_file")

wineserver -p </dev/null >/dev/null 2>&1 || true  # 1 when one is already running
scripts/windows/wine-run.sh cmd /c exit </dev/null >/dev/null 2>&1
# Wine hides files whose names start with "."; Windows does not.
scripts/windows/wine-run.sh reg add 'HKCU\Software\Wine' /v ShowDotFiles /d Y /f </dev/null >/dev/null 2>&1
# Now and then a Wine process ends at once, before the test program prints anything (about one run
# in six here, a different test each time). A failed test therefore runs once more: a real failure
# fails both times and still fails the run.
ctest --preset windows -j "$(nproc)" --output-on-failure --repeat until-pass:2
