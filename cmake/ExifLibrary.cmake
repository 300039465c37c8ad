# libexif, which reads when a photo was taken, as the target PkgConfig::LIBEXIF. The cross build
# asks pkg-config about the libraries of scripts/windows/build-deps.sh only, never about the build
# machine's own.
find_package(PkgConfig REQUIRED)
if(CMAKE_CROSSCOMPILING)
  set(ENV{PKG_CONFIG_LIBDIR} ${NOMVARIX_WINDOWS_DEPS}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
endif()
pkg_check_modules(LIBEXIF REQUIRED IMPORTED_TARGET libexif)
