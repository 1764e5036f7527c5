zk_add_qtest(tst_cpu_run SOURCES integration/tst_cpu_run.cpp LABEL integration)
