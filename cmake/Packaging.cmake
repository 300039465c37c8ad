# Packages of the program: `cpack -G DEB` in a Linux build makes a Debian package (the program, its
# desktop file and icon, with the library dependencies dpkg-shlibdeps finds), `cpack -G NSIS` in
# the Windows build a 64-bit installer with a Start-menu entry and an uninstaller.
set(CPACK_PACKAGE_NAME nomvarix)
set(CPACK_PACKAGE_VENDOR Quorvantine)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Rename many files at once by editing their names as text")
set(CPACK_PACKAGE_CONTACT "Nomvarix developers <nomvarix@quorvantine.invalid>")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Nomvarix)
set(CPACK_STRIP_FILES ON)
# The version is the project's, as the program shows it.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "Nomvarix shows the names of the files in a folder as lines of text and lets\n"
       "you edit them as a text editor would: column selections, find and replace\n"
       "with regular expressions, numbering, changes of case, filters and macros.\n"
       "Nothing on disk changes until the new names are applied; Validate points\n"
       "out names that cannot be used before that.")
# Folders as Debian wants them whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)

# The Start-menu entry is the program itself; there is no licence text to agree to.
set(CPACK_PACKAGE_EXECUTABLES nomvarix Nomvarix)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY bin)
set(CPACK_NSIS_DISPLAY_NAME Nomvarix)
set(CPACK_NSIS_PACKAGE_NAME Nomvarix)
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\nomvarix.exe")
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit installer for the 64-bit program: it runs wherever the program can, and under Wine it
# needs no 32-bit part (which some 64-bit Linux machines cannot run at all).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")

include(CPack)
