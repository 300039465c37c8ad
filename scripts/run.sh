#!/usr/bin/env bash
# Installs what is needed, builds, and starts Nomvarix, on the folder given as argument if any.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh" release
exec "$root/build/release/app/nomvarix" "$@"
