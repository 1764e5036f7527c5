// frmInput: the command input form. A modal, resizable editor that opens
// over a one-line or multi-line box of any window, edits its text in a
// multi-line box, and writes it back on OK. Its size, font size and
// input-method state are remembered in EditSettings.
#pragma once

#include "core/job.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace zk {

class InputMethodSwitch;

// What an opener hands the form.
struct InputFormSetup {
    EditSettings *edit = nullptr;              // remembered size, font size, input-method state
    InputMethodSwitch *inputMethod = nullptr;  // none: the chosen state is only kept
    bool commandHelp = true;                   // lblComSw shown (hidden for a phrase box)
    std::function<void()> openCommandHelp;     // lblComSw clicked
};

class InputForm final : public QDialog {
    Q_OBJECT
public:
    // Opens the form on `target` (a QLineEdit or QPlainTextEdit) at
    // `pointer` (screen coordinates), kept on the screen, modal over the
    // target's window and topmost; deleted when closed. One form at a time: while one is
    // open, that one is returned and nothing else happens.
    static InputForm *open(QWidget *target, const InputFormSetup &setup, QPoint pointer);
    static InputForm *current();

    QPlainTextEdit *textBox() const { return txtInput; }
    bool inputMethodOpen() const { return m_imeOpen; }
    bool inputMethodSwitchable() const { return m_switchable; }
    void changeFontSize(int delta);  // the UpD buttons
    void toggleInputMethod();        // lblIME
    void accept() override;          // OK
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    InputForm(QWidget *target, const InputFormSetup &setup, QWidget *parent);
    void chooseFont();
    void showInputMethod();

    QPointer<QWidget> m_target;
    InputFormSetup m_setup;
    bool m_imeOpen = false;
    bool m_switchable = false;

    QPlainTextEdit *txtInput = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;
    QToolButton *UpD[2] = {};
    QLabel *lblIME = nullptr;
    QLabel *lblComSw = nullptr;
    QMenu *mnuEdit = nullptr;
};

// Any box of any window: a double-click on it calls `open` with the
// pointer's screen position (on a multi-line box the double-click no
// longer selects a word).
void OpenOnDoubleClick(QWidget *box, std::function<void(QPoint pointer)> open);

}  // namespace zk
