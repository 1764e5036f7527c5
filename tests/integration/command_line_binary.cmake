# zenkoro --command-line, run as a process.
zk_add_qtest(tst_command_line_binary SOURCES integration/tst_command_line_binary.cpp LABEL integration)
