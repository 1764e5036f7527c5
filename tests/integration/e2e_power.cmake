# The real binary, headless, against python3-dbusmock's logind and upower on a
# private system bus; its multi schedule at a fake wall-clock time (faketime).
zk_add_qtest(tst_e2e_power SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_e2e_power.cpp LABEL integration)
set_tests_properties(tst_e2e_power PROPERTIES TIMEOUT 600)
