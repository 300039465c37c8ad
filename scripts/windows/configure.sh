#!/usr/bin/env bash
# Installs the cross-build tools, builds the Windows libraries (once; cached outside the clone) and
# configures build/windows against them.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/setup.sh windows
deps=$(bash scripts/windows/build-deps.sh | tail -n 1)
# A build configured against other libraries keeps their paths in its cache: it starts afresh.
fresh=()
[ "$(cat build/windows/configured-deps 2>/dev/null)" = "$deps" ] || fresh=(--fresh)
cmake --preset windows "${fresh[@]}" -DNOMVARIX_WINDOWS_DEPS="$deps" >/dev/null
echo "$deps" >build/windows/configured-deps
