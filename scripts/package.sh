#!/usr/bin/env bash
# Makes the packages and checks them. With no argument: the Debian package of the release build
# (build/release/nomvarix_<version>_amd64.deb), checked by lintian and the AppStream validator (an
# error or a warning of either fails), installed with apt-get, whose installed program must start
# and name itself with the package's version, then removed again. With "windows": the installer of
# the Windows build (build/windows/nomvarix-<version>-win64.exe), installed silently under Wine, its
# program started, and uninstalled without leftovers.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if [ "${1:-}" = windows ]; then
  bash scripts/windows/configure.sh
  cmake --build --preset windows --target nomvarix
  rm -f build/windows/nomvarix-*-win64.exe
  (cd build/windows && cpack -G NSIS)
  installer=$(ls build/windows/nomvarix-*-win64.exe)
  version=${installer##*/nomvarix-}
  bash scripts/windows/installer-test.sh "$installer" "Nomvarix ${version%-win64.exe}"
  exit 0
fi

bash scripts/build.sh release
rm -f build/release/nomvarix_*.deb
(cd build/release && cpack -G DEB)
deb=$(ls build/release/nomvarix_*.deb)
package_version=$(dpkg-deb -f "$deb" Version)
dpkg-deb --contents "$deb"

# What Debian and the software centres check. lintian prints nothing when it has nothing to say.
echo "lintian $deb:"
lintian --fail-on error,warning "$deb"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
appstreamcli validate --no-net --strict "$unpacked"/usr/share/metainfo/*.metainfo.xml
appstreamcli validate-tree --no-net "$unpacked"

# A real installation: apt-get resolves the package's dependencies on this machine.
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "./$deb"
trap 'rm -rf "$unpacked"; "${sudo_cmd[@]}" apt-get remove -y -q nomvarix >/dev/null' EXIT
version=$(/usr/bin/nomvarix --version)
echo "$version"
[ "$version" = "Nomvarix $package_version" ]
desktop-file-validate /usr/share/applications/nomvarix.desktop
test -f /usr/share/icons/hicolor/scalable/apps/nomvarix.svg
for size in 16 32 48 64 128 256; do
  file /usr/share/icons/hicolor/${size}x${size}/apps/nomvarix.png | grep -q "PNG image data, $size x $size"
done
man -w nomvarix
