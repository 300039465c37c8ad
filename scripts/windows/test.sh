#!/usr/bin/env bash
# Installs the cross-build tools, builds the Windows libraries (once; cached outside the clone),
# builds nomvarix.exe and its tests for 64-bit Windows, and runs the tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/setup.sh windows
deps=$(bash scripts/windows/build-deps.sh | tail -n 1)
cmake --preset windows -DNOMVARIX_WINDOWS_DEPS="$deps" >/dev/null
cmake --build --preset windows

# One Wine prefix per build, and its server started before ctest: a server that a test started
# would hold ctest's output pipes open after the test ends.
export NOMVARIX_WINEPREFIX=$PWD/build/windows/wineprefix
export WINEPREFIX=$NOMVARIX_WINEPREFIX
trap 'wineserver -k 2>/dev/null || true' EXIT
wineserver -p </dev/null >/dev/null 2>&1
scripts/windows/wine-run.sh cmd /c exit </dev/null >/dev/null 2>&1
ctest --preset windows -j "$(nproc)"
