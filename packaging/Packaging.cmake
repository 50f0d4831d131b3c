# Quorvane as a desktop program: `cmake --install` puts the program, its
# desktop entry, icons, AppStream metainfo, man page, README (as HTML) and the
# memory file's schema in the standard places, and `cpack -G DEB` makes a Debian package of them.
# Included from the top-level CMakeLists.txt, so that CPack sees these settings.

# The desktop entry's and the AppStream component's name.
set(QUORVANE_APP_ID "io.github.quorvane.Quorvane" CACHE STRING "Reverse-DNS id of the desktop entry and metainfo")
set(QUORVANE_DOC_DIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/quorvane")
set(_packaging ${CMAKE_SOURCE_DIR}/packaging)
set(_assets ${CMAKE_BINARY_DIR}/packaging)

# Icons and README.html, rendered at build time by a small Qt program.
set(_icon_sizes 16 22 24 32 48 64 128 256)
set(_asset_files ${_assets}/icons/hicolor/scalable/apps/quorvane.svg ${_assets}/doc/README.html)
foreach(size IN LISTS _icon_sizes)
  list(APPEND _asset_files ${_assets}/icons/hicolor/${size}x${size}/apps/quorvane.png)
endforeach()
add_executable(quorvane-assets ${_packaging}/make_assets.cpp)
target_link_libraries(quorvane-assets PRIVATE qv_window)
add_custom_command(OUTPUT ${_asset_files}
  COMMAND quorvane-assets ${_assets} ${CMAKE_SOURCE_DIR}/README.md ${_icon_sizes}
  DEPENDS quorvane-assets ${CMAKE_SOURCE_DIR}/README.md
  COMMENT "Rendering the icons and README.html")
add_custom_target(quorvane_assets ALL DEPENDS ${_asset_files})

# The logo's click opens the README: installed, it lies at this path from the
# program's folder; in the build tree, at the rendered copy.
file(RELATIVE_PATH _doc_from_bin ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATAROOTDIR}/doc/quorvane)
target_compile_definitions(qv_window PRIVATE
  QUORVANE_DOC_FROM_BIN="${_doc_from_bin}" QUORVANE_BUILD_DOC="${_assets}/doc/README.html")
target_compile_definitions(quorvane PRIVATE QUORVANE_APP_ID="${QUORVANE_APP_ID}")

configure_file(${_packaging}/quorvane.desktop ${_assets}/${QUORVANE_APP_ID}.desktop COPYONLY)
configure_file(${_packaging}/quorvane.metainfo.xml.in ${_assets}/${QUORVANE_APP_ID}.metainfo.xml @ONLY)
set(QUORVANE_DESKTOP_FILE ${_assets}/${QUORVANE_APP_ID}.desktop)
set(QUORVANE_METAINFO_FILE ${_assets}/${QUORVANE_APP_ID}.metainfo.xml)

install(TARGETS quorvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${QUORVANE_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUORVANE_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${_assets}/icons DESTINATION ${CMAKE_INSTALL_DATADIR})
# The man page and the changelog compressed as Debian keeps them (gzip -9n:
# no name or time stamp inside, so the same source gives the same bytes).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(_gzipped ${_assets}/quorvane.1.gz ${_assets}/doc/changelog.gz)
add_custom_command(OUTPUT ${_gzipped}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_assets}/doc
  COMMAND ${GZIP_PROGRAM} -9n -c ${_packaging}/quorvane.1 > ${_assets}/quorvane.1.gz
  COMMAND ${GZIP_PROGRAM} -9n -c ${_packaging}/changelog > ${_assets}/doc/changelog.gz
  DEPENDS ${_packaging}/quorvane.1 ${_packaging}/changelog
  COMMENT "Compressing the man page and the changelog")
add_custom_target(quorvane_gzipped ALL DEPENDS ${_gzipped})
install(FILES ${_assets}/quorvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_assets}/doc/README.html ${_assets}/doc/changelog.gz ${_packaging}/copyright
        DESTINATION ${QUORVANE_DOC_DIR})
# The station without a screen as a systemd user service (the app folder is
# the instance); lib/, not the architecture's library folder, is where
# systemd looks for units.
set(QUORVANE_BIN_DIR ${CMAKE_INSTALL_FULL_BINDIR})
configure_file(${_packaging}/quorvane-headless@.service.in ${_assets}/quorvane-headless@.service @ONLY)
install(FILES ${_assets}/quorvane-headless@.service DESTINATION lib/systemd/user)
# The memory file's JSON Schema, and an example file, for editors and other programs.
install(FILES ${CMAKE_SOURCE_DIR}/data/quorvane-memory.schema.json ${CMAKE_SOURCE_DIR}/data/quorvane-memory.example.json
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quorvane)

# The Debian package. Its dependencies on shared libraries (Qt 6, libsndfile,
# and whatever the program links later) come from dpkg-shlibdeps (dpkg-dev);
# what the program loads without linking is listed by hand.
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Quorvane")
set(QUORVANE_MAINTAINER "Quorvane maintainers <maintainers@users.noreply.c-seed-bdf33edc.example>"
    CACHE STRING "Maintainer of the Debian package: Name <address>")
set(CPACK_PACKAGE_CONTACT "${QUORVANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "remote control for the Uniden BC246T scanner")
# CPack puts the summary first and indents each of these lines by one blank.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quorvane turns the screen into a second front panel for the Uniden
BC246T handheld scanner on a serial cable: a live copy of its display,
the keypad on screen, keyboard and mouse wheel, and a log of every hit
as a table, a text file, optional wave recordings and a searchable
history, with hits named from the scanner's own stored channels.
.
It also tunes typed frequencies and lists, backs up, edits and restores
the scanner's memory, serves a browser remote with sound, raises alerts
on watched channels, runs as a station without a screen and can keep one
history for several stations on a PostgreSQL server.")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's fonts and the history's SQLite driver (a Qt plugin no library links to).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, libqt6sql6-sqlite")
# The history on a PostgreSQL server needs Qt's PostgreSQL driver, also a
# plugin; spoken hits need the speech-dispatcher plugin of Qt's speech module.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql, qt6-speech-speechd-plugin")
# The live feed goes to an Icecast server, which may run on the same computer.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "icecast2")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
