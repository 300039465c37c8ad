#!/usr/bin/env bash
# Builds the Windows (x86_64, MinGW-w64, static) libraries Nomvarix needs from Debian's source
# packages: zlib and libpng (for PNG images), wxWidgets 3.2 (MSW), libcurl (Schannel), PCRE2 (its
# 16-bit library, for regular expressions over UTF-16 names) and libexif (for dates taken).
# They go into a cache folder outside the clone, named by the package versions and this script's
# contents; a complete folder is reused as it is. Prints the folder's path on its last line.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

# The source packages need deb-src entries for the running release.
sources=/etc/apt/sources.list.d/nomvarix-deb-src.sources
if [ ! -f "$sources" ]; then
  . /etc/os-release
  "${sudo_cmd[@]}" tee "$sources" >/dev/null <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: ${VERSION_CODENAME} ${VERSION_CODENAME}-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  "${sudo_cmd[@]}" apt-get update -q >/dev/null
fi

packages=(zlib libpng1.6 wxwidgets3.2 curl pcre2 libexif)
versions=""
for p in "${packages[@]}"; do
  v=$(apt-cache showsrc "$p" | sed -n 's/^Version: //p' | sort -V | tail -n 1)
  [ -n "$v" ] || { echo "no source package $p" >&2; exit 1; }
  versions+="$p=$v "
done
key=$( (echo "$versions"; cat "$0") | sha256sum | cut -c1-16)
cache_root=${NOMVARIX_WINDOWS_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/nomvarix/windows-deps}
prefix=$cache_root/$key
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

host=x86_64-w64-mingw32
export CC=$host-gcc-posix CXX=$host-g++-posix AR=$host-ar RANLIB=$host-ranlib RC=$host-windres \
       WINDRES=$host-windres STRIP=$host-strip
export CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib"
jobs=$(nproc)
# Builds for other versions or flags are not needed any more (only folders named like a key go).
if [ -d "$cache_root" ]; then
  find "$cache_root" -mindepth 1 -maxdepth 1 -type d -regextype posix-extended \
       -regex '.*/[0-9a-f]{16}' -exec rm -rf {} +
fi
mkdir -p "$prefix/include" "$prefix/lib"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fetch() {  # unpacks a source package without its Debian patches; prints the folder
  (apt-get source -q --download-only "$1" && dpkg-source -x --skip-patches ./"$1"_*.dsc "src-$1") >&2
  echo "$work/src-$1"
}
fetch_patched() {  # the same with Debian's patches, for fixes that the build must not lose
  (apt-get source -q --download-only "$1" && dpkg-source -x ./"$1"_*.dsc "src-$1") >&2
  echo "$work/src-$1"
}

echo "building zlib" >&2
cd "$(fetch zlib)"
# Debian's tarball has no win32 makefile; the library is its top-level C files.
for c in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate \
         inftrees trees uncompr zutil; do
  "$CC" -O2 -c "$c.c" -o "$c.o"
done
"$AR" rcs libz.a ./*.o
cp zlib.h zconf.h "$prefix/include/" && cp libz.a "$prefix/lib/"
cd "$work"

echo "building libpng" >&2
cd "$(fetch libpng1.6)"
./configure --host=$host --prefix="$prefix" --disable-shared --enable-static >&2
make -j"$jobs" install >&2
cd "$work"

echo "building wxWidgets (about 8 minutes on 2 cores)" >&2
cd "$(fetch wxwidgets3.2)"
./configure --host=$host --build="$(gcc -dumpmachine)" --prefix="$prefix" --with-msw \
  --disable-shared --disable-debug_flag --with-libpng=sys --with-zlib=sys --without-libjpeg \
  --without-libtiff --without-liblzma --without-expat --without-opengl --with-regex=builtin \
  --disable-stc --disable-xrc --disable-aui --disable-ribbon --disable-propgrid --disable-richtext \
  --disable-webview --disable-mediactrl --disable-html --disable-webrequest >&2
make -j"$jobs" >&2
make install >&2
cd "$work"

echo "building libcurl" >&2
cd "$(fetch curl)"
./configure --host=$host --prefix="$prefix" --disable-shared --enable-static --with-schannel \
  --with-zlib="$prefix" --without-libpsl --without-brotli --without-zstd --without-libidn2 \
  --without-nghttp2 --without-librtmp --disable-ldap --disable-ldaps --disable-manual >&2
make -j"$jobs" -C lib install >&2
make -C include install >&2
cd "$work"

echo "building PCRE2 (16-bit)" >&2
cd "$(fetch pcre2)"
# A static build writes -DPCRE2_STATIC into the pkg-config file's Cflags.
./configure --host=$host --prefix="$prefix" --disable-shared --enable-static --enable-pcre2-16 \
  --disable-pcre2-8 >&2
make -j"$jobs" libpcre2-16.la >&2
make install-libLTLIBRARIES install-nodist_includeHEADERS install-pkgconfigDATA >&2
cd "$work"

echo "building libexif" >&2
# Its security fixes are Debian patches. The tarball has no configure script, and the library is
# plain C: compile it directly, as zlib, with the two headers configure would write.
cd "$(fetch_patched libexif)"
mkdir -p generated/libexif objects
printf '#define GETTEXT_PACKAGE "libexif-12"\n#define LOCALEDIR ""\n' > generated/config.h
echo '#include <stdint.h>' > generated/libexif/_stdint.h
for c in libexif/*.c libexif/*/*.c; do
  "$CC" -O2 -Igenerated -I. -c "$c" -o "objects/$(echo "$c" | tr / _).o"
done
"$AR" rcs libexif.a objects/*.o
mkdir -p "$prefix/include/libexif" "$prefix/lib/pkgconfig"
cp libexif/*.h generated/libexif/_stdint.h "$prefix/include/libexif/" && cp libexif.a "$prefix/lib/"
exif_version=$(echo "$versions" | sed -n 's/.*libexif=\([0-9.]*\).*/\1/p')
cat > "$prefix/lib/pkgconfig/libexif.pc" <<PC
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: libexif
Description: Library for easy access to EXIF data
Version: $exif_version
Libs: -L\${libdir} -lexif
Cflags: -I\${includedir}
PC
cd "$work"

echo "$versions" > "$prefix/.complete"
echo "$prefix"
