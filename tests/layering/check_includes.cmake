# The logic folders talk to the system only through the interfaces in
# core/ports: none of their files may include a backend (platform/...), a
# window (ui/...), the program's wiring (app/...) or a QtWidgets header. And
# no file of the program includes the tests' helpers and fakes (support/...).
# The logic folders are layered: core at the bottom, the subsystems above
# it, the orchestration of a run (run/) on top; no logic file includes a
# folder above its own.
#
#   cmake -DROOT=<the src folder> -DWIDGETS_DIR=<QtWidgets include folder>
#         -P check_includes.cmake
#
# Prints one line per forbidden include and "<n> forbidden includes"; fails
# when n is not zero, or when there was nothing to check.
cmake_policy(SET CMP0057 NEW)
set(LOGIC_FOLDERS core monitors resume settings input shell run)
# The level of each logic folder, in the order of LOGIC_FOLDERS.
set(LOGIC_LEVELS 0 1 1 1 1 1 2)

file(GLOB widgetHeaders RELATIVE "${WIDGETS_DIR}" "${WIDGETS_DIR}/*")
if(NOT widgetHeaders)
  message(FATAL_ERROR "no QtWidgets headers in '${WIDGETS_DIR}'")
endif()

set(checked 0)
set(bad 0)
file(GLOB_RECURSE files "${ROOT}/*.h" "${ROOT}/*.cpp")
foreach(f IN LISTS files)
  math(EXPR checked "${checked} + 1")
  file(RELATIVE_PATH rel "${ROOT}" "${f}")
  string(REGEX REPLACE "/.*$" "" folder "${rel}")
  list(FIND LOGIC_FOLDERS "${folder}" logic)
  file(STRINGS "${f}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*$" "\\1" name "${line}")
    set(why "")
    if(name MATCHES "^support/")
      set(why "a test helper or fake")
    elseif(logic EQUAL -1)
      # Backends, windows and wiring may include what they need.
    elseif(name MATCHES "^(platform|ui|app)/")
      set(why "a backend, window or wiring header")
    elseif(name MATCHES "^([a-z_]+)/" AND NOT CMAKE_MATCH_1 STREQUAL folder
           AND CMAKE_MATCH_1 IN_LIST LOGIC_FOLDERS)
      list(FIND LOGIC_FOLDERS "${CMAKE_MATCH_1}" target)
      list(GET LOGIC_LEVELS ${logic} ownLevel)
      list(GET LOGIC_LEVELS ${target} targetLevel)
      if(targetLevel GREATER ownLevel)
        set(why "a logic folder above this one")
      endif()
    elseif(name MATCHES "^QtWidgets/" OR name MATCHES "^QtWidgets$")
      set(why "a QtWidgets header")
    elseif(NOT name MATCHES "/")
      list(FIND widgetHeaders "${name}" at)
      if(NOT at EQUAL -1)
        set(why "a QtWidgets header")
      endif()
    endif()
    if(why)
      message("${rel}: includes ${name}: ${why}")
      math(EXPR bad "${bad} + 1")
    endif()
  endforeach()
endforeach()

message("${bad} forbidden includes in ${checked} files")
if(checked EQUAL 0)
  message(FATAL_ERROR "no source files under '${ROOT}'")
endif()
if(NOT bad EQUAL 0)
  message(FATAL_ERROR "the logic folders must not include platform/, ui/, app/, QtWidgets headers or a logic folder above their own; the program must not include support/")
endif()
