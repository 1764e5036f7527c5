// The main window's side of the command input: the form's openers for any
// box of any window.
#include "ui/main_window.h"

#include "ui/create_shortcut_window.h"
#include "ui/input_form.h"

#include <QCursor>
#include <QLineEdit>

namespace zk {

void MainWindow::addInputFormOpener(QWidget *box, EditFormOpener opener)
{
    QPointer<QWidget> target(box);
    OpenOnDoubleClick(box, [this, target, opener](QPoint at) {
        if (target)
            openInputFormOn(target, at, opener);
    });
}

void MainWindow::openInputForm(QWidget *box, QPoint pointer)
{
    openInputFormOn(box, pointer, EditFormOpener::ApplicationCommand);
}

void MainWindow::attachShortcutMaker(CreateShortcutWindow *maker)
{
    connect(maker, &CreateShortcutWindow::inputFormRequested, maker,
            [this](QLineEdit *box) { openInputFormOn(box, QCursor::pos(), EditFormOpener::ShortcutMaker); });
}

void MainWindow::openInputFormOn(QWidget *box, QPoint pointer, EditFormOpener opener)
{
    if (!box || !box->isEnabled())
        return;
    InputFormSetup setup;
    setup.edit = &m_state.edit;
    setup.inputMethod = m_services.inputMethod();
    setup.commandHelp = EditFormShowsCommandHelp(opener);
    setup.openCommandHelp = [this] { Q_EMIT applicationHelpRequested(); };
    InputForm::open(box, setup, pointer);
}

}  // namespace zk
