# LogindPower against python3-dbusmock's logind template on a private system bus.
zk_add_qtest(tst_logind_power SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_logind_power.cpp LABEL integration)
