# Checks a translation file against the sources: lupdate run over them into a
# copy must leave the copy equal to the file (no text added, changed or gone
# without a refresh), and no message may be unfinished, vanished or obsolete.
#   cmake -DLUPDATE=... -DPROJECT=<the lupdate project .cmake of zk_app>
#         -DTS=<file.ts> "-DOPTIONS=<lupdate options>" -DWORK=<folder> -P check_translations.cmake
include(${PROJECT})  # lupdate_sources, lupdate_include_paths
file(REMOVE_RECURSE ${WORK})
get_filename_component(name ${TS} NAME)
file(COPY ${TS} DESTINATION ${WORK})
set(copy ${WORK}/${name})
# Texts gone from the sources stay in the copy, marked vanished.
list(REMOVE_ITEM OPTIONS -no-obsolete)
set(includes)
foreach(dir ${lupdate_include_paths})
  list(APPEND includes -I${dir})
endforeach()
execute_process(COMMAND ${LUPDATE} -silent ${OPTIONS} ${includes} ${lupdate_sources} -ts ${copy}
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "lupdate failed (${rc}): ${err}")
endif()
file(READ ${TS} before)
file(READ ${copy} after)
set(faults 0)
foreach(kind unfinished vanished obsolete)
  string(REGEX MATCHALL "type=\"${kind}\"" hits "${after}")
  list(LENGTH hits n)
  message(STATUS "${kind}: ${n}")
  # The texts themselves, as far as they can be told.
  string(REGEX MATCHALL "<source>[^<]*</source>[^<]*(<[a-z]*comment>[^<]*</[a-z]*comment>[^<]*)*<translation type=\"${kind}\"" texts "${after}")
  foreach(t ${texts})
    string(REGEX MATCH "<source>[^<]*</source>" t "${t}")
    message(STATUS "  ${t}")
  endforeach()
  math(EXPR faults "${faults} + ${n}")
endforeach()
if(NOT before STREQUAL after)
  message(STATUS "changed: ${name} is not what lupdate makes of the sources")
  math(EXPR faults "${faults} + 1")
endif()
if(faults GREATER 0)
  message(FATAL_ERROR "${name}: ${faults} faults; refresh it with `cmake --build build --target update_translations` and translate the texts marked unfinished")
endif()
message(STATUS "${name}: complete")
