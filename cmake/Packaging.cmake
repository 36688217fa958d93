# Installation where a Linux desktop and man look, and the Debian package.
# The documentation folder is named after the package, not the CMake project.
set(CMAKE_INSTALL_DOCDIR share/doc/qlx50-manager)
include(GNUInstallDirs)

set(QLX_MAKER_URL "" CACHE STRING
    "The maker's web address for the version dialog; empty: the dialog opens the installed documentation")
set(QLX_PACKAGE_MAINTAINER "QLX-50 Manager developers" CACHE STRING "Maintainer field of the Debian package")

set(QLX_APP_ID io.qlx50.manager)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(staged ${PROJECT_BINARY_DIR}/packaging)

install(TARGETS qlx50-manager qlx50-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Desktop entry, file types and AppStream data.
install(FILES ${packaging}/${QLX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/qlx50-manager-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME qlx50-manager.xml)
if(QLX_MAKER_URL)
  set(QLX_METAINFO_URL "  <url type=\"homepage\">${QLX_MAKER_URL}</url>")
else()
  set(QLX_METAINFO_URL "")
endif()
configure_file(${packaging}/${QLX_APP_ID}.metainfo.xml.in ${staged}/${QLX_APP_ID}.metainfo.xml @ONLY)
install(FILES ${staged}/${QLX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon in the sizes of the hicolor theme, rendered from the program's own
# drawing of it.
add_executable(qlx50-icon-render ${PROJECT_SOURCE_DIR}/tools/icon-render/main.cpp)
target_link_libraries(qlx50-icon-render PRIVATE qlx_ui)
set(icons ${staged}/icons/hicolor)
add_custom_command(OUTPUT ${icons}/256x256/apps/qlx50-manager.png
                   COMMAND qlx50-icon-render ${icons}
                   DEPENDS qlx50-icon-render
                   COMMENT "Rendering the program icon")
add_custom_target(qlx50-icons ALL DEPENDS ${icons}/256x256/apps/qlx50-manager.png)
install(DIRECTORY ${icons} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# The README's pictures, taken from the program's own windows
# (scripts/screenshots.sh runs it under Xvfb). Not installed.
add_executable(qlx50-screenshots ${PROJECT_SOURCE_DIR}/tools/screenshots/main.cpp)
target_link_libraries(qlx50-screenshots PRIVATE qlx_app qlx50sim)

# Man pages, compressed as Debian keeps them.
find_program(GZIP gzip REQUIRED)
foreach(page qlx50-manager.1 qlx50-sim.1)
  add_custom_command(OUTPUT ${staged}/${page}.gz
                     COMMAND ${GZIP} -9 -n -c ${packaging}/${page} > ${staged}/${page}.gz
                     DEPENDS ${packaging}/${page})
  list(APPEND manpages ${staged}/${page}.gz)
endforeach()
add_custom_target(qlx50-manpages ALL DEPENDS ${manpages})
install(FILES ${manpages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The README as the documentation the version dialog opens (HTML, with its
# pictures), and as written.
# Debian's own Python, which python3-markdown belongs to (not one of a user's).
find_program(QLX_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
add_custom_command(OUTPUT ${staged}/README.html
                   COMMAND ${QLX_SYSTEM_PYTHON} ${packaging}/readme_html.py ${PROJECT_SOURCE_DIR}/README.md
                           ${staged}/README.html
                   DEPENDS ${PROJECT_SOURCE_DIR}/README.md ${packaging}/readme_html.py)
add_custom_target(qlx50-readme ALL DEPENDS ${staged}/README.html)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${staged}/README.html DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(EXISTS ${PROJECT_SOURCE_DIR}/docs/images)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
endif()

# cpack -G DEB: the Debian runtime packages come from the libraries the
# programs link (dpkg-shlibdeps) plus what is loaded at run time.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qlx50-manager)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${QLX_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Drive the QLX-50 loudspeaker impedance analyzer")
set(CPACK_PACKAGE_DESCRIPTION
    "QLX-50 Manager drives the QLX-50 loudspeaker impedance analyzer over an RS-232C line: remote sweeps with OK/NG judgement against reference curves, downloads and uploads of the instrument's curves, a log-frequency impedance graph, resonance parameters, a results log, CSV, ZMA and picture exports and printing. The package also holds qlx50-sim, a simulated instrument on a pseudo-terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the SQLite driver of
# the results log, the toolkit's Japanese texts, a Japanese font.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-translations-l10n, fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libqt6sql6-psql, cups, printer-driver-cups-pdf")
include(CPack)
