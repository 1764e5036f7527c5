#include "ui/panels/application_panel.h"

#include "core/text.h"
#include "input/command_history.h"
#include "shell/window_place.h"
#include "ui/clickable_label.h"
#include "ui/input_form.h"
#include "ui/main_window_services.h"

#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
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

ApplicationPanel::ApplicationPanel(PanelHost &host, QWidget *parent)
    : QGroupBox(tr("復帰時アプリ"), parent), JobPanel(host)
{
    setObjectName(QStringLiteral("fr復帰_2"));
    auto *lay = new QGridLayout(this);
    lay->setContentsMargins(6, 4, 6, 4);
    chkLaunchApp = new QCheckBox(this);
    chkLaunchApp->setObjectName(QStringLiteral("chkAP起動"));
    chkLaunchApp->setToolTip(tr("アプリ起動を有効/無効に設定"));
    auto *help = new ClickableLabel(tr("復帰時に右のプログラムを実行（ここをクリックするとパラメータの説明を表示）"), this);
    help->clicked = [this] { Q_EMIT applicationHelpRequested(); };
    lblExecAp = help;
    lblExecAp->setObjectName(QStringLiteral("lblExecAp"));
    lblExecAp->setCursor(Qt::PointingHandCursor);
    lblExecAp->setWordWrap(true);
    chkLaunchApp->setAccessibleName(lblExecAp->text());
    txtExecAp = new QLineEdit(this);
    txtExecAp->setObjectName(QStringLiteral("txtExecAp"));
    txtExecAp->setAccessibleName(tr("復帰時に実行するプログラム"));
    cmdBrowse = new QToolButton(this);
    cmdBrowse->setObjectName(QStringLiteral("cmd参照"));
    cmdBrowse->setText(QStringLiteral("…"));
    cmdBrowse->setToolTip(tr("起動するプログラムを選択"));
    cmdDropButton = new QToolButton(this);
    cmdDropButton->setObjectName(QStringLiteral("cmdDropButton"));
    cmdDropButton->setArrowType(Qt::DownArrow);
    cmdDropButton->setToolTip(tr("右クリックでポップアップメニュー"));
    cmdDropButton->setAccessibleName(tr("履歴"));
    cmdDropButton->setFixedWidth(16);
    auto *boxRow = new QHBoxLayout;
    boxRow->setSpacing(0);
    boxRow->addWidget(txtExecAp);
    boxRow->addWidget(cmdDropButton);
    lay->addWidget(chkLaunchApp, 0, 0);
    lay->addWidget(lblExecAp, 0, 1, 1, 2);
    lay->addLayout(boxRow, 1, 0, 1, 2);
    lay->addWidget(cmdBrowse, 1, 2);
    lay->setColumnStretch(1, 1);

    using B = JobBindings;
    m_bindings.check(chkLaunchApp, B::field(&JobSettings::LaunchApp));
    m_bindings.text(txtExecAp, B::field(&JobSettings::AppCommand));
    connectLive(this);

    connect(chkLaunchApp, &QCheckBox::toggled, this, &ApplicationPanel::applyBoxState);
    connect(cmdBrowse, &QToolButton::clicked, this, &ApplicationPanel::browseApplication);
    connect(cmdDropButton, &QToolButton::clicked, this, &ApplicationPanel::showHistoryList);
    cmdDropButton->installEventFilter(new RightPress(cmdDropButton, [this](QPoint at) { showHistoryMenu(at); }));
    buildHistoryMenu();
    // A double-click on the application box runs the menu's edit command.
    OpenOnDoubleClick(txtExecAp, [this](QPoint at) {
        m_host.openInputFormOn(txtExecAp, at, EditFormOpener::ApplicationCommand);
    });
}

