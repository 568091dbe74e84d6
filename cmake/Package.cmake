# `cpack` (or the target `package`) builds a Debian package of everything `cmake --install`
# installs, under /usr. The project packages itself, so the package is native: its version is the
# project's, and packaging/changelog has its release notes. Its dependencies are the packages of the shared libraries the programs
# actually link (dpkg-shlibdeps), plus what they load at run time without linking.
set(CELESTRIX_MAINTAINER "Celestrix developers <maintainers@celestrix.invalid>" CACHE STRING
    "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME celestrix)
set(CPACK_PACKAGE_VENDOR "Celestrix developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "space-flight and orbital-mechanics simulator")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CELESTRIX_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${CELESTRIX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack puts the summary first and indents these lines as the control file wants.
set(CPACK_PACKAGE_DESCRIPTION
    "Celestrix lets you assemble a small star system out of stars, planets with
optional rings and one observer ship. The simulator integrates the mutual
gravity of all objects in real time, draws them against a sky of catalogue
stars, and lets you fly the ship with attitude torque, thrusters, a jump drive
and an energy store, with a heads-up display. Flights can be recorded and
replayed. The solar system at the start of the year 2000 comes with it.")

# Loaded at run time without being linked, so dpkg-shlibdeps cannot see them: OpenGL and EGL
# (libepoxy and SDL open them; these pull in Mesa's drivers), a monospace face for the heads-up
# text (asked of fontconfig), and for the launcher Qt's platform plugins.
set(celestrix_runtime_depends "libgl1, libegl1, fonts-dejavu-core")
if(TARGET celestrix)
  string(APPEND celestrix_runtime_depends ", qt6-qpa-plugins")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS ${celestrix_runtime_depends})

include(CPack)
