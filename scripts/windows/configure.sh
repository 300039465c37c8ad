#!/usr/bin/env bash
# Installs the cross-build tools, builds the Windows libraries (once; cached outside the clone) and
# configures build/windows against them.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/setup.sh windows
deps=$(bash scripts/windows/build-deps.sh | tail -n 1)
metadata_deps=$(bash scripts/windows/build-metadata-deps.sh "$deps" | tail -n 1)
# A build configured against other libraries keeps their paths in its cache: it starts afresh.
fresh=()
[ "$(cat build/windows/configured-deps 2>/dev/null)" = "$deps $metadata_deps" ] || fresh=(--fresh)
cmake --preset windows "${fresh[@]}" -DNOMVARIX_WINDOWS_DEPS="$deps" \
  -DNOMVARIX_WINDOWS_METADATA_DEPS="$metadata_deps" >/dev/null
echo "$deps $metadata_deps" >build/windows/configured-deps
