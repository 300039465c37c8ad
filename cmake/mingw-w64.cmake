# Cross-build for 64-bit Windows with MinGW-w64 (posix threads, for std::thread), linked
# statically so that nomvarix.exe needs no DLLs; programs built here run under Wine.
# NOMVARIX_WINDOWS_DEPS is the prefix that scripts/windows/build-deps.sh prints, and
# NOMVARIX_WINDOWS_METADATA_DEPS the one of scripts/windows/build-metadata-deps.sh (exiv2, TagLib).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_nomvarix_host x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_nomvarix_host}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_nomvarix_host}-g++-posix)
set(CMAKE_RC_COMPILER ${_nomvarix_host}-windres)

list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES NOMVARIX_WINDOWS_DEPS NOMVARIX_WINDOWS_METADATA_DEPS)
set(CMAKE_FIND_ROOT_PATH /usr/${_nomvarix_host} ${NOMVARIX_WINDOWS_DEPS} ${NOMVARIX_WINDOWS_METADATA_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(wxWidgets_CONFIG_EXECUTABLE ${NOMVARIX_WINDOWS_DEPS}/bin/wx-config)
# pkg-config lookups (PCRE2, exiv2, TagLib) find the static Windows libraries of the prefixes and
# never the build machine's own.
set(ENV{PKG_CONFIG_LIBDIR} "${NOMVARIX_WINDOWS_DEPS}/lib/pkgconfig:${NOMVARIX_WINDOWS_METADATA_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/windows/wine-run.sh)
