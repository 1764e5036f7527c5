// The program's message boxes: no icon, "OK" and "キャンセル" buttons, the
// default button also answers Escape, and a box closed without a button
// answers Cancel.
#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

namespace zk {

// Opens a window-modal box on parent (deleted when closed) and returns it;
// done, when set, gets the standard button that closed it.
QMessageBox *OpenMessageBox(QWidget *parent, const QString &title, const QString &text, int buttons,
                            int defaultButton, std::function<void(int button)> done);

}  // namespace zk
