zk_add_qtest(tst_explain SOURCES integration/tst_explain.cpp LABEL integration)
