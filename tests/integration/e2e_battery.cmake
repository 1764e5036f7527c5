# The real binary, headless, on battery and idle: dbusmock's upower and logind on a private system bus.
zk_add_qtest(tst_e2e_battery SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_e2e_battery.cpp LABEL integration)
