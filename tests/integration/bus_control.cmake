# The program's D-Bus control (--status, --stop, PropertiesChanged) with the
# real binary on a private session bus: the test runs under dbus-run-session;
# the warning's desktop notice against dbusmock's notification daemon there.
add_executable(tst_bus_control ${CMAKE_CURRENT_LIST_DIR}/tst_bus_control.cpp)
target_link_libraries(tst_bus_control PRIVATE zk_logic zk_platform zk_app Qt6::Test Qt6::DBus)
target_include_directories(tst_bus_control PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
add_dependencies(tst_bus_control zenkoro)
add_test(NAME tst_bus_control COMMAND dbus-run-session -- $<TARGET_FILE:tst_bus_control>)
set_tests_properties(tst_bus_control PROPERTIES ENVIRONMENT "${ZK_TEST_ENV}" LABELS integration TIMEOUT 300)
