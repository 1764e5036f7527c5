# The real binary, headless, against python3-dbusmock's logind on a private system bus.
zk_add_qtest(tst_e2e_power SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_e2e_power.cpp LABEL integration)
