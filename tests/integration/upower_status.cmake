# UPowerStatus and LogindUserIdle against python3-dbusmock's upower and logind templates on a private system bus.
zk_add_qtest(tst_upower_status SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_upower_status.cpp LABEL integration)
