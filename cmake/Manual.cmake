# Each program's manual source, manual/<program>.txt, gives its --help and --version texts (the
# header <program>_manual.h of the library <program>_manual) and its manual page, so the two can
# never disagree. Both are made when CMake configures, and again whenever the source changes.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(CELESTRIX_MANUAL_SCRIPT ${CMAKE_SOURCE_DIR}/manual/render_manual.py)
set(CELESTRIX_MANUAL_DIR ${CMAKE_BINARY_DIR}/manual)

function(celestrix_manual program)
  set(source ${CMAKE_SOURCE_DIR}/manual/${program}.txt)
  execute_process(
    COMMAND ${Python3_EXECUTABLE} ${CELESTRIX_MANUAL_SCRIPT} ${source}
            --package ${PROJECT_NAME} --version ${PROJECT_VERSION}
            --define PKGDATADIR=${CMAKE_INSTALL_FULL_DATADIR}/celestrix
            --header ${CELESTRIX_MANUAL_DIR}/include/${program}_manual.h
            --man ${CELESTRIX_MANUAL_DIR}/${program}.6
    RESULT_VARIABLE failed ERROR_VARIABLE reason)
  if(failed)
    message(FATAL_ERROR "Cannot make the manual of ${program}: ${reason}")
  endif()
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               ${source} ${CELESTRIX_MANUAL_SCRIPT})
  add_library(${program}_manual INTERFACE)
  target_include_directories(${program}_manual INTERFACE ${CELESTRIX_MANUAL_DIR}/include)
endfunction()

# Installs a program's manual page, compressed, in section 6. The page is made again at install
# time, so that the paths it names are those of the prefix actually installed into; each install
# makes it in a folder of its own, as installs (cmake --install, cpack) may run at the same time.
function(celestrix_install_manual program)
  install(CODE "
    string(RANDOM LENGTH 16 celestrix_install_tag)
    set(celestrix_page_dir \"${CELESTRIX_MANUAL_DIR}/installed/\${celestrix_install_tag}\")
    execute_process(
      COMMAND \"${Python3_EXECUTABLE}\" \"${CELESTRIX_MANUAL_SCRIPT}\"
              \"${CMAKE_SOURCE_DIR}/manual/${program}.txt\"
              --package \"${PROJECT_NAME}\" --version \"${PROJECT_VERSION}\"
              \"--define=PKGDATADIR=\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/celestrix\"
              --man \"\${celestrix_page_dir}/${program}.6.gz\"
      COMMAND_ERROR_IS_FATAL ANY)
    file(INSTALL \"\${celestrix_page_dir}/${program}.6.gz\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man6\")
    file(REMOVE_RECURSE \"\${celestrix_page_dir}\")
  ")
endfunction()

celestrix_manual(corvane)
celestrix_manual(celestrix)
