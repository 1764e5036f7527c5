# The Linux launcher backend against real processes, real files and an XDG
# folder tree of its own (desktop entries, mimeapps.list).
zk_add_qtest(tst_linux_launcher SOURCES integration/tst_linux_launcher.cpp LABEL integration)
