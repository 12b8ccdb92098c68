# The Debian package: cmake --build build --target package writes
# build/meridan-diru_<version>-<release>_<arch>.deb. Both programs go to
# /usr/bin, the data to /usr/share/meridan-diru; Depends comes from
# dpkg-shlibdeps plus what the programs load at run time.

# Manual pages and the Debian documentation files, compressed as Debian
# wants them (gzip -9n: no name, no time stamp, so the bytes repeat).
set(meridan_doc_dir ${CMAKE_BINARY_DIR}/package-doc)
set(meridan_doc_files)
foreach(source man/meridan.1 man/meridan-diru.1 debian/changelog)
  get_filename_component(name ${source} NAME)
  if(name STREQUAL "changelog")
    set(name changelog.Debian)
  endif()
  set(output ${meridan_doc_dir}/${name}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${meridan_doc_dir}
    COMMAND sh -c "gzip -9n -c '${CMAKE_SOURCE_DIR}/data/${source}' > '${output}'"
    DEPENDS ${CMAKE_SOURCE_DIR}/data/${source}
    VERBATIM)
  list(APPEND meridan_doc_files ${output})
endforeach()
add_custom_target(package-doc ALL DEPENDS ${meridan_doc_files})

install(FILES ${meridan_doc_dir}/meridan.1.gz DESTINATION share/man/man1)
install(FILES ${CMAKE_SOURCE_DIR}/data/debian/copyright ${meridan_doc_dir}/changelog.Debian.gz
        DESTINATION share/doc/meridan-diru)
if(MERIDAN_GUI)
  install(FILES ${meridan_doc_dir}/meridan-diru.1.gz DESTINATION share/man/man1)
  # The launcher is told of on the desktop program's page.
  file(MAKE_DIRECTORY ${meridan_doc_dir})
  file(CREATE_LINK meridan-diru.1.gz ${meridan_doc_dir}/meridan-diru-launch.1.gz SYMBOLIC)
  install(FILES ${meridan_doc_dir}/meridan-diru-launch.1.gz DESTINATION share/man/man1)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME meridan-diru)
set(CPACK_PACKAGE_VENDOR "The Meridan Diru developers")
set(CPACK_PACKAGE_CONTACT "The Meridan Diru developers <developers@meridan-diru.invalid>")
# The prefix the programs were built for: they load the digest module
# from its absolute directory under it.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, not linked: the font the graph and the PDF are set in
# (Liberation Sans, Arial's metric twin), the zone database that libcctz2
# reads from /usr/share/zoneinfo and, for the desktop program, what Qt loads
# as plug-ins and translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, tzdata")
if(MERIDAN_GUI)
  # Qt's Russian texts, and its SVG support, which draws the windows' icon.
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", qt6-translations-l10n, libqt6svg6")
endif()
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "astrological motoring forecasts with a Russian interface
Meridan Diru writes personal astrological forecasts about motoring: trips,
car service and buying or selling a car. From a name and a birth date it
writes, for the current month and the three after it, a page of day-by-day
texts with a graph of the month, an archive of the pages, and on request the
whole forecast as one short PDF.
.
The package holds the desktop program (meridan-diru, started from the menu
through meridan-diru-launch) and the command-line program meridan.")
include(CPack)
