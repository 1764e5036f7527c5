# Screenshots of the main window on a real X server (Xvfb): idle and in the
# warning phase. The PNG files go to <build>/screenshots/.
add_executable(tst_screenshots integration/tst_screenshots.cpp)
target_link_libraries(tst_screenshots PRIVATE zk_logic zk_platform zk_ui Qt6::Test)
target_include_directories(tst_screenshots PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
add_dependencies(tst_screenshots zenkoro)
add_test(NAME tst_screenshots
  COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:tst_screenshots> idleAndWarning)
# The window on small screens: it stays inside the work area.
foreach(size 1280x800 1366x768)
  add_test(NAME tst_window_fit_${size}
    COMMAND xvfb-run -a -s "-screen 0 ${size}x24" $<TARGET_FILE:tst_screenshots> windowFitsTheScreen)
endforeach()
set_tests_properties(tst_screenshots tst_window_fit_1280x800 tst_window_fit_1366x768 PROPERTIES
  ENVIRONMENT "${ZK_TEST_ENV}"
  ENVIRONMENT_MODIFICATION "QT_QPA_PLATFORM=set:xcb"
  LABELS integration TIMEOUT 300)
