# Packages of the program: `cpack -G DEB` in a Linux build makes a Debian package (the program, its
# desktop file and icon, with the library dependencies dpkg-shlibdeps finds), `cpack -G NSIS` in
# the Windows build an installer with a Start-menu entry and an uninstaller.
set(CPACK_PACKAGE_NAME nomvarix)
set(CPACK_PACKAGE_VENDOR Quorvantine)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Rename many files at once by editing their names as text")
set(CPACK_PACKAGE_CONTACT "Nomvarix developers <nomvarix@quorvantine.invalid>")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Nomvarix)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# The Start-menu entry is the program itself; there is no licence text to agree to.
set(CPACK_PACKAGE_EXECUTABLES nomvarix Nomvarix)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY bin)
set(CPACK_NSIS_DISPLAY_NAME Nomvarix)
set(CPACK_NSIS_PACKAGE_NAME Nomvarix)
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\nomvarix.exe")
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)

include(CPack)
