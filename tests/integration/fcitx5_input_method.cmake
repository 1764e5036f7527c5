# Fcitx5InputMethod against a python3-dbusmock object shaped like Fcitx 5's controller on a private bus.
zk_add_qtest(tst_fcitx5_input_method SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_fcitx5_input_method.cpp LABEL integration)
