// The main window's side of the command input: the history drop-down of the
// application box (cmdDropButton, its list and its menu) and the openers of
// the command input form.
#include "ui/main_window.h"

#include "input/command_history.h"
#include "ui/create_shortcut_window.h"
#include "ui/history_list.h"
#include "ui/input_form.h"

#include <QCursor>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>

namespace zk {

namespace {

// How long a closed list still counts as open: the click on the drop button
// that closed it must not open it again.
constexpr int kHistoryListClosingMs = 200;

// The right button pressed on a widget.
class RightPress : public QObject {
public:
    RightPress(QObject *parent, std::function<void(QPoint)> pressed) : QObject(parent), m_pressed(std::move(pressed)) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            auto *m = static_cast<QMouseEvent *>(event);
            if (m->button() == Qt::RightButton) {
                m_pressed(m->globalPosition().toPoint());
                return true;
            }
        }
        return false;
    }

private:
    std::function<void(QPoint)> m_pressed;
};

QAction *addItem(QMenu *menu, const QString &name, const QString &caption, bool checkable = false)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(name);
    a->setCheckable(checkable);
    return a;
}

}  // namespace

void MainWindow::connectInputControls()
{
    connect(cmdDropButton, &QToolButton::clicked, this, &MainWindow::showHistoryList);
    cmdDropButton->installEventFilter(new RightPress(cmdDropButton, [this](QPoint at) { showHistoryMenu(at); }));

    // mnuPopUpDropdown, in its order; the numbers and ticks are set as it opens.
    mnuPopUpDropdown = new QMenu(this);
    mnuPopUpDropdown->setObjectName(QStringLiteral("mnuPopUpDropdown"));
    QMenu *m = mnuPopUpDropdown;
    QAction *sort[2] = {addItem(m, QStringLiteral("mnuSort_0"), QStringLiteral("昇順並べ替え"), true),
                        addItem(m, QStringLiteral("mnuSort_1"), QStringLiteral("降順並べ替え"), true)};
    m->addSeparator();
    QAction *edit = addItem(m, QStringLiteral("mnuDropdownEdit"), QStringLiteral("編集"));
    m->addSeparator();
    QAction *rowsUp = addItem(m, QStringLiteral("mnuDispListCount_Up"), QStringLiteral("表示行数 ＋"));
    QAction *rowsDown = addItem(m, QStringLiteral("mnuDispListCount_Down"), QStringLiteral("表示行数 －"));
    m->addSeparator();
    QAction *maxUp = addItem(m, QStringLiteral("mnuHistoryCount_Up"), QStringLiteral("記憶履歴数 ＋"));
    QAction *maxDown = addItem(m, QStringLiteral("mnuHistoryCount_Down"), QStringLiteral("記憶履歴数 －"));
    m->addSeparator();
    QAction *odd = addItem(m, QStringLiteral("mnuOddColor"), QStringLiteral("偶数行色"), true);
    QAction *words = addItem(m, QStringLiteral("mnuCommandColor"), QStringLiteral("コマンド色"), true);

    HistorySettings &h = m_state.history;
    for (int i = 0; i < 2; ++i)
        connect(sort[i], &QAction::triggered, this, [this, i] {
            m_state.history.HistorySort = ToggleHistorySort(m_state.history.HistorySort, i);
        });
    connect(edit, &QAction::triggered, this, [this] { openInputForm(txtExecAp, QCursor::pos()); });
    connect(rowsUp, &QAction::triggered, this, [&h] { h.HistoryRows = StepHistoryRows(h.HistoryRows, 1); });
    connect(rowsDown, &QAction::triggered, this, [&h] { h.HistoryRows = StepHistoryRows(h.HistoryRows, -1); });
    connect(maxUp, &QAction::triggered, this, [&h] { h.HistoryMax = StepHistoryMax(h.HistoryMax, 1); });
    connect(maxDown, &QAction::triggered, this, [&h] { h.HistoryMax = StepHistoryMax(h.HistoryMax, -1); });
    connect(odd, &QAction::triggered, this, [this](bool on) {
        m_state.ActiveOddColor = on ? m_state.history.HistoryOddColor : QString();
    });
    connect(words, &QAction::triggered, this, [this](bool on) {
        m_state.ActiveColors = on ? m_state.history.HistoryColors : QString();
    });

    // A double-click on the application box runs the menu's edit command.
    OpenOnDoubleClick(txtExecAp, [this](QPoint at) { openInputForm(txtExecAp, at); });
    addInputFormOpener(txtPhrase, EditFormOpener::Phrase);
}

void MainWindow::showHistoryList()
{
    if (m_historyListOpen) {
        if (m_historyList)
            m_historyList->close();
        return;
    }
    if (OpenHistoryList(m_state.history, m_state.ActiveOddColor, m_state.ActiveColors, QString()).rows.isEmpty())
        return;  // nothing to choose from
    m_historyListOpen = true;
    m_historyList = HistoryListWindow::open(txtExecAp, m_state);
    connect(m_historyList, &HistoryListWindow::closed, this, [this] {
        QTimer::singleShot(kHistoryListClosingMs, this, [this] { m_historyListOpen = false; });
    });
}

void MainWindow::showHistoryMenu(QPoint at)
{
    const HistorySettings &h = m_state.history;
    const auto item = [this](const char *name) { return mnuPopUpDropdown->findChild<QAction *>(QLatin1String(name)); };
    item("mnuSort_0")->setChecked(h.HistorySort == QLatin1String("0"));
    item("mnuSort_1")->setChecked(h.HistorySort == QLatin1String("1"));
    item("mnuDispListCount_Up")->setText(HistoryRowsUpCaption(h.HistoryRows));
    item("mnuHistoryCount_Up")->setText(HistoryMaxUpCaption(h.HistoryMax));
    // The colour items show whether the colours are in use.
    item("mnuOddColor")->setChecked(!m_state.ActiveOddColor.isEmpty());
    item("mnuCommandColor")->setChecked(!m_state.ActiveColors.isEmpty());
    mnuPopUpDropdown->popup(at);
}

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
