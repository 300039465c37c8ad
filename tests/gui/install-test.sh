#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the desktop finds a valid entry, its
# icon and the program it starts.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
desktop-file-validate "$prefix/share/applications/nomvarix.desktop"
test -x "$prefix/bin/nomvarix"
test -s "$prefix/share/icons/hicolor/scalable/apps/nomvarix.svg"
grep -q '^Exec=nomvarix %f$' "$prefix/share/applications/nomvarix.desktop"
echo "installed and valid"
