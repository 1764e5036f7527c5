# The real binary runs a multi schedule at a fake wall-clock time (faketime)
# against python3-dbusmock's logind on a private system bus.
zk_add_qtest(tst_e2e_multi SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_e2e_multi.cpp LABEL integration)
set_tests_properties(tst_e2e_multi PROPERTIES TIMEOUT 420)
