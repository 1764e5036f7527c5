# The screen capture against a private Xvfb: the backend alone, and the whole
# program with -capture.
zk_add_qtest(tst_capture SOURCES integration/tst_capture.cpp LIBS X11::X11 LABEL integration)
