# The program's window and a countdown under a headless Weston compositor (native Wayland).
zk_add_qtest(tst_wayland_session SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_wayland_session.cpp LABEL integration)
