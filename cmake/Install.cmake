# `cmake --install` lays Celestrix out as a Linux desktop program (GNUInstallDirs):
#   bin/corvane, bin/celestrix          the programs, side by side
#   share/celestrix/                    the pristine data; read-only, users get a copy of it
#   share/man/man6/                     the manual pages
#   share/applications/, share/icons/hicolor/, share/metainfo/   the launcher's menu entry
#   share/doc/celestrix/                licence and credits
# Included after every program's folder, so that the launcher's rules see its target.

set(CELESTRIX_APP_ID io.github.celestrix.Celestrix)
set(CELESTRIX_HOMEPAGE "https://github.com/celestrix/celestrix" CACHE STRING
    "Home page named by the software catalogue entry and the package")
set(CELESTRIX_SCREENSHOT_URL
    "https://raw.githubusercontent.com/celestrix/celestrix/main/packaging/screenshots/flight.png"
    CACHE STRING "Web address of packaging/screenshots/flight.png, for the software catalogue")

# The programs look for their data as ../share/celestrix from their own folder.
file(RELATIVE_PATH celestrix_bin_to_data ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/celestrix)
if(NOT celestrix_bin_to_data STREQUAL "../share/celestrix")
  message(FATAL_ERROR "The programs find their data as ../share/celestrix from their own folder, "
                      "but CMAKE_INSTALL_BINDIR and CMAKE_INSTALL_DATADIR put it at "
                      "${celestrix_bin_to_data}.")
endif()

# In the build tree a marker beside the programs names the source tree's data instead.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/celestrix-source-data.txt
     CONTENT "${CMAKE_SOURCE_DIR}/data\n")

install(TARGETS corvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/celestrix
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
        DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
                              GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The release notes in Debian's changelog format, compressed without a time stamp as Debian
# wants them.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
execute_process(COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog
                OUTPUT_FILE ${CMAKE_BINARY_DIR}/packaging/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_SOURCE_DIR}/packaging/changelog)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/data/CREDITS
              ${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/celestrix)
celestrix_install_manual(corvane)

# The catalogue entry, checked by the tests in the build tree whether or not it is installed.
configure_file(${CMAKE_SOURCE_DIR}/packaging/${CELESTRIX_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/${CELESTRIX_APP_ID}.metainfo.xml @ONLY)

# The launcher and its menu entry, icons and catalogue entry.
if(TARGET celestrix)
  install(TARGETS celestrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  celestrix_install_manual(celestrix)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/${CELESTRIX_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/packaging/icons/hicolor
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/${CELESTRIX_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # The installation tests install and run the launcher too.
  if(TARGET test_install)
    add_dependencies(test_install celestrix)
  endif()
endif()
