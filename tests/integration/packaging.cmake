# cmake --install, the desktop entry, the AppStream data, the man page and the
# Debian package with the distribution's tools (desktop-file-validate,
# appstreamcli, man, lintian, dpkg-deb). Not in the sanitizer build: its
# program is not the one that is packaged.
if(NOT ZK_SANITIZE)
  add_test(NAME packaging COMMAND ${CMAKE_CURRENT_LIST_DIR}/check_package.sh ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR})
  set_tests_properties(packaging PROPERTIES LABELS integration TIMEOUT 600 ENVIRONMENT "LC_ALL=C.UTF-8")
endif()
