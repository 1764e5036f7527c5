// frmCreateShortcut ("ショートカットの作成"): writes a desktop launcher
// that starts a program with a command line, after the user has checked its
// file name, target, arguments, working folder, comment and icon. Modal and
// always on top; the rules are those of shell/shortcut_maker.h.
#pragma once

#include "shell/shortcut_maker.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class QComboBox;
class QLineEdit;
class QMessageBox;
class QPushButton;
class QToolButton;

namespace zk {

// What the form needs of the system.
struct ShortcutEnvironment {
    ShortcutFileQueries fs;
    // Writes the launcher file; false when it could not be written.
    std::function<bool(const QString &path, const QString &text)> write;
    // Opens a folder in the file manager.
    std::function<void(const QString &folder)> openFolder;
};

class CreateShortcutWindow : public QDialog {
    Q_OBJECT
public:
    CreateShortcutWindow(const QString &handOver, ShortcutEnvironment env, QWidget *parent = nullptr);

    QLineEdit *box(int index) const { return m_boxes[index]; }
    QComboBox *windowStyleList() const { return m_windowStyle; }
    QToolButton *iconButton() const { return m_icon; }
    ShortcutFields fields() const;
    // The message box or question now open, if any.
    QMessageBox *openMessageBox() const { return m_message; }

public Q_SLOTS:
    // cmdClose(0): check, ask, write, offer to open the folder.
    void create();

Q_SIGNALS:
    // A box was double-clicked: the command input form (without its
    // command-line help) is wanted for it.
    void inputFormRequested(QLineEdit *box);
    // lblComSw: the help of the command line (command_line.txt) is wanted.
    void commandLineHelpRequested();
    // The launcher was written to path.
    void created(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void browseFile();
    void browseTarget();
    void chooseIcon();
    void showIcon();
    void write();
    QMessageBox *message(const QString &title, const QString &text, int buttons, int defaultButton,
                         std::function<void(int button)> done);

    ShortcutEnvironment m_env;
    QLineEdit *m_boxes[kShortcutBoxes] = {};
    QComboBox *m_windowStyle = nullptr;
    QToolButton *m_icon = nullptr;
    QPointer<QMessageBox> m_message;
};

}  // namespace zk
