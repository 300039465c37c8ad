#!/usr/bin/env bash
# Builds the Windows (x86_64, MinGW-w64, static) libraries of the photo and audio metadata readers
# from Debian's source packages: expat (for XMP), exiv2 (with ISO media formats and PNG) and TagLib.
# They link against the zlib of the prefix that build-deps.sh printed, which is the one argument.
# They go into a cache folder of their own, named by that prefix, the package versions and this
# script's contents; a complete folder is reused as it is (building it takes about 15 minutes on 2
# cores). Prints the folder's path on its last line.
set -euo pipefail
base=${1:?usage: build-metadata-deps.sh <prefix of build-deps.sh>}
[ -f "$base/.complete" ] || { echo "no complete base prefix at $base" >&2; exit 1; }

# The source packages need the deb-src entries that build-deps.sh writes before it builds.
packages=(expat exiv2 taglib)
versions=""
for p in "${packages[@]}"; do
  v=$(apt-cache showsrc "$p" | sed -n 's/^Version: //p' | sort -V | tail -n 1)
  [ -n "$v" ] || { echo "no source package $p" >&2; exit 1; }
  versions+="$p=$v "
done
key=$( (echo "$base"; echo "$versions"; cat "$0") | sha256sum | cut -c1-16)
cache_root=${NOMVARIX_WINDOWS_METADATA_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/nomvarix/windows-metadata-deps}
prefix=$cache_root/$key
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

host=x86_64-w64-mingw32
export CC=$host-gcc-posix CXX=$host-g++-posix AR=$host-ar RANLIB=$host-ranlib RC=$host-windres \
       WINDRES=$host-windres STRIP=$host-strip
export CPPFLAGS="-I$prefix/include -I$base/include" LDFLAGS="-L$prefix/lib -L$base/lib"
jobs=$(nproc)
# Builds for other versions, flags or base prefixes are not needed any more (only key folders go).
if [ -d "$cache_root" ]; then
  find "$cache_root" -mindepth 1 -maxdepth 1 -type d -regextype posix-extended \
       -regex '.*/[0-9a-f]{16}' -exec rm -rf {} +
fi
mkdir -p "$prefix/include" "$prefix/lib/pkgconfig"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fetch_patched() {  # unpacks a source package with Debian's patches; prints the folder
  (apt-get source -q --download-only "$1" && dpkg-source -x ./"$1"_*.dsc "src-$1") >&2
  echo "$work/src-$1"
}

# CMake projects are configured for the cross compilers, finding libraries in both prefixes only.
cross_cmake() {
  cmake -S . -B build -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=x86_64 \
    -DCMAKE_C_COMPILER="$CC" -DCMAKE_CXX_COMPILER="$CXX" -DCMAKE_RC_COMPILER="$RC" \
    -DCMAKE_FIND_ROOT_PATH="$prefix;$base;/usr/$host" -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER \
    -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
    -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib -DBUILD_SHARED_LIBS=OFF "$@" >&2
  cmake --build build -j"$jobs" >&2
  cmake --install build >&2
}

echo "building expat" >&2
cd "$(fetch_patched expat)/expat"
# Debian's security fixes test "XML_DTD == 1", as its own (autotools) build defines it; CMake's
# header would define it empty.
sed -i 's/^#cmakedefine XML_DTD$/#cmakedefine XML_DTD 1/' expat_config.h.cmake
cross_cmake -DEXPAT_SHARED_LIBS=OFF -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF \
  -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF
cd "$work"

echo "building exiv2" >&2
cd "$(fetch_patched exiv2)"
cross_cmake -DEXIV2_ENABLE_XMP=ON -DEXIV2_ENABLE_PNG=ON -DEXIV2_ENABLE_BMFF=ON \
  -DEXIV2_ENABLE_NLS=OFF -DEXIV2_ENABLE_VIDEO=OFF -DEXIV2_ENABLE_WEBREADY=OFF \
  -DEXIV2_ENABLE_CURL=OFF -DEXIV2_ENABLE_SSH=OFF -DEXIV2_ENABLE_PRINTUCS2=ON \
  -DEXIV2_BUILD_SAMPLES=OFF -DEXIV2_BUILD_EXIV2_COMMAND=OFF -DEXIV2_BUILD_UNIT_TESTS=OFF \
  -DEXIV2_BUILD_DOC=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Iconv=ON
# CMake's pkg-config module reads Libs and Cflags only: a static library names its dependencies
# there, and its headers need the static define (they would import the symbols from a DLL).
cat > "$prefix/lib/pkgconfig/exiv2.pc" <<PC
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: exiv2
Description: Image metadata library
Version: $(echo "$versions" | sed -n 's/.*exiv2=\([0-9.]*\).*/\1/p')
Libs: -L\${libdir} -lexiv2 -lexiv2-xmp -lexpat -L$base/lib -lz -lpsapi -lws2_32 -lshell32
Cflags: -I\${includedir} -Dexiv2lib_STATIC
PC
cd "$work"

echo "building TagLib" >&2
# Debian's patches are kept but one: the bundled UTF-8 headers stand in for Debian's own package.
apt-get source -q --download-only taglib >&2
dpkg-source -x --skip-patches ./taglib_*.dsc src-taglib >&2
cd src-taglib
grep -v -e '^#' -e 'system-libutf8cpp' debian/patches/series | while read -r patch; do
  [ -z "$patch" ] || patch -p1 <"debian/patches/$patch" >&2
done
cross_cmake -DBUILD_BINDINGS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DWITH_ZLIB=ON
cat > "$prefix/lib/pkgconfig/taglib.pc" <<PC
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: TagLib
Description: Audio meta-data library
Version: $(echo "$versions" | sed -n 's/.*taglib=\([0-9.]*\).*/\1/p')
Libs: -L\${libdir} -ltag -L$base/lib -lz
Cflags: -I\${includedir} -I\${includedir}/taglib -DTAGLIB_STATIC
PC
cd "$work"

echo "$versions" > "$prefix/.complete"
echo "$prefix"
