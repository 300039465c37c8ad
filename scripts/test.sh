#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite: once in the release build, and
# once built with the address and undefined-behaviour sanitizers. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

bash scripts/build.sh release
ctest --preset release -j "$jobs"

bash scripts/build.sh asan
# The toolkit's own libraries keep allocations until exit; leaks are looked for in the core only.
ASAN_OPTIONS=detect_leaks=0 ctest --preset asan -j "$jobs" -R 'Gui|Smoke'
ctest --preset asan -j "$jobs" -E 'Gui|Smoke'
