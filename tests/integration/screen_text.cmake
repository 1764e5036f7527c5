# The screen text watcher and the phrase monitor of the binary against zenity
# dialogs on a private Xvfb desktop with its own session and accessibility bus.
zk_add_qtest(tst_screen_text SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_screen_text.cpp LABEL integration)
set_tests_properties(tst_screen_text PROPERTIES TIMEOUT 400)
