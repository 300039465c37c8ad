# libexif, which reads when a photo was taken, as the target PkgConfig::LIBEXIF. The cross build's
# toolchain file points pkg-config at the libraries of scripts/windows/build-deps.sh only.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBEXIF REQUIRED IMPORTED_TARGET libexif)
