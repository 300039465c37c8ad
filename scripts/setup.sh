#!/usr/bin/env bash
# Installs the Debian packages Nomvarix needs to build, run, test and package; with the argument
# "windows", also those of the Windows cross-build, its installer and its tests under Wine; with
# "screenshot", also those of scripts/screenshot.sh. Safe to run again: it only calls
# apt-get when a package is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libwxgtk3.2-dev libicu-dev libcurl4-openssl-dev nlohmann-json3-dev libcpp-httplib-dev libpcre2-dev
  libsecret-1-dev libexiv2-dev libtag1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool xauth desktop-file-utils libglib2.0-bin xdg-utils file python3-tk
  librsvg2-bin lintian appstream man-db
)
if [ "${1:-}" = windows ]; then
  packages+=(g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev make nsis)
fi
if [ "${1:-}" = screenshot ]; then
  packages+=(x11-apps)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
