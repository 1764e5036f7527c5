# Window search, placement and activation of the Linux launcher backend on a
# private Xvfb server, the test playing the window manager; the idle time there.
zk_add_qtest(tst_x11_windows SOURCES integration/tst_x11_windows.cpp LIBS X11::X11 LABEL integration)
