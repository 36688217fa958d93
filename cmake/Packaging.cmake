# Installation where a Linux desktop and man look, and the Debian package.
# The documentation folder is named after the package, not the CMake project.
set(CMAKE_INSTALL_DOCDIR share/doc/qlx50-manager)
include(GNUInstallDirs)

set(QLX_MAKER_URL "" CACHE STRING
    "The maker's web address for the version dialog; empty: the dialog opens the installed documentation")
set(QLX_PACKAGE_MAINTAINER "QLX-50 Manager developers" CACHE STRING "Maintainer field of the Debian package")

set(QLX_COPYRIGHT_HOLDER "QLX-50 Manager developers" CACHE STRING "Copyright holder named in the package's copyright file")
set(QLX_RELEASE_DATE "" CACHE STRING
    "Release date (YYYY-MM-DD) of the AppStream data, the man pages and the copyright file; empty: the date of the source")

# The date of the source: SOURCE_DATE_EPOCH when set (reproducible builds),
# else the date of the last commit, else today. A new commit configures
# again, so the date follows it.
if(QLX_RELEASE_DATE)
  set(QLX_RELEASE_DATE_USED ${QLX_RELEASE_DATE})
elseif(DEFINED ENV{SOURCE_DATE_EPOCH})
  string(TIMESTAMP QLX_RELEASE_DATE_USED "%Y-%m-%d" UTC)
else()
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%cs
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE QLX_RELEASE_DATE_USED OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE git_result ERROR_QUIET)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --absolute-git-dir
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE git_dir OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT git_result EQUAL 0)
      set(QLX_RELEASE_DATE_USED "")
    elseif(EXISTS ${git_dir}/logs/HEAD)
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${git_dir}/logs/HEAD)
    endif()
  endif()
  if(NOT QLX_RELEASE_DATE_USED)
    string(TIMESTAMP QLX_RELEASE_DATE_USED "%Y-%m-%d" UTC)
  endif()
endif()
if(NOT QLX_RELEASE_DATE_USED MATCHES "^(20[0-9][0-9])-(0[1-9]|1[0-2])-(0[1-9]|[12][0-9]|3[01])$")
  message(FATAL_ERROR "QLX_RELEASE_DATE must be a date YYYY-MM-DD, not \"${QLX_RELEASE_DATE_USED}\"")
endif()
set(QLX_RELEASE_YEAR ${CMAKE_MATCH_1})
# The same day as RFC 5322 writes it, for the Debian changelog (the weekday
# by Sakamoto's method).
math(EXPR month_index "1${CMAKE_MATCH_2} - 101")
math(EXPR day "1${CMAKE_MATCH_3} - 100")
set(year ${QLX_RELEASE_YEAR})
if(month_index LESS 2)
  math(EXPR year "${year} - 1")
endif()
set(month_offsets 0 3 2 5 0 3 5 1 4 6 2 4)
list(GET month_offsets ${month_index} offset)
math(EXPR weekday "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
set(weekdays Sun Mon Tue Wed Thu Fri Sat)
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(GET weekdays ${weekday} weekday_name)
list(GET months ${month_index} month_name)
set(QLX_RELEASE_DATE_RFC2822 "${weekday_name}, ${CMAKE_MATCH_3} ${month_name} ${QLX_RELEASE_YEAR} 00:00:00 +0000")
# The years of the copyright: from the first release to this one.
set(QLX_FIRST_YEAR 2026)
if(QLX_RELEASE_YEAR GREATER QLX_FIRST_YEAR)
  set(QLX_COPYRIGHT_YEARS ${QLX_FIRST_YEAR}-${QLX_RELEASE_YEAR})
else()
  set(QLX_COPYRIGHT_YEARS ${QLX_RELEASE_YEAR})
endif()

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

# Man pages with the version and release date, compressed as Debian keeps
# them.
find_program(GZIP gzip REQUIRED)
foreach(page qlx50-manager.1 qlx50-sim.1)
  configure_file(${packaging}/${page}.in ${staged}/${page} @ONLY)
  add_custom_command(OUTPUT ${staged}/${page}.gz
                     COMMAND ${GZIP} -9 -n -c ${staged}/${page} > ${staged}/${page}.gz
                     DEPENDS ${staged}/${page})
  list(APPEND manpages ${staged}/${page}.gz)
endforeach()
# The changelog a Debian package carries (a native package's name).
configure_file(${packaging}/changelog.in ${staged}/changelog @ONLY)
add_custom_command(OUTPUT ${staged}/changelog.gz
                   COMMAND ${GZIP} -9 -n -c ${staged}/changelog > ${staged}/changelog.gz
                   DEPENDS ${staged}/changelog)
add_custom_target(qlx50-manpages ALL DEPENDS ${manpages} ${staged}/changelog.gz)
install(FILES ${staged}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
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
# Debian's machine-readable copyright file, beside the documentation.
if(QLX_MAKER_URL)
  set(QLX_COPYRIGHT_SOURCE "Source: ${QLX_MAKER_URL}\n")
else()
  set(QLX_COPYRIGHT_SOURCE "")
endif()
configure_file(${packaging}/copyright.in ${staged}/copyright @ONLY)
install(FILES ${staged}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
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
# Lines of at most 79 characters, as dpkg shows them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "QLX-50 Manager drives the QLX-50 loudspeaker impedance analyzer over an"
       "RS-232C line: remote sweeps with OK/NG judgement against reference curves,"
       "downloads and uploads of the instrument's curves, a log-frequency impedance"
       "graph, resonance parameters, a results log, CSV, ZMA and picture exports"
       "and printing. The package also holds qlx50-sim, a simulated instrument on a"
       "pseudo-terminal.")
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
