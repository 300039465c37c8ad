#!/usr/bin/env bash
# Makes the packages and checks them. With no argument: the Debian package of the release build
# (build/release/nomvarix_<version>_amd64.deb), installed with apt-get, whose installed program must
# start and name itself, then removed again. With "windows": the installer of the Windows build
# (build/windows/nomvarix-<version>-win64.exe).
set -euo pipefail
cd "$(dirname "$0")/.."

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if [ "${1:-}" = windows ]; then
  bash scripts/windows/configure.sh
  cmake --build --preset windows --target nomvarix
  (cd build/windows && cpack -G NSIS)
  ls build/windows/nomvarix-*-win64.exe
  exit 0
fi

bash scripts/build.sh release
rm -f build/release/nomvarix_*.deb
(cd build/release && cpack -G DEB)
deb=$(ls build/release/nomvarix_*.deb)
dpkg-deb --contents "$deb"

# A real installation: apt-get resolves the package's dependencies on this machine.
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "./$deb"
trap '"${sudo_cmd[@]}" apt-get remove -y -q nomvarix >/dev/null' EXIT
version=$(/usr/bin/nomvarix --version)
echo "$version"
grep -q Nomvarix <<<"$version"
desktop-file-validate /usr/share/applications/nomvarix.desktop
test -f /usr/share/icons/hicolor/scalable/apps/nomvarix.svg
