#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite: once in the release build, and
# once built with the address and undefined-behaviour sanitizers. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

# A program started under Xvfb beside other GUI tests now and then fails to come up at all (seen a
# few times in a full run, never alone). A failed GUI test therefore runs once more: a real failure
# fails both times and still fails the run. The other tests run once, so that a model test's fresh
# seed that fails is never hidden by a second seed that passes.
gui='Gui|Program|Smoke'
retry=(--repeat until-pass:2)

bash scripts/build.sh release
ctest --preset release -j "$jobs" -E "$gui"
ctest --preset release -j "$jobs" -R "$gui" "${retry[@]}"

bash scripts/build.sh asan
# The toolkit's own libraries keep allocations until exit; leaks are looked for in the core only.
ASAN_OPTIONS=detect_leaks=0 ctest --preset asan -j "$jobs" -R "$gui" "${retry[@]}"
ctest --preset asan -j "$jobs" -E "$gui"
