# What an installation on Linux puts beside the program, for the desktop, the software centres and
# the Debian package: the icon in every size the icon theme looks for, the AppStream metainfo, the
# manual page and, under the package's documentation folder, its copyright and changelog. The PNG
# icons are drawn from the SVG at build time (rsvg-convert); the manual page and the changelog are
# compressed as Debian wants them.
include(GNUInstallDirs)

set(_out ${CMAKE_CURRENT_BINARY_DIR}/installed)
set(_svg ${PROJECT_SOURCE_DIR}/resources/nomvarix.svg)
set(_generated)

find_program(NOMVARIX_RSVG_CONVERT rsvg-convert)
if(NOMVARIX_RSVG_CONVERT)
  foreach(_size 16 32 48 64 128 256)
    set(_png ${_out}/icons/${_size}x${_size}/nomvarix.png)
    add_custom_command(OUTPUT ${_png}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${_out}/icons/${_size}x${_size}
                       COMMAND ${NOMVARIX_RSVG_CONVERT} -w ${_size} -h ${_size} -o ${_png} ${_svg}
                       DEPENDS ${_svg} VERBATIM)
    install(FILES ${_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps)
    list(APPEND _generated ${_png})
  endforeach()
else()
  message(WARNING "rsvg-convert not found (Debian package librsvg2-bin): the PNG icons are left out")
endif()

configure_file(${PROJECT_SOURCE_DIR}/resources/io.github.nomvarix.Nomvarix.metainfo.xml.in
               ${_out}/io.github.nomvarix.Nomvarix.metainfo.xml @ONLY)
install(FILES ${_out}/io.github.nomvarix.Nomvarix.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# gzip -n: no name or time stamp inside, so that the same sources make the same package.
configure_file(${PROJECT_SOURCE_DIR}/resources/nomvarix.1.in ${_out}/nomvarix.1 @ONLY)
# The package is made here, from its own sources, so Debian counts it as native: its changelog is
# changelog.gz, not changelog.Debian.gz.
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in ${_out}/changelog @ONLY)
foreach(_file nomvarix.1 changelog)
  add_custom_command(OUTPUT ${_out}/${_file}.gz
                     COMMAND gzip -9nkf ${_out}/${_file}
                     DEPENDS ${_out}/${_file} VERBATIM)
  list(APPEND _generated ${_out}/${_file}.gz)
endforeach()
install(FILES ${_out}/nomvarix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_out}/changelog.gz ${PROJECT_SOURCE_DIR}/resources/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/nomvarix)

add_custom_target(nomvarix_installed_files ALL DEPENDS ${_generated})