void ApplicationPanel::buildHistoryMenu()
{
    // mnuPopUpDropdown, in its order; the numbers and ticks are set as it opens.
    mnuPopUpDropdown = new QMenu(this);
    mnuPopUpDropdown->setObjectName(QStringLiteral("mnuPopUpDropdown"));
    QMenu *m = mnuPopUpDropdown;
    QAction *sort[2] = {addItem(m, QStringLiteral("mnuSort_0"), tr("昇順並べ替え"), true),
                        addItem(m, QStringLiteral("mnuSort_1"), tr("降順並べ替え"), true)};
    m->addSeparator();
    QAction *edit = addItem(m, QStringLiteral("mnuDropdownEdit"), tr("編集"));
    m->addSeparator();
    QAction *rowsUp = addItem(m, QStringLiteral("mnuDispListCount_Up"), tr("表示行数 ＋"));
    QAction *rowsDown = addItem(m, QStringLiteral("mnuDispListCount_Down"), tr("表示行数 －"));
    m->addSeparator();
    QAction *maxUp = addItem(m, QStringLiteral("mnuHistoryCount_Up"), tr("記憶履歴数 ＋"));
    QAction *maxDown = addItem(m, QStringLiteral("mnuHistoryCount_Down"), tr("記憶履歴数 －"));
    m->addSeparator();
    QAction *odd = addItem(m, QStringLiteral("mnuOddColor"), tr("偶数行色"), true);
    QAction *words = addItem(m, QStringLiteral("mnuCommandColor"), tr("コマンド色"), true);

    AppState &state = m_host.state();
    HistorySettings &h = state.history;
    for (int i = 0; i < 2; ++i)
        connect(sort[i], &QAction::triggered, this,
                [&h, i] { h.HistorySort = ToggleHistorySort(h.HistorySort, i); });
    connect(edit, &QAction::triggered, this, [this] {
        m_host.openInputFormOn(txtExecAp, QCursor::pos(), EditFormOpener::ApplicationCommand);
    });
    connect(rowsUp, &QAction::triggered, this, [&h] { h.HistoryRows = StepHistoryRows(h.HistoryRows, 1); });
    connect(rowsDown, &QAction::triggered, this, [&h] { h.HistoryRows = StepHistoryRows(h.HistoryRows, -1); });
    connect(maxUp, &QAction::triggered, this, [&h] { h.HistoryMax = StepHistoryMax(h.HistoryMax, 1); });
    connect(maxDown, &QAction::triggered, this, [&h] { h.HistoryMax = StepHistoryMax(h.HistoryMax, -1); });
    connect(odd, &QAction::triggered, this,
            [&state](bool on) { state.ActiveOddColor = on ? state.history.HistoryOddColor : QString(); });
    connect(words, &QAction::triggered, this,
            [&state](bool on) { state.ActiveColors = on ? state.history.HistoryColors : QString(); });
}

void ApplicationPanel::applyBoxState()
{
    const bool on = chkLaunchApp->isChecked();
    txtExecAp->setEnabled(on);
    cmdBrowse->setEnabled(on);
    cmdDropButton->setEnabled(on);
    txtExecAp->setStyleSheet(on ? QStringLiteral("QLineEdit { background: #FFFFFF; }")
                                : QStringLiteral("QLineEdit { background: #E0E0E0; }"));
}

void ApplicationPanel::setCommand(const QString &command)
{
    txtExecAp->setText(command);
}

void ApplicationPanel::browseApplication()
{
    AppState &state = m_host.state();
    const QString start = BrowseStartFolder(txtExecAp->text(), state.LastProgramFolder, QDir::currentPath(),
                                            [](const QString &folder) { return QDir(folder).exists(); });
    auto *dlg = new QFileDialog(window(), tr("起動ファイルの選択"), start,
                                tr("すべてのファイル(*.*) (*)"));
    dlg->setObjectName(QStringLiteral("dlgBrowseApplication"));
    dlg->setFileMode(QFileDialog::ExistingFile);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QFileDialog::fileSelected, this, [this](const QString &file) {
        if (file.isEmpty())
            return;
        m_host.state().LastProgramFolder = QFileInfo(file).absolutePath();
        // A path with blanks is quoted so that its program part stays whole.
        txtExecAp->setText(QuoteIfSpaced(m_host.services().makeRelativePath(file)));
    });
    dlg->open();
}

void ApplicationPanel::showHistoryList()
{
    AppState &state = m_host.state();
    if (m_historyListOpen) {
        if (m_historyList)
            m_historyList->close();
        return;
    }
    if (OpenHistoryList(state.history, state.ActiveOddColor, state.ActiveColors, QString()).rows.isEmpty())
        return;  // nothing to choose from
    m_historyListOpen = true;
    m_historyList = HistoryListWindow::open(txtExecAp, state);
    connect(m_historyList, &HistoryListWindow::closed, this, [this] {
        QTimer::singleShot(kHistoryListClosingMs, this, [this] { m_historyListOpen = false; });
    });
}

void ApplicationPanel::showHistoryMenu(QPoint at)
{
    const AppState &state = m_host.state();
    const HistorySettings &h = state.history;
    const auto item = [this](const char *name) { return mnuPopUpDropdown->findChild<QAction *>(QLatin1String(name)); };
    item("mnuSort_0")->setChecked(h.HistorySort == QLatin1String("0"));
    item("mnuSort_1")->setChecked(h.HistorySort == QLatin1String("1"));
    item("mnuDispListCount_Up")->setText(HistoryRowsUpCaption(h.HistoryRows));
    item("mnuHistoryCount_Up")->setText(HistoryMaxUpCaption(h.HistoryMax));
    // The colour items show whether the colours are in use.
    item("mnuOddColor")->setChecked(!state.ActiveOddColor.isEmpty());
    item("mnuCommandColor")->setChecked(!state.ActiveColors.isEmpty());
    mnuPopUpDropdown->popup(at);
}

}  // namespace zk
