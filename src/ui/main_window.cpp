#include "ui/main_window.h"

#include "core/crlf.h"
#include "core/job_edit.h"
#include "core/run_engine.h"
#include "core/text.h"
#include "shell/tray_text.h"
#include "ui/popups.h"
#include "ui/press_repeater.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace zk {

namespace {


// A drop-down list whose entries are fetched each time it opens.
class ProcessCombo : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<QStringList()> source;

protected:
    void showPopup() override
    {
        if (source) {
            const QString current = currentText();
            clear();
            addItem(QString());
            addItems(source());
            const int i = findText(current);
            if (i >= 0)
                setCurrentIndex(i);
        }
        QComboBox::showPopup();
    }
    void keyPressEvent(QKeyEvent *e) override { e->ignore(); }  // typed keys are discarded
};

// A label that reports clicks (the help label beside the application box).
class ClickLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> clicked;

protected:
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        if (clicked)
            clicked();
        QLabel::mouseReleaseEvent(e);
    }
};

QStringList minutesList()
{
    return {QStringLiteral("   0"), QStringLiteral("   1"), QStringLiteral("   3"), QStringLiteral("   5"),
            QStringLiteral("  10"), QStringLiteral("  15"), QStringLiteral("  20"), QStringLiteral("  30"),
            QStringLiteral("  45"), QStringLiteral("  60"), QStringLiteral("  90"), QStringLiteral(" 120"),
            QStringLiteral(" 180"), QStringLiteral(" 240"), QStringLiteral(" 300"), QStringLiteral(" 360"),
            QStringLiteral(" 480"), QStringLiteral(" 600"), QStringLiteral(" 720"), QStringLiteral("1440")};
}

void setComboText(QComboBox *c, const QString &text)
{
    if (c->isEditable()) {
        c->setEditText(text);
        return;
    }
    int i = c->findText(text);
    if (i < 0 && !text.isEmpty()) {
        c->addItem(text);
        i = c->count() - 1;
    }
    c->setCurrentIndex(i < 0 ? 0 : i);
}

QString rgbHex(const RunColor &c)
{
    return QColor(c.r, c.g, c.b).name();
}

}  // namespace

MainWindow::MainWindow(AppState &state, const Clock &clock, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_clock(clock)
{
    setObjectName(QStringLiteral("frmZenkoro"));
    setAttribute(Qt::WA_QuitOnClose, true);
    buildUi();
    connectControls();
    giveAccessibleNames();

    // Tray icon and its menu.
    m_tray = new QSystemTrayIcon(this);
    m_tray->setIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    m_trayMenu = new QMenu(this);
    m_trayMenu->setObjectName(QStringLiteral("mnuPopUp"));
    QAction *close = m_trayMenu->addAction(QStringLiteral("Ver") + VersionText() + QStringLiteral(" 〆"));
    close->setObjectName(QStringLiteral("mnuClose"));
    QAction *disp = m_trayMenu->addAction(QStringLiteral("表示"));
    disp->setObjectName(QStringLiteral("mnuDisp"));
    QAction *spc = m_trayMenu->addSeparator();
    spc->setObjectName(QStringLiteral("mnuSpc1"));
    QAction *end = m_trayMenu->addAction(QStringLiteral("終了"));
    end->setObjectName(QStringLiteral("mnuEnd"));
    connect(disp, &QAction::triggered, this, &MainWindow::trayShowAction);
    connect(end, &QAction::triggered, this, &MainWindow::unload);
    m_tray->setContextMenu(m_trayMenu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::DoubleClick)
            trayShowAction();
    });

    m_splash = new SplashWindow(this);

    loadFrom(m_state);
    setRemainingFontSize(kRemainingFontNormal);
    setRemainingColor(kColorCountdown);
    setRunLocked(false);
}

MainWindow::~MainWindow()
{
    if (m_engine)
        m_engine->setView(nullptr);
}

void MainWindow::setHooks(MainWindowHooks hooks)
{
    m_hooks = std::move(hooks);
    static_cast<ProcessCombo *>(cmbProcess)->source = m_hooks.processList;
}

void MainWindow::attachEngine(RunEngine *engine)
{
    m_engine = engine;
    if (m_engine) {
        m_engine->setView(this);
        m_engine->setBaseCaption(m_baseCaption);
    }
}

// ---------------------------------------------------------------- building

void MainWindow::buildUi()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(central);
    auto *top = new QVBoxLayout(central);
    top->setContentsMargins(6, 6, 6, 6);
    top->setSpacing(4);

    frOp = buildOperationFrame();
    top->addWidget(frOp);

    auto *run = new QWidget(central);
    buildRunArea(run);
    top->addWidget(run);

    FrImmediate = buildQuickFrame();
    top->addWidget(FrImmediate);

    extendedArea = new QWidget(central);
    extendedArea->setObjectName(QStringLiteral("extendedArea"));
    auto *grid = new QGridLayout(extendedArea);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);
    frMonitor = buildMonitorFrame();
    frResume1 = buildResumeFrame();
    frResume2 = buildApplicationFrame();
    frDisp = buildDisplayFrame();
    grid->addWidget(frMonitor, 0, 0);
    grid->addWidget(frResume1, 0, 1, 2, 1);
    grid->addWidget(frDisp, 1, 0);
    grid->addWidget(frResume2, 2, 0, 1, 2);
    top->addWidget(extendedArea);

    frMulti = new QGroupBox(QStringLiteral("時刻昇順"), central);
    frMulti->setObjectName(QStringLiteral("fr連続"));
    auto *ml = new QVBoxLayout(frMulti);
    auto *placeholder = new QLabel(QStringLiteral("連続指定の一覧"), frMulti);
    placeholder->setObjectName(QStringLiteral("lblMultiPlaceholder"));
    ml->addWidget(placeholder);
    frMulti->setVisible(false);
    top->addWidget(frMulti);
    top->addStretch();
}

QGroupBox *MainWindow::buildOperationFrame()
{
    auto *g = new QGroupBox(QStringLiteral("処理"), this);
    g->setObjectName(QStringLiteral("frOp"));
    auto *lay = new QGridLayout(g);
    lay->setContentsMargins(6, 4, 6, 4);
    lay->setHorizontalSpacing(6);

    cmbOp = new QComboBox(g);
    cmbOp->setObjectName(QStringLiteral("cmbOp"));
    cmbOp->addItems(m_state.operations);
    lay->addWidget(cmbOp, 0, 0);

    optGroup = new QButtonGroup(g);
    Opt[0] = new QRadioButton(QStringLiteral("分後"), g);
    Opt[0]->setObjectName(QStringLiteral("Opt_0"));
    Opt[1] = new QRadioButton(QStringLiteral("時刻"), g);
    Opt[1]->setObjectName(QStringLiteral("Opt_1"));
    optGroup->addButton(Opt[0], 0);
    optGroup->addButton(Opt[1], 1);

    cmbTime = new QComboBox(g);
    cmbTime->setObjectName(QStringLiteral("cmbTime"));
    cmbTime->setEditable(true);
    cmbTime->setInsertPolicy(QComboBox::NoInsert);
    cmbTime->addItems(minutesList());
    cmbTime->lineEdit()->setObjectName(QStringLiteral("cmbTime_edit"));
    cmbTime->setMinimumContentsLength(5);

    clockBoxes = new QWidget(g);
    clockBoxes->setObjectName(QStringLiteral("clockBoxes"));
    auto *cl = new QHBoxLayout(clockBoxes);
    cl->setContentsMargins(0, 0, 0, 0);
    cl->setSpacing(1);
    auto makeSpin = [&](QToolButton *(&pair)[2], const QString &name, const QString &what) {
        auto *col = new QVBoxLayout;
        col->setSpacing(0);
        for (int i = 0; i < 2; ++i) {
            pair[i] = new QToolButton(clockBoxes);
            pair[i]->setObjectName(name + QLatin1Char('_') + QString::number(i));
            pair[i]->setText(i == 0 ? QStringLiteral("▲") : QStringLiteral("▼"));
            pair[i]->setAccessibleName(what + (i == 0 ? QStringLiteral(" 上") : QStringLiteral(" 下")));
            pair[i]->setFixedSize(16, 11);
            pair[i]->setStyleSheet(QStringLiteral("QToolButton { font-size: 6pt; padding: 0; }"));
            col->addWidget(pair[i]);
        }
        return col;
    };
    txtH = new QLineEdit(clockBoxes);
    txtH->setObjectName(QStringLiteral("txtH"));
    txtH->setMaxLength(2);
    txtH->setFixedWidth(28);
    txtH->setAlignment(Qt::AlignRight);
    txtM = new QLineEdit(clockBoxes);
    txtM->setObjectName(QStringLiteral("txtM"));
    txtM->setMaxLength(2);
    txtM->setFixedWidth(28);
    txtM->setAlignment(Qt::AlignRight);
    cl->addWidget(txtH);
    cl->addLayout(makeSpin(UpD_H, QStringLiteral("UpD_H"), QStringLiteral("時")));
    auto *lh = new QLabel(QStringLiteral("時"), clockBoxes);
    lh->setObjectName(QStringLiteral("lblH"));
    cl->addWidget(lh);
    cl->addWidget(txtM);
    cl->addLayout(makeSpin(UpD_M, QStringLiteral("UpD_M"), QStringLiteral("分")));
    auto *lm = new QLabel(QStringLiteral("分"), clockBoxes);
    lm->setObjectName(QStringLiteral("lblM"));
    cl->addWidget(lm);
    txtH->setAccessibleName(QStringLiteral("時"));
    txtM->setAccessibleName(QStringLiteral("分"));

    auto *timing = new QHBoxLayout;
    timing->setSpacing(4);
    timing->addWidget(Opt[0]);
    timing->addWidget(cmbTime);
    timing->addWidget(Opt[1]);
    timing->addWidget(clockBoxes);
    timing->addStretch();
    lay->addLayout(timing, 0, 1);

    chkForce = new QCheckBox(QStringLiteral("仕掛かり中でも強制終了します。"), g);
    chkForce->setObjectName(QStringLiteral("chkForce"));
    lay->addWidget(chkForce, 1, 0, 1, 2);
    lay->setColumnStretch(1, 1);

    cmbTime->installEventFilter(this);
    for (QLineEdit *e : {txtH, txtM, cmbTime->lineEdit()}) {
        e->installEventFilter(this);
        e->setAttribute(Qt::WA_InputMethodEnabled, false);
        e->setInputMethodHints(Qt::ImhDigitsOnly);
    }
    cmbOp->installEventFilter(this);
    return g;
}

void MainWindow::buildRunArea(QWidget *host)
{
    auto *lay = new QVBoxLayout(host);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(2);

    lblTime = new QLabel(host);
    lblTime->setObjectName(QStringLiteral("lblTime"));
    lblTime->setAlignment(Qt::AlignCenter);
    lblTime->setMinimumHeight(64);
    lblTime->setAccessibleName(QStringLiteral("残り時間"));
    lay->addWidget(lblTime);

    lblMsg = new QLabel(QStringLiteral("監視文言状態検知！！"), host);
    lblMsg->setObjectName(QStringLiteral("lblMsg"));
    lblMsg->setAlignment(Qt::AlignCenter);
    lblMsg->setStyleSheet(QStringLiteral("QLabel { color: #FF0000; font-weight: bold; }"));
    {
        // The label blinks once a second: its place stays reserved so that
        // the window does not jump with it.
        QSizePolicy sp = lblMsg->sizePolicy();
        sp.setRetainSizeWhenHidden(true);
        lblMsg->setSizePolicy(sp);
    }
    lblMsg->setVisible(false);
    lay->addWidget(lblMsg);

    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    lblNow = new QLabel(host);
    lblNow->setObjectName(QStringLiteral("lbl現在時刻"));
    lblNow->setAccessibleName(QStringLiteral("現在時刻"));
    lblNow->setToolTip(QStringLiteral("現在時刻"));
    lblNow->setMinimumWidth(60);
    lblResumeAt = new QLabel(host);
    lblResumeAt->setObjectName(QStringLiteral("lbl復帰時分"));
    lblResumeAt->setAccessibleName(QStringLiteral("復帰予定"));
    cmdStart = new QPushButton(QStringLiteral("実行"), host);
    cmdStart->setObjectName(QStringLiteral("cmd実行"));
    cmdStop = new QPushButton(QStringLiteral("中止"), host);
    cmdStop->setObjectName(QStringLiteral("cmd中止"));
    ChkMulti = new QCheckBox(QStringLiteral("連続指定"), host);
    ChkMulti->setObjectName(QStringLiteral("ChkMulti"));
    chkExtended = new QCheckBox(QStringLiteral("拡張設定"), host);
    chkExtended->setObjectName(QStringLiteral("chk拡張"));
    chkExtended->setToolTip(QStringLiteral("監視・復帰・表示の設定を表示します"));
    row->addWidget(lblNow);
    row->addWidget(lblResumeAt);
    row->addStretch();
    row->addWidget(ChkMulti);
    row->addWidget(chkExtended);
    row->addWidget(cmdStart);
    row->addWidget(cmdStop);
    lay->addLayout(row);
}

QGroupBox *MainWindow::buildQuickFrame()
{
    auto *g = new QGroupBox(QStringLiteral("即実行"), this);
    g->setObjectName(QStringLiteral("FrImmediate"));
    auto *lay = new QHBoxLayout(g);
    lay->setContentsMargins(6, 2, 6, 2);
    for (const QuickButtonSpec &spec : QuickButtons(m_state.platform)) {
        auto *b = new QPushButton(spec.caption, g);
        b->setObjectName(QStringLiteral("cmdQuick_") + QString::number(spec.index));
        if (!spec.toolTip.isEmpty())
            b->setToolTip(spec.toolTip);
        b->setVisible(spec.visible);
        cmdQuick[spec.index] = b;
        lay->addWidget(b);
        const int index = spec.index;
        connect(b, &QPushButton::clicked, this, [this, index] { quickAction(index); });
    }
    lay->addStretch();
    return g;
}

QGroupBox *MainWindow::buildMonitorFrame()
{
    auto *g = new QGroupBox(QStringLiteral("監視"), this);
    g->setObjectName(QStringLiteral("fr監視"));
    auto *lay = new QVBoxLayout(g);
    lay->setContentsMargins(6, 4, 6, 4);
    lay->setSpacing(3);

    chkMonitor = new QCheckBox(QStringLiteral("監視する"), g);
    chkMonitor->setObjectName(QStringLiteral("chk監視"));
    lay->addWidget(chkMonitor);

    monitorKindGroup = new QButtonGroup(g);
    auto *kinds = new QHBoxLayout;
    const QString kindCaptions[3] = {QStringLiteral("出力文言"), QStringLiteral("CPU使用率"), QStringLiteral("電源")};
    const QString kindTips[3] = {QStringLiteral("出力文言で監視"), QStringLiteral("CPU使用率で監視"),
                                 QStringLiteral("電源（外部、バッテリー）を監視")};
    for (int i = 0; i < 3; ++i) {
        optMonitorKind[i] = new QRadioButton(kindCaptions[i], g);
        optMonitorKind[i]->setObjectName(QStringLiteral("opt監視選択_") + QString::number(i));
        optMonitorKind[i]->setToolTip(kindTips[i]);
        monitorKindGroup->addButton(optMonitorKind[i], i);
        kinds->addWidget(optMonitorKind[i]);
    }
    kinds->addStretch();
    lay->addLayout(kinds);

    monitorPages = new QStackedWidget(g);
    monitorPages->setObjectName(QStringLiteral("monitorPages"));

    // Screen text.
    auto *phrase = new QWidget(monitorPages);
    phrase->setObjectName(QStringLiteral("frPhrase"));
    auto *pl = new QGridLayout(phrase);
    pl->setContentsMargins(0, 0, 0, 0);
    lblPhrase = new QLabel(QStringLiteral("文言"), phrase);
    lblPhrase->setObjectName(QStringLiteral("lbl文言"));
    txtPhrase = new QPlainTextEdit(phrase);
    txtPhrase->setObjectName(QStringLiteral("txt監視文言"));
    txtPhrase->setFixedHeight(44);
    txtPhrase->setTabChangesFocus(true);
    txtPhrase->viewport()->installEventFilter(this);
    lblPhrase->setBuddy(txtPhrase);
    phraseEventGroup = new QButtonGroup(phrase);
    OptMsg[0] = new QRadioButton(QStringLiteral("出現時"), phrase);
    OptMsg[0]->setObjectName(QStringLiteral("OptMsg_0"));
    OptMsg[0]->setToolTip(QStringLiteral("上記の文言が含まれるポップアップメッセージ表示時に実行"));
    OptMsg[1] = new QRadioButton(QStringLiteral("消失時"), phrase);
    OptMsg[1]->setObjectName(QStringLiteral("OptMsg_1"));
    OptMsg[1]->setToolTip(QStringLiteral("上記の文言が画面上のポップアップメッセージから表示されなくなった時に実行"));
    phraseEventGroup->addButton(OptMsg[0], 0);
    phraseEventGroup->addButton(OptMsg[1], 1);
    chkIeMonitor = new QCheckBox(QStringLiteral("文言監視にIEドキュメントを含める（負荷大）"), phrase);
    chkIeMonitor->setObjectName(QStringLiteral("chkIeMonitor"));
    pl->addWidget(lblPhrase, 0, 0, Qt::AlignTop);
    pl->addWidget(txtPhrase, 0, 1, 1, 2);
    pl->addWidget(OptMsg[0], 1, 1);
    pl->addWidget(OptMsg[1], 1, 2);
    pl->addWidget(chkIeMonitor, 2, 0, 1, 3);
    monitorPages->addWidget(phrase);

    // CPU usage.
    auto *cpu = new QWidget(monitorPages);
    cpu->setObjectName(QStringLiteral("frCpu"));
    auto *cg = new QGridLayout(cpu);
    cg->setContentsMargins(0, 0, 0, 0);
    auto label = [](const QString &text, QWidget *parent, const QString &name) {
        auto *l = new QLabel(text, parent);
        l->setObjectName(name);
        return l;
    };
    cmbLowerLimit = new QComboBox(cpu);
    cmbLowerLimit->setObjectName(QStringLiteral("cmb下限"));
    cmbLowerLimit->setEditable(true);
    cmbLowerLimit->setInsertPolicy(QComboBox::NoInsert);
    cmbLowerLimit->addItems({QStringLiteral(" 0.1"), QStringLiteral(" 0.2"), QStringLiteral(" 0.5"),
                             QStringLiteral(" 1.0"), QStringLiteral(" 2.0"), QStringLiteral(" 5.0"),
                             QStringLiteral("10.0"), QStringLiteral("20.0")});
    cmbLowerLimit->setToolTip(QStringLiteral("平均値の下限：下記の時間、平均値が本値未満だと終了と見なす"));
    cmbAverageSecs = new QComboBox(cpu);
    cmbAverageSecs->setObjectName(QStringLiteral("cmb継続時間"));
    cmbAverageSecs->setEditable(true);
    cmbAverageSecs->setInsertPolicy(QComboBox::NoInsert);
    cmbAverageSecs->addItems({QStringLiteral(" 10"), QStringLiteral(" 20"), QStringLiteral(" 30"),
                              QStringLiteral(" 40"), QStringLiteral(" 60"), QStringLiteral(" 90"),
                              QStringLiteral("120"), QStringLiteral("180"), QStringLiteral("240"),
                              QStringLiteral("300"), QStringLiteral("600"), QStringLiteral("1200")});
    cmbAverageSecs->setToolTip(QStringLiteral("CPU使用率平均を計算する時間（秒）"));
    auto *proc = new ProcessCombo(cpu);
    cmbProcess = proc;
    cmbProcess->setObjectName(QStringLiteral("cmbProcess"));
    cmbProcess->setToolTip(QStringLiteral("監視するプロセスを選択、未選択時はCPU全体"));
    cmbProcess->addItem(QString());
    cmbProcess->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbProcess->setMinimumContentsLength(12);
    lblCpuUsage = label(QString(), cpu, QStringLiteral("lblCPU使用率"));
    lblAverage = label(QString(), cpu, QStringLiteral("lbl平均"));
    lblAverage->setToolTip(QStringLiteral("右時間のCPU使用率平均（％）"));
    auto *lLimit = label(QStringLiteral("下限"), cpu, QStringLiteral("lbl下限"));
    auto *lPct = label(QStringLiteral("%"), cpu, QStringLiteral("lblPercent"));
    auto *lSpan = label(QStringLiteral("平均時間"), cpu, QStringLiteral("lbl平均時間"));
    auto *lSec = label(QStringLiteral("秒"), cpu, QStringLiteral("lbl秒"));
    auto *lProc = label(QStringLiteral("監視プロセス"), cpu, QStringLiteral("lbl監視プロセス"));
    auto *lUse = label(QStringLiteral("CPU使用率"), cpu, QStringLiteral("lblCPU使用率見出し"));
    auto *lAvg = label(QStringLiteral("平均"), cpu, QStringLiteral("lbl平均見出し"));
    lLimit->setBuddy(cmbLowerLimit);
    lSpan->setBuddy(cmbAverageSecs);
    lProc->setBuddy(cmbProcess);
    cg->addWidget(lLimit, 0, 0);
    cg->addWidget(cmbLowerLimit, 0, 1);
    cg->addWidget(lPct, 0, 2);
    cg->addWidget(lSpan, 0, 3);
    cg->addWidget(cmbAverageSecs, 0, 4);
    cg->addWidget(lSec, 0, 5);
    cg->addWidget(lProc, 1, 0);
    cg->addWidget(cmbProcess, 1, 1, 1, 5);
    cg->addWidget(lUse, 2, 0);
    cg->addWidget(lblCpuUsage, 2, 1);
    cg->addWidget(lAvg, 2, 3);
    cg->addWidget(lblAverage, 2, 4);
    monitorPages->addWidget(cpu);

    // Battery and idle input.
    auto *power = new QWidget(monitorPages);
    power->setObjectName(QStringLiteral("frPower"));
    auto *pg = new QGridLayout(power);
    pg->setContentsMargins(0, 0, 0, 0);
    cmbTimePower = new QComboBox(power);
    cmbTimePower->setObjectName(QStringLiteral("cmbTimePower"));
    cmbTimePower->setEditable(true);
    cmbTimePower->setInsertPolicy(QComboBox::NoInsert);
    cmbTimePower->addItems({QStringLiteral("  0"), QStringLiteral(" 10"), QStringLiteral(" 20"), QStringLiteral(" 30"),
                            QStringLiteral(" 40"), QStringLiteral(" 50"), QStringLiteral(" 60"), QStringLiteral(" 90"),
                            QStringLiteral("120"), QStringLiteral("150")});
    cmbTimePower->setToolTip(QStringLiteral("処理開始までの時間を秒単位で指定"));
    auto *lBat = label(QStringLiteral("バッテリー動作時"), power, QStringLiteral("lblバッテリー動作時"));
    auto *lIdle = label(QStringLiteral("秒間入力無い時に実行"), power, QStringLiteral("lbl秒間入力無い時に実行"));
    lIdle->setBuddy(cmbTimePower);
    lblStatus = label(QString(), power, QStringLiteral("lblStatus"));
    lblStatus->setAccessibleName(QStringLiteral("電源状態"));
    cmdDspPowerState = new QPushButton(QStringLiteral("電源状態"), power);
    cmdDspPowerState->setObjectName(QStringLiteral("cmdDspPowerState"));
    pg->addWidget(lBat, 0, 0);
    pg->addWidget(cmbTimePower, 0, 1);
    pg->addWidget(lIdle, 0, 2);
    pg->addWidget(lblStatus, 1, 0, 1, 2);
    pg->addWidget(cmdDspPowerState, 1, 2, Qt::AlignRight);
    monitorPages->addWidget(power);

    for (QComboBox *c : {cmbTimePower}) {
        c->installEventFilter(this);
        c->lineEdit()->installEventFilter(this);
        c->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    lay->addWidget(monitorPages);
    return g;
}

QGroupBox *MainWindow::buildResumeFrame()
{
    auto *g = new QGroupBox(QStringLiteral("復帰"), this);
    g->setObjectName(QStringLiteral("fr復帰_1"));
    auto *lay = new QVBoxLayout(g);
    lay->setContentsMargins(6, 4, 6, 4);
    lay->setSpacing(3);

    auto *row1 = new QHBoxLayout;
    chkResume = new QCheckBox(QStringLiteral("復帰"), g);
    chkResume->setObjectName(QStringLiteral("chk復帰"));
    chkResume->setToolTip(QStringLiteral("指定時刻にコンピュータを復帰させます。"));
    chkResumeOnly = new QCheckBox(QStringLiteral("復帰機能のみ使用"), g);
    chkResumeOnly->setObjectName(QStringLiteral("chk復帰のみ"));
    row1->addWidget(chkResume);
    row1->addWidget(chkResumeOnly);
    row1->addStretch();
    lay->addLayout(row1);

    chkResumeAtClock = new QCheckBox(QStringLiteral("復帰時刻"), g);
    chkResumeAtClock->setObjectName(QStringLiteral("chk復帰時刻"));
    lay->addWidget(chkResumeAtClock);

    resumePages = new QStackedWidget(g);
    resumePages->setObjectName(QStringLiteral("resumePages"));
    auto *datePage = new QWidget(resumePages);
    datePage->setObjectName(QStringLiteral("frResumeDate"));
    auto *dl = new QHBoxLayout(datePage);
    dl->setContentsMargins(0, 0, 0, 0);
    dl->setSpacing(1);
    const QString units[5] = {QStringLiteral("年"), QStringLiteral("月"), QStringLiteral("日"), QStringLiteral("時"),
                              QStringLiteral("分")};
    const QString spinNames[5] = {QStringLiteral("UpD_rY"), QStringLiteral("UpD_rM"), QStringLiteral("UpD_rD"),
                                  QStringLiteral("UpD_rH"), QStringLiteral("UpD_rMM")};
    for (int i = 0; i < 5; ++i) {
        txtResume[i] = new QLineEdit(datePage);
        txtResume[i]->setObjectName(QStringLiteral("txtResume_") + QString::number(i));
        txtResume[i]->setFixedWidth(i == 0 ? 40 : 26);
        txtResume[i]->setAlignment(Qt::AlignRight);
        txtResume[i]->setMaxLength(i == 0 ? 4 : 2);
        txtResume[i]->setAccessibleName(QStringLiteral("復帰") + units[i]);
        txtResume[i]->installEventFilter(this);
        txtResume[i]->setAttribute(Qt::WA_InputMethodEnabled, false);
        dl->addWidget(txtResume[i]);
        auto *col = new QVBoxLayout;
        col->setSpacing(0);
        for (int d = 0; d < 2; ++d) {
            auto *b = new QToolButton(datePage);
            b->setObjectName(spinNames[i] + QLatin1Char('_') + QString::number(d));
            b->setText(d == 0 ? QStringLiteral("▲") : QStringLiteral("▼"));
            b->setAccessibleName(QStringLiteral("復帰") + units[i] + (d == 0 ? QStringLiteral(" 上") : QStringLiteral(" 下")));
            b->setFixedSize(14, 11);
            b->setStyleSheet(QStringLiteral("QToolButton { font-size: 6pt; padding: 0; }"));
            UpD_r[i][d] = b;
            col->addWidget(b);
        }
        dl->addLayout(col);
        auto *u = new QLabel(units[i], datePage);
        u->setObjectName(QStringLiteral("lblResumeUnit_") + QString::number(i));
        dl->addWidget(u);
    }
    dl->addStretch();
    resumePages->addWidget(datePage);

    auto *minutesPage = new QWidget(resumePages);
    minutesPage->setObjectName(QStringLiteral("frResumeMinutes"));
    auto *mpl = new QHBoxLayout(minutesPage);
    mpl->setContentsMargins(0, 0, 0, 0);
    cmbResumeMinutes = new QComboBox(minutesPage);
    cmbResumeMinutes->setObjectName(QStringLiteral("cmb復帰分"));
    cmbResumeMinutes->setEditable(true);
    cmbResumeMinutes->setInsertPolicy(QComboBox::NoInsert);
    for (const char *m : {"  1", "  2", "  3", "  5", "  7", " 10", " 15", " 20", " 30", " 40", " 50", " 60",
                          " 90", "120", "150", "180", "240", "300", "360", "420", "480", "540", "600"})
        cmbResumeMinutes->addItem(QString::fromLatin1(m));
    cmbResumeMinutes->setEditText(QStringLiteral(" 10"));
    cmbResumeMinutes->setToolTip(QStringLiteral("スタンバイ/休止後、この分数後に復帰します"));
    cmbResumeMinutes->installEventFilter(this);
    cmbResumeMinutes->lineEdit()->installEventFilter(this);
    cmbResumeMinutes->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    auto *lAfter = new QLabel(QStringLiteral("分後に復帰"), minutesPage);
    lAfter->setObjectName(QStringLiteral("lbl分後に復帰"));
    lAfter->setBuddy(cmbResumeMinutes);
    mpl->addWidget(cmbResumeMinutes);
    mpl->addWidget(lAfter);
    mpl->addStretch();
    resumePages->addWidget(minutesPage);
    lay->addWidget(resumePages);

    auto *row2 = new QHBoxLayout;
    cmdSetDefaultResume = new QPushButton(QStringLiteral("リスト値セット"), g);
    cmdSetDefaultResume->setObjectName(QStringLiteral("cmdSetDefaultResume"));
    cmdSetDefaultResume->setToolTip(QStringLiteral("復帰リストから曜日毎の復帰時刻と起動アプリをセットします。"));
    cmdClear = new QPushButton(QStringLiteral("クリア"), g);
    cmdClear->setObjectName(QStringLiteral("cmdClear"));
    cmdClear->setToolTip(QStringLiteral("復帰時刻と起動アプリを消去します"));
    cmdWeekTable = new QPushButton(QStringLiteral("復帰リスト"), g);
    cmdWeekTable->setObjectName(QStringLiteral("cmd個別曜日設定"));
    cmdWeekTable->setToolTip(QStringLiteral("曜日毎の復帰時刻と起動アプリを指定します。"));
    row2->addWidget(cmdSetDefaultResume);
    row2->addWidget(cmdClear);
    row2->addWidget(cmdWeekTable);
    row2->addStretch();
    lay->addLayout(row2);

    frWeek = new QGroupBox(QStringLiteral("復帰曜日"), g);
    frWeek->setObjectName(QStringLiteral("frWeek"));
    frWeek->setToolTip(QStringLiteral("復帰が有効な曜日を指定"));
    auto *wl = new QHBoxLayout(frWeek);
    wl->setContentsMargins(4, 2, 4, 2);
    wl->setSpacing(2);
    const QString days[8] = {QString(),          QStringLiteral("日"), QStringLiteral("月"), QStringLiteral("火"),
                             QStringLiteral("水"), QStringLiteral("木"), QStringLiteral("金"), QStringLiteral("土")};
    for (int w = 1; w <= 7; ++w) {
        chkWeek[w] = new QCheckBox(days[w], frWeek);
        chkWeek[w]->setObjectName(QStringLiteral("chkWeek_") + QString::number(w));
        wl->addWidget(chkWeek[w]);
    }
    lay->addWidget(frWeek);

    chkResumeKeep = new QCheckBox(QStringLiteral("復帰状態維持"), g);
    chkResumeKeep->setObjectName(QStringLiteral("chk復帰状態維持"));
    chkResumeKeep->setToolTip(QStringLiteral("オフ：入力または実行アプリが無い場合スタンバイモードに移行"));
    chkResumeMonitor = new QCheckBox(QStringLiteral("復帰時モニターオン"), g);
    chkResumeMonitor->setObjectName(QStringLiteral("chk復帰時モニター"));
    chkResumeMonitor->setToolTip(QStringLiteral("復帰時にモニターの電源をオン/オフ"));
    auto *row3 = new QHBoxLayout;
    row3->addWidget(chkResumeKeep);
    row3->addWidget(chkResumeMonitor);
    row3->addStretch();
    lay->addLayout(row3);
    lay->addStretch();
    return g;
}

QGroupBox *MainWindow::buildApplicationFrame()
{
    auto *g = new QGroupBox(QStringLiteral("復帰時アプリ"), this);
    g->setObjectName(QStringLiteral("fr復帰_2"));
    auto *lay = new QGridLayout(g);
    lay->setContentsMargins(6, 4, 6, 4);
    chkLaunchApp = new QCheckBox(g);
    chkLaunchApp->setObjectName(QStringLiteral("chkAP起動"));
    chkLaunchApp->setToolTip(QStringLiteral("アプリ起動を有効/無効に設定"));
    auto *help = new ClickLabel(QStringLiteral("復帰時に右のプログラムを実行（ここをクリックするとパラメータの説明を表示）"), g);
    help->clicked = [this] {
        if (m_hooks.openApplicationHelp)
            m_hooks.openApplicationHelp();
    };
    lblExecAp = help;
    lblExecAp->setObjectName(QStringLiteral("lblExecAp"));
    lblExecAp->setCursor(Qt::PointingHandCursor);
    lblExecAp->setWordWrap(true);
    txtExecAp = new QLineEdit(g);
    txtExecAp->setObjectName(QStringLiteral("txtExecAp"));
    txtExecAp->setAccessibleName(QStringLiteral("復帰時に実行するプログラム"));
    cmdBrowse = new QToolButton(g);
    cmdBrowse->setObjectName(QStringLiteral("cmd参照"));
    cmdBrowse->setText(QStringLiteral("…"));
    cmdBrowse->setToolTip(QStringLiteral("起動するプログラムを選択"));
    lay->addWidget(chkLaunchApp, 0, 0);
    lay->addWidget(lblExecAp, 0, 1, 1, 2);
    lay->addWidget(txtExecAp, 1, 0, 1, 2);
    lay->addWidget(cmdBrowse, 1, 2);
    lay->setColumnStretch(1, 1);
    return g;
}

QGroupBox *MainWindow::buildDisplayFrame()
{
    auto *g = new QGroupBox(QStringLiteral("表示"), this);
    g->setObjectName(QStringLiteral("frDisp"));
    auto *lay = new QGridLayout(g);
    lay->setContentsMargins(6, 4, 6, 4);
    lay->setVerticalSpacing(1);
    auto box = [g](const QString &caption, const QString &name, const QString &tip) {
        auto *c = new QCheckBox(caption, g);
        c->setObjectName(name);
        if (!tip.isEmpty())
            c->setToolTip(tip);
        return c;
    };
    chkDsp = box(QStringLiteral("最前面表示"), QStringLiteral("chkDsp"), QStringLiteral("このウィンドウを常に最前面に表示／解除"));
    chkTaskTray = box(QStringLiteral("トレイ収納"), QStringLiteral("chkTaskTray"),
                      QStringLiteral("開始、および最小化時にタスクトレイに収納します。"));
    chkMinimize = box(QStringLiteral("開始時最小化"), QStringLiteral("chk最小化"), QStringLiteral("開始時にウィンドウを最小化します"));
    chkBeep = box(QStringLiteral("カウントダウン音"), QStringLiteral("chkBeep"),
                  QStringLiteral("終了間近になった時、カウントダウン音を鳴らします。"));
    chkNoDispAlert = box(QStringLiteral("通知非表示"), QStringLiteral("chkNoDispAlert"), QStringLiteral("警告の通知を表示しません"));
    chkCapture = box(QStringLiteral("キャプチャー（Capture）"), QStringLiteral("chkCapture"),
                     QStringLiteral("終了時のデスクトップイメージをファイルに出力"));
    chkDspQuick = box(QStringLiteral("即実行ボタン"), QStringLiteral("chkDspQuick"), QStringLiteral("即実行ボタンを表示します"));
    lay->addWidget(chkDsp, 0, 0);
    lay->addWidget(chkTaskTray, 0, 1);
    lay->addWidget(chkMinimize, 1, 0);
    lay->addWidget(chkBeep, 1, 1);
    lay->addWidget(chkNoDispAlert, 2, 0);
    lay->addWidget(chkCapture, 2, 1);
    lay->addWidget(chkDspQuick, 3, 0);
    cmdSave = new QPushButton(QStringLiteral("設定を保存"), g);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setToolTip(QStringLiteral("現在の設定を設定ファイルに保存します"));
    cmdDefault = new QPushButton(QStringLiteral("既定値に戻す"), g);
    cmdDefault->setObjectName(QStringLiteral("cmdDefault"));
    cmdDefault->setToolTip(QStringLiteral("設定を既定値に戻します"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdDefault);
    buttons->addStretch();
    lay->addLayout(buttons, 4, 0, 1, 2);
    return g;
}

void MainWindow::giveAccessibleNames()
{
    const auto widgets = findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (!w->accessibleName().isEmpty())
            continue;
        QString name;
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            name = b->text();
        else if (auto *gb = qobject_cast<QGroupBox *>(w))
            name = gb->title();
        if (name.isEmpty()) {
            // A box is named by its label.
            for (QLabel *l : findChildren<QLabel *>())
                if (l->buddy() == w)
                    name = l->text();
        }
        if (name.isEmpty() && w == chkLaunchApp)
            name = lblExecAp->text();
        if (name.isEmpty() && w == cmbOp)
            name = QStringLiteral("処理");
        if (name.isEmpty() && w == cmbTime)
            name = QStringLiteral("分後");
        if (name.isEmpty() && w == cmbProcess)
            name = QStringLiteral("監視プロセス");
        if (name.isEmpty() && w == lblCpuUsage)
            name = QStringLiteral("CPU使用率");
        if (name.isEmpty() && w == lblAverage)
            name = QStringLiteral("平均");
        if (name.isEmpty() && w == cmdBrowse)
            name = QStringLiteral("参照");
        if (name.isEmpty()) {
            if (auto *l = qobject_cast<QLabel *>(w))
                name = l->text();
        }
        if (!name.isEmpty())
            w->setAccessibleName(name);
    }
    cmbTime->lineEdit()->setAccessibleName(QStringLiteral("分後"));
    cmbResumeMinutes->lineEdit()->setAccessibleName(QStringLiteral("分後に復帰"));
    cmbTimePower->lineEdit()->setAccessibleName(QStringLiteral("秒間入力無い時に実行"));
    cmbLowerLimit->lineEdit()->setAccessibleName(QStringLiteral("下限"));
    cmbAverageSecs->lineEdit()->setAccessibleName(QStringLiteral("平均時間"));
}

// ---------------------------------------------------------------- wiring

void MainWindow::connectControls()
{
    auto live = [this](auto fn) {
        return [this, fn](auto &&...args) {
            if (m_loading == 0)
                fn(std::forward<decltype(args)>(args)...);
        };
    };
    auto flag = [](bool on) { return on ? 1 : 0; };

    connect(cmbOp, &QComboBox::currentIndexChanged, this, &MainWindow::onOperationChanged);
    connect(optGroup, &QButtonGroup::idClicked, this, &MainWindow::onTimingOptionClicked);
    connect(cmbTime, &QComboBox::editTextChanged, this, live([this](const QString &t) { m_state.job.DelayMinutes = t; }));
    connect(cmbTime->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &t) {
        const QString d = DigitsOnly(t, true);
        if (d != t)
            cmbTime->lineEdit()->setText(d);
    });
    for (QLineEdit *e : {txtH, txtM}) {
        connect(e, &QLineEdit::textEdited, this, [e](const QString &t) {
            const QString d = DigitsOnly(t);
            if (d != t)
                e->setText(d);
        });
    }
    connect(txtH, &QLineEdit::textChanged, this, live([this](const QString &t) { m_state.job.ClockHour = t; }));
    connect(txtM, &QLineEdit::textChanged, this, live([this](const QString &t) { m_state.job.ClockMinute = t; }));
    for (int d = 0; d < 2; ++d) {
        new PressRepeater(UpD_H[d], [this, d] { spin(txtH, d, 23, 0); });
        new PressRepeater(UpD_M[d], [this, d] { spin(txtM, d, 59, 0); });
    }
    for (int i = 0; i < 5; ++i)
        for (int d = 0; d < 2; ++d)
            new PressRepeater(UpD_r[i][d], [this, i, d] { spinResume(i, d); });
    connect(chkForce, &QCheckBox::toggled, this, live([this, flag](bool on) { m_state.job.Force = flag(on); }));

    connect(chkMonitor, &QCheckBox::toggled, this, [this, flag](bool on) {
        if (m_loading == 0)
            m_state.job.MonitorEnabled = flag(on);
        applyMonitorLayout();
    });
    connect(monitorKindGroup, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (!on)
            return;
        if (m_loading == 0)
            m_state.job.MonitorKind = id;
        applyMonitorLayout();
    });
    connect(phraseEventGroup, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (!on)
            return;
        if (m_loading == 0)
            m_state.job.PhraseEvent = id;
        txtPhrase->setToolTip(PhraseBoxTooltip(id));
    });
    connect(txtPhrase, &QPlainTextEdit::textChanged, this, live([this] {
        QString t = txtPhrase->toPlainText();
        t.replace(QLatin1Char('\n'), kCrLf);
        m_state.job.MonitorPhrase = t;
    }));
    connect(chkIeMonitor, &QCheckBox::toggled, this, live([this, flag](bool on) { m_state.job.IeMonitor = flag(on); }));
    connect(cmbLowerLimit, &QComboBox::editTextChanged, this,
            live([this](const QString &t) { m_state.job.CpuLowerLimit = t; }));
    connect(cmbAverageSecs, &QComboBox::editTextChanged, this,
            live([this](const QString &t) { m_state.job.CpuAverageSeconds = t; }));
    connect(cmbProcess, &QComboBox::currentTextChanged, this,
            live([this](const QString &t) { m_state.job.CpuProcess = t; }));
    connect(cmbTimePower, &QComboBox::editTextChanged, this,
            live([this](const QString &t) { m_state.job.IdleSeconds = t; }));
    connect(cmbTimePower->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &t) {
        const QString d = DigitsOnly(t, true);
        if (d != t)
            cmbTimePower->lineEdit()->setText(d);
    });
    connect(cmdDspPowerState, &QPushButton::clicked, this, [this] {
        if (m_hooks.openPowerState)
            m_hooks.openPowerState();
    });

    connect(chkResume, &QCheckBox::clicked, this, &MainWindow::onResumeClicked);
    connect(chkResume, &QCheckBox::toggled, this, [this, flag](bool on) {
        if (m_loading == 0)
            m_state.job.ResumeEnabled = flag(on);
        applyResumeLayout();
    });
    connect(chkResumeOnly, &QCheckBox::clicked, this, &MainWindow::onResumeOnlyClicked);
    connect(chkResumeOnly, &QCheckBox::toggled, this, [this, flag](bool on) {
        if (m_loading == 0)
            m_state.job.ResumeOnly = flag(on);
        applyResumeLayout();
    });
    connect(chkResumeAtClock, &QCheckBox::toggled, this, [this, flag](bool on) {
        if (m_loading == 0)
            m_state.job.ResumeAtClock = flag(on);
        applyResumeLayout();
    });
    connect(cmbResumeMinutes, &QComboBox::editTextChanged, this,
            live([this](const QString &t) { m_state.job.ResumeAfterMinutes = t; }));
    connect(cmbResumeMinutes->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &t) {
        const QString d = DigitsOnly(t, true);
        if (d != t)
            cmbResumeMinutes->lineEdit()->setText(d);
    });
    for (int i = 0; i < 5; ++i) {
        connect(txtResume[i], &QLineEdit::textEdited, this, [this, i](const QString &t) {
            const QString d = DigitsOnly(t);
            if (d != t)
                txtResume[i]->setText(d);
        });
        connect(txtResume[i], &QLineEdit::textChanged, this, live([this, i](const QString &t) {
            m_state.job.ResumeDateParts[i] = t;
        }));
    }
    connect(cmdClear, &QPushButton::clicked, this, [this] {
        for (QLineEdit *e : txtResume)
            e->clear();
        txtExecAp->clear();
    });
    connect(cmdSetDefaultResume, &QPushButton::clicked, this, [this] {
        if (m_hooks.applyWeeklyResumeList) {
            m_hooks.applyWeeklyResumeList();
            // The next resume goes into the boxes; none empties them.
            const QDateTime t = m_state.cl.ResumeTime;
            const std::array<QString, 5> parts = t.isValid() ? ResumePartsFor(t) : std::array<QString, 5>{};
            for (int i = 0; i < 5; ++i)
                txtResume[i]->setText(parts[i]);
            txtExecAp->setText(t.isValid() ? m_state.cl.ResumeAppCommand : QString());
        }
    });
    connect(cmdWeekTable, &QPushButton::clicked, this, [this] {
        if (m_hooks.openWeeklyTable)
            m_hooks.openWeeklyTable();
    });
    for (int w = 1; w <= 7; ++w)
        connect(chkWeek[w], &QCheckBox::toggled, this,
                live([this, w, flag](bool on) { m_state.job.setResumeWeekday(w, flag(on)); }));
    connect(chkResumeKeep, &QCheckBox::toggled, this,
            live([this, flag](bool on) { m_state.job.ResumeKeepState = flag(on); }));
    connect(chkResumeMonitor, &QCheckBox::toggled, this,
            live([this, flag](bool on) { m_state.job.ResumeMonitorOn = flag(on); }));

    connect(chkLaunchApp, &QCheckBox::toggled, this, [this, flag](bool on) {
        if (m_loading == 0)
            m_state.job.LaunchApp = flag(on);
        applyApplicationBoxState();
    });
    connect(txtExecAp, &QLineEdit::textChanged, this, live([this](const QString &t) { m_state.job.AppCommand = t; }));
    connect(cmdBrowse, &QToolButton::clicked, this, &MainWindow::browseApplication);

    connect(chkDsp, &QCheckBox::toggled, this, [this, flag](bool on) {
        if (m_loading == 0)
            m_state.job.Topmost = flag(on);
        applyTopmost(on);
    });
    connect(chkTaskTray, &QCheckBox::toggled, this, [this, flag](bool on) {
        if (m_loading == 0)
            m_state.job.TrayIcon = flag(on);
        if (!on)
            removeTrayIcon();
    });
    connect(chkMinimize, &QCheckBox::toggled, this, live([this, flag](bool on) { m_state.job.MinimizeAtStart = flag(on); }));
    connect(chkBeep, &QCheckBox::toggled, this, live([this, flag](bool on) { m_state.job.CountdownSound = flag(on); }));
    connect(chkNoDispAlert, &QCheckBox::toggled, this, live([this, flag](bool on) { m_state.job.NoAlert = flag(on); }));
    connect(chkCapture, &QCheckBox::toggled, this, live([this, flag](bool on) { m_state.job.CaptureOnExit = flag(on); }));
    connect(chkDspQuick, &QCheckBox::toggled, this, [this, flag](bool on) {
        if (m_loading == 0)
            m_state.job.ShowQuickButtons = flag(on);
        updateQuickFrame();
    });
    connect(ChkMulti, &QCheckBox::toggled, this, [this, flag](bool on) {
        if (m_loading == 0)
            m_state.job.MultiEnabled = flag(on);
        updateQuickFrame();
        frMulti->setVisible(on);
        if (m_loading == 0 && m_hooks.multiToggled)
            m_hooks.multiToggled(on);
    });
    connect(chkExtended, &QCheckBox::toggled, this, [this, flag](bool on) {
        if (m_loading == 0) {
            m_state.job.ExtendedMenu = flag(on);
            if (!on)
                saveSettings();  // unticking saves, silently
        }
        applyExtended();
    });
    connect(cmdSave, &QPushButton::clicked, this, &MainWindow::saveSettingsReported);
    connect(cmdDefault, &QPushButton::clicked, this, &MainWindow::askResetDefaults);

    connect(cmdStart, &QPushButton::clicked, this, &MainWindow::onStartClicked);
    connect(cmdStop, &QPushButton::clicked, this, &MainWindow::onStopClicked);
}

// ---------------------------------------------------------------- record <-> controls

void MainWindow::loadFrom(const AppState &state)
{
    if (&state != &m_state)
        m_state = state;
    readJobIntoWidgets(m_state.job);
}

void MainWindow::readJobIntoWidgets(const JobSettings &source)
{
    const JobSettings j = source;  // the handlers below must not see half-written values
    ++m_loading;
    if (cmbOp->count() != m_state.operations.size() || cmbOp->itemText(0) != m_state.operations.value(0)) {
        cmbOp->clear();
        cmbOp->addItems(m_state.operations);
    }
    const bool opChanged = cmbOp->currentIndex() != j.Operation || m_baseCaption.isEmpty();
    cmbOp->setCurrentIndex(j.Operation);
    m_rememberedOperation = cmbOp->currentIndex();
    Opt[j.TimingMode != 0 ? 1 : 0]->setChecked(true);
    cmbTime->setEditText(j.DelayMinutes);
    txtH->setText(j.ClockHour);
    txtM->setText(j.ClockMinute);
    chkForce->setChecked(j.Force != 0);
    chkMonitor->setChecked(j.MonitorEnabled != 0);
    if (j.MonitorKind >= 0 && j.MonitorKind <= 2)
        optMonitorKind[j.MonitorKind]->setChecked(true);
    OptMsg[j.PhraseEvent != 0 ? 1 : 0]->setChecked(true);
    txtPhrase->setToolTip(PhraseBoxTooltip(j.PhraseEvent != 0 ? 1 : 0));
    {
        QString shown = j.MonitorPhrase;
        shown.replace(kCrLf, QStringLiteral("\n"));
        if (txtPhrase->toPlainText() != shown)
            txtPhrase->setPlainText(shown);
    }
    chkIeMonitor->setChecked(j.IeMonitor != 0);
    cmbLowerLimit->setEditText(j.CpuLowerLimit);
    cmbAverageSecs->setEditText(j.CpuAverageSeconds);
    setComboText(cmbProcess, j.CpuProcess);
    cmbTimePower->setEditText(j.IdleSeconds);
    ChkMulti->setChecked(j.MultiEnabled != 0);
    chkResumeOnly->setChecked(j.ResumeOnly != 0);
    chkResumeAtClock->setChecked(j.ResumeAtClock != 0);
    cmbResumeMinutes->setEditText(j.ResumeAfterMinutes);
    for (int i = 0; i < 5; ++i)
        txtResume[i]->setText(j.ResumeDateParts[i]);
    chkResumeKeep->setChecked(j.ResumeKeepState != 0);
    chkResumeMonitor->setChecked(j.ResumeMonitorOn != 0);
    for (int w = 1; w <= 7; ++w)
        chkWeek[w]->setChecked(j.resumeWeekday(w) != 0);
    chkLaunchApp->setChecked(j.LaunchApp != 0);
    txtExecAp->setText(j.AppCommand);
    chkDsp->setChecked(j.Topmost != 0);
    chkTaskTray->setChecked(j.TrayIcon != 0);
    chkMinimize->setChecked(j.MinimizeAtStart != 0);
    chkBeep->setChecked(j.CountdownSound != 0);
    chkNoDispAlert->setChecked(j.NoAlert != 0);
    chkCapture->setChecked(j.CaptureOnExit != 0);
    chkDspQuick->setChecked(j.ShowQuickButtons != 0);
    chkExtended->setChecked(j.ExtendedMenu != 0);

    // The operation decides whether resume can be used at all.
    applyOperationEffects(false);
    if (opChanged)
        setCaptionForOperation();
    chkResume->setChecked(chkResume->isEnabled() && j.ResumeEnabled != 0);
    m_state.job.ResumeEnabled = chkResume->isChecked() ? 1 : 0;

    const bool clock = j.TimingMode != 0;
    clockBoxes->setVisible(clock);
    cmbTime->setVisible(!clock);
    frMulti->setVisible(j.MultiEnabled != 0);
    --m_loading;
    applyMonitorLayout();
    applyResumeLayout();
    applyApplicationBoxState();
    applyExtended();
    updateQuickFrame();
    applyTopmost(j.Topmost != 0);
}

void MainWindow::storeTo(AppState &state) const
{
    JobSettings &j = state.job;
    j.Operation = cmbOp->currentIndex();
    j.TimingMode = Opt[1]->isChecked() ? 1 : 0;
    j.DelayMinutes = cmbTime->currentText();
    j.ClockHour = txtH->text();
    j.ClockMinute = txtM->text();
    j.Force = chkForce->isChecked();
    j.MonitorEnabled = chkMonitor->isChecked();
    j.MonitorKind = std::max(0, monitorKindGroup->checkedId());
    j.PhraseEvent = OptMsg[1]->isChecked() ? 1 : 0;
    j.MonitorPhrase = m_state.job.MonitorPhrase;
    j.IeMonitor = chkIeMonitor->isChecked();
    j.CpuLowerLimit = cmbLowerLimit->currentText();
    j.CpuAverageSeconds = cmbAverageSecs->currentText();
    j.CpuProcess = cmbProcess->currentText();
    j.IdleSeconds = cmbTimePower->currentText();
    j.MultiEnabled = ChkMulti->isChecked();
    j.ResumeEnabled = chkResume->isChecked();
    j.ResumeOnly = chkResumeOnly->isChecked();
    j.ResumeAtClock = chkResumeAtClock->isChecked();
    j.ResumeAfterMinutes = cmbResumeMinutes->currentText();
    for (int i = 0; i < 5; ++i)
        j.ResumeDateParts[i] = txtResume[i]->text();
    j.ResumeKeepState = chkResumeKeep->isChecked();
    j.ResumeMonitorOn = chkResumeMonitor->isChecked();
    for (int w = 1; w <= 7; ++w)
        j.setResumeWeekday(w, chkWeek[w]->isChecked());
    j.LaunchApp = chkLaunchApp->isChecked();
    j.AppCommand = txtExecAp->text();
    j.Topmost = chkDsp->isChecked();
    j.TrayIcon = chkTaskTray->isChecked();
    j.MinimizeAtStart = chkMinimize->isChecked();
    j.CountdownSound = chkBeep->isChecked();
    j.NoAlert = chkNoDispAlert->isChecked();
    j.CaptureOnExit = chkCapture->isChecked();
    j.ShowQuickButtons = chkDspQuick->isChecked();
    j.ExtendedMenu = chkExtended->isChecked();
    if (&state != &m_state)
        state.LastProgramFolder = m_state.LastProgramFolder;
}

// ---------------------------------------------------------------- behaviours

void MainWindow::rememberOperation()
{
    m_rememberedOperation = cmbOp->currentIndex();
}

void MainWindow::onOperationChanged(int index)
{
    ++m_operationQuestion;  // an answer about an earlier choice no longer counts
    if (m_loading > 0 || index < 0)
        return;
    if (cmbOp->itemText(index) == kOpHibernate && m_hooks.queryHibernationAllowed) {
        // The system answers from the event loop; the window stays alive meanwhile.
        const quint64 question = m_operationQuestion;
        m_hooks.queryHibernationAllowed(this, [this, index, question](bool allowed) {
            if (question != m_operationQuestion)
                return;
            if (allowed)
                acceptOperation(index);
            else
                refuseHibernation(index);
        });
        return;
    }
    acceptOperation(index);
}

void MainWindow::refuseHibernation(int index)
{
    chkResume->setEnabled(false);
    chkResume->setChecked(false);
    const UserMessage refused = HibernationDisabledMessage();
    showBox(refused.title, refused.text, QMessageBox::Ok, QMessageBox::Ok, nullptr);
    const int back = (m_rememberedOperation >= 0 && m_rememberedOperation < cmbOp->count() &&
                      m_rememberedOperation != index)
                         ? m_rememberedOperation
                         : 0;
    cmbOp->setCurrentIndex(back);  // runs the change handler again for the restored operation
}

void MainWindow::acceptOperation(int index)
{
    m_state.job.Operation = index;
    applyOperationEffects(true);
    setCaptionForOperation();
    m_rememberedOperation = index;
}

void MainWindow::applyOperationEffects(bool clearResume)
{
    const QString op = cmbOp->currentText();
    if (clearResume) {
        chkResume->setChecked(false);
        m_state.job.ResumeEnabled = 0;
    }
    chkResume->setEnabled(ResumeAllowedFor(op) || chkResumeOnly->isChecked());
    if (!chkResume->isEnabled())
        chkResume->setChecked(false);

    const OperationTooltips t = TooltipsFor(op);
    Opt[0]->setToolTip(t.minutesOption);
    Opt[1]->setToolTip(t.clockOption);
    cmdStart->setToolTip(t.startButton);
    cmdStop->setToolTip(t.stopButton);
    cmbTime->setToolTip(t.minutesBox);
    chkMonitor->setToolTip(t.monitorBox);
    lblPhrase->setToolTip(t.phraseLabel);
    chkResumeOnly->setToolTip(t.resumeOnlyBox);
}

void MainWindow::setCaptionForOperation()
{
    m_baseCaption = CaptionFor(cmbOp->currentText());
    setWindowTitle(m_baseCaption);
    if (m_engine)
        m_engine->setBaseCaption(m_baseCaption);
}

void MainWindow::setTimingMode(int index)
{
    ++m_loading;
    SetTimingMode(m_state.job, index, m_clock.now());
    Opt[m_state.job.TimingMode]->setChecked(true);
    txtH->setText(m_state.job.ClockHour);
    txtM->setText(m_state.job.ClockMinute);
    const bool clock = m_state.job.TimingMode == 1;
    clockBoxes->setVisible(clock);
    cmbTime->setVisible(!clock);
    lblMsg->setVisible(false);
    --m_loading;
}

void MainWindow::onTimingOptionClicked(int index)
{
    if (m_engine)
        m_engine->stopRun();
    else if (runLocked())
        Q_EMIT stopRequested();
    setTimingMode(index);
}

void MainWindow::spin(QLineEdit *box, int direction, int high, int low)
{
    box->setText(SpinValue(box->text(), direction, high, low));
}

void MainWindow::spinResume(int box, int direction)
{
    std::array<QString, 5> parts;
    for (int i = 0; i < 5; ++i)
        parts[i] = txtResume[i]->text();
    if (!SpinResumeDate(parts, box, direction, m_clock.now()))
        return;
    for (int i = 0; i < 5; ++i)
        if (txtResume[i]->text() != parts[i])
            txtResume[i]->setText(parts[i]);
}

void MainWindow::quickAction(int operationIndex)
{
    saveSettings();
    ApplyQuickAction(m_state, operationIndex);
    readJobIntoWidgets(m_state.job);
    setTimingMode(0);
    setCaptionForOperation();
    if (m_engine)
        m_engine->startRun();
    else
        Q_EMIT startRequested();
}

void MainWindow::saveSettingsReported()
{
    const bool ok = saveSettings();
    if (ok)
        showBox(QStringLiteral("Zenkoro"), QStringLiteral("保存完了"), QMessageBox::Ok, QMessageBox::Ok, nullptr);
    else
        showBox(QStringLiteral("書込みエラー"),
                QStringLiteral("設定値の保存に失敗しました！") + kCrLf +
                    QStringLiteral("媒体が書込み不可、または、ファイル（Conf.txt）が読取専用になっていないか、確認してください。"),
                QMessageBox::Ok, QMessageBox::Ok, nullptr);
}

void MainWindow::askResetDefaults()
{
    showBox(QStringLiteral("既定値"), QStringLiteral("既定値に戻します。よろしいですか？"),
            QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, [this](int button) {
                if (button != QMessageBox::Ok || !m_hooks.resetDefaults)
                    return;
                m_hooks.resetDefaults();
                readJobIntoWidgets(m_state.job);
                placeAsStored();  // the defaults centre the window
            });
}

bool MainWindow::saveSettings()
{
    recordPlacement();
    return m_hooks.saveSettings ? m_hooks.saveSettings() : false;
}

void MainWindow::recordPlacement()
{
    if (isVisible() && !isMinimized()) {
        // Window position in twips, as the settings file keeps it.
        m_state.WindowLeft = x() * kTwipsPerPixel;
        m_state.WindowTop = y() * kTwipsPerPixel;
    }
}

void MainWindow::placeAsStored()
{
    QScreen *shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect area = shown ? shown->availableGeometry() : QRect(0, 0, 1024, 768);
    QPoint pos(m_state.WindowLeft / kTwipsPerPixel, m_state.WindowTop / kTwipsPerPixel);
    const QRect wanted(pos, size());
    // Centred when none is stored or the stored place lies off every screen.
    if (m_state.WindowLeft < 0 || m_state.WindowTop < 0 || !QGuiApplication::screenAt(wanted.center()))
        pos = area.center() - QPoint(width() / 2, height() / 2);
    move(pos);
}

void MainWindow::updateQuickFrame()
{
    FrImmediate->setVisible(QuickButtonsVisible(m_state.job));
}

void MainWindow::onResumeClicked()
{
    if (!chkResume->isEnabled())
        chkResume->setChecked(false);
    applyResumeLayout();
}

void MainWindow::onResumeOnlyClicked()
{
    if (chkResumeOnly->isChecked()) {
        chkResume->setEnabled(true);
        chkResume->setChecked(true);
    } else {
        applyOperationEffects(false);
    }
    applyResumeLayout();
}

void MainWindow::applyResumeLayout()
{
    const bool resume = chkResume->isChecked();
    cmdSetDefaultResume->setVisible(resume);
    cmdClear->setVisible(resume);
    frOp->setVisible(!chkResumeOnly->isChecked());
    resumePages->setCurrentIndex(chkResumeAtClock->isChecked() ? 0 : 1);
}

void MainWindow::applyApplicationBoxState()
{
    const bool on = chkLaunchApp->isChecked();
    txtExecAp->setEnabled(on);
    cmdBrowse->setEnabled(on);
    txtExecAp->setStyleSheet(on ? QStringLiteral("QLineEdit { background: #FFFFFF; }")
                                : QStringLiteral("QLineEdit { background: #E0E0E0; }"));
}

void MainWindow::applyMonitorLayout()
{
    const int kind = std::max(0, monitorKindGroup->checkedId());
    monitorPages->setCurrentIndex(kind);
    const bool on = chkMonitor->isChecked();
    for (QRadioButton *b : optMonitorKind)
        b->setEnabled(on);
    monitorPages->setEnabled(on);
    // Without a battery the battery kind has nothing to watch.
    if (m_noBattery)
        optMonitorKind[2]->setEnabled(false);
}

void MainWindow::applyExtended()
{
    if (extendedArea->isVisibleTo(this) == chkExtended->isChecked())
        return;
    extendedArea->setVisible(chkExtended->isChecked());
    if (!isVisible())
        return;
    // Shrink back when the extended settings are hidden.
    QTimer::singleShot(0, this, [this] { adjustSize(); });
}

void MainWindow::browseApplication()
{
    QString start = m_state.LastProgramFolder;
    const QString current = StripBrackets(CommandPart(txtExecAp->text()), QStringLiteral("\""), QStringLiteral("\""));
    if (!current.isEmpty()) {
        const QFileInfo fi(current);
        if (fi.absoluteDir().exists())
            start = fi.absolutePath();
    }
    auto *dlg = new QFileDialog(this, QStringLiteral("起動ファイルの選択"), start,
                                QStringLiteral("すべてのファイル(*.*) (*)"));
    dlg->setObjectName(QStringLiteral("dlgBrowseApplication"));
    dlg->setFileMode(QFileDialog::ExistingFile);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QFileDialog::fileSelected, this, [this](const QString &file) {
        if (file.isEmpty())
            return;
        m_state.LastProgramFolder = QFileInfo(file).absolutePath();
        QString path = m_hooks.makeRelativePath ? m_hooks.makeRelativePath(file) : file;
        // A path with blanks is quoted so that its program part stays whole.
        path = QuoteIfSpaced(path);
        txtExecAp->setText(path);
    });
    dlg->open();
}

void MainWindow::onStartClicked()
{
    // An empty minutes box reads as 0 minutes, which would act within
    // seconds: the start waits until the box holds a number.
    if (m_state.job.TimingMode == 0 && !m_state.job.MultiEnabled && cmbTime->currentText().trimmed().isEmpty()) {
        leaveMinutesBox();
        return;
    }
    m_state.cl.AutoStart = false;
    if (m_engine)
        m_engine->startRun();
    else
        Q_EMIT startRequested();
    saveSettings();
}

void MainWindow::onStopClicked()
{
    if (m_engine)
        m_engine->stopRun();
    else
        Q_EMIT stopRequested();
}

bool MainWindow::runLocked() const
{
    return !cmdStart->isEnabled();
}

void MainWindow::leaveClockBox(QLineEdit *box, int max)
{
    const QString fixed = CorrectClockBox(box->text(), max);
    if (fixed != box->text())
        box->setText(fixed);
}

void MainWindow::leaveMinutesBox()
{
    if (cmbTime->isHidden() || !cmbTime->currentText().trimmed().isEmpty() || m_pendingEmptyMinutes)
        return;
    m_pendingEmptyMinutes = true;
    showBox(QStringLiteral("未入力"), QStringLiteral("0 以上の整数を入力して下さい。"), QMessageBox::Ok,
            QMessageBox::Ok, [this](int) {
                m_pendingEmptyMinutes = false;
                focusField(QStringLiteral("cmbTime"));
            });
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *ke = static_cast<QKeyEvent *>(event);
        if (watched == txtH || watched == txtM || watched == cmbTime || watched == cmbTime->lineEdit() ||
            watched == cmbResumeMinutes || watched == cmbResumeMinutes->lineEdit() || watched == cmbTimePower ||
            watched == cmbTimePower->lineEdit() ||
            std::find(txtResume.begin(), txtResume.end(), watched) != txtResume.end()) {
            if (!(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && !AcceptsDigitKey(ke->text()))
                return true;  // discarded
        }
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == txtPhrase->viewport()) {
        if (m_hooks.openInputForm && txtPhrase->isEnabled()) {
            m_hooks.openInputForm(txtPhrase);
            return true;
        }
    } else if (event->type() == QEvent::FocusIn) {
        if (watched == cmbOp)
            rememberOperation();
    } else if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (watched == txtH)
            leaveClockBox(txtH, 23);
        else if (watched == txtM)
            leaveClockBox(txtM, 59);
        else if ((watched == cmbTime || watched == cmbTime->lineEdit()) && reason != Qt::PopupFocusReason &&
                 reason != Qt::ActiveWindowFocusReason)
            leaveMinutesBox();
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- message boxes

void MainWindow::showBox(const QString &title, const QString &text, int buttons, int defaultButton,
                         std::function<void(int button)> done)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::StandardButtons(buttons), this);
    box->setObjectName(QStringLiteral("msgBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setDefaultButton(QMessageBox::StandardButton(defaultButton));
    box->setEscapeButton(QMessageBox::StandardButton(defaultButton));
    box->setAccessibleName(title);
    const auto buttonsList = box->buttons();
    for (QAbstractButton *b : buttonsList) {
        if (b->text() == QStringLiteral("&OK") || box->standardButton(b) == QMessageBox::Ok)
            b->setText(QStringLiteral("OK"));
        else if (box->standardButton(b) == QMessageBox::Cancel)
            b->setText(QStringLiteral("キャンセル"));
        b->setAccessibleName(b->text());
    }
    m_messageBox = box;
    connect(box, &QMessageBox::finished, this, [box, done](int) {
        const int button = box->standardButton(box->clickedButton());
        if (done)
            done(button == QMessageBox::NoButton ? int(QMessageBox::Cancel) : button);
    });
    box->open();
}

void MainWindow::focusField(const QString &objectName)
{
    if (objectName.isEmpty())
        return;
    QWidget *w = nullptr;
    w = findChild<QWidget *>(objectName);
    if (!w)
        return;
    // The field may sit in a hidden part of the window: show that part first.
    if (!chkExtended->isChecked() && extendedArea->isAncestorOf(w))
        chkExtended->setChecked(true);
    if (w == txtPhrase)
        monitorPages->setCurrentIndex(0);
    if (auto *c = qobject_cast<QComboBox *>(w)) {
        c->setFocus(Qt::OtherFocusReason);
        if (c->lineEdit())
            c->lineEdit()->selectAll();
    } else if (auto *e = qobject_cast<QLineEdit *>(w)) {
        if (!e->isEnabled())
            return;
        e->setFocus(Qt::OtherFocusReason);
        e->selectAll();
    } else if (auto *p = qobject_cast<QPlainTextEdit *>(w)) {
        p->setFocus(Qt::OtherFocusReason);
        p->selectAll();
    } else {
        w->setFocus(Qt::OtherFocusReason);
    }
}

// ---------------------------------------------------------------- RunView

void MainWindow::setRemainingText(const QString &text)
{
    lblTime->setText(text);
}

void MainWindow::setRemainingColor(const RunColor &color)
{
    QFont f = lblTime->font();
    lblTime->setStyleSheet(QStringLiteral("QLabel { color: %1; font-weight: bold; }").arg(rgbHex(color)));
    lblTime->setFont(f);
    QPalette p = lblTime->palette();
    p.setColor(QPalette::WindowText, QColor(color.r, color.g, color.b));
    lblTime->setPalette(p);
}

void MainWindow::setRemainingFontSize(int points)
{
    QFont f = lblTime->font();
    f.setPointSize(points);
    lblTime->setFont(f);
}

void MainWindow::setCaption(const QString &caption)
{
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void MainWindow::setPhraseLabelVisible(bool visible)
{
    lblMsg->setVisible(visible);
}

void MainWindow::setResumeLabel(const QString &text)
{
    lblResumeAt->setText(text);
}

void MainWindow::setClockText(const QString &text)
{
    lblNow->setText(text);
}

void MainWindow::setLineStatusText(const QString &text)
{
    if (lblStatus->text() != text)
        lblStatus->setText(text);
}

void MainWindow::setNoBattery(bool noBattery)
{
    m_noBattery = noBattery;
    applyMonitorLayout();
}

void MainWindow::setRunLocked(bool locked)
{
    ChkMulti->setEnabled(!locked);
    FrImmediate->setEnabled(!locked);
    cmdStart->setEnabled(!locked);
    for (QWidget *w : {static_cast<QWidget *>(frOp), static_cast<QWidget *>(frMonitor),
                       static_cast<QWidget *>(frResume1), static_cast<QWidget *>(frResume2),
                       static_cast<QWidget *>(frDisp)})
        w->setEnabled(!locked);
    cmdStop->setEnabled(locked);
}

void MainWindow::enableMultiAndQuick()
{
    ChkMulti->setEnabled(true);
    FrImmediate->setEnabled(true);
}

void MainWindow::settingsChanged()
{
    readJobIntoWidgets(m_state.job);
}

void MainWindow::showWindowNormal()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

bool MainWindow::topmost() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void MainWindow::applyTopmost(bool on)
{
    if (topmost() == on)
        return;
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (wasVisible)
        show();  // changing the flags hides a window
}

void MainWindow::hideWindow()
{
    hide();
}

void MainWindow::minimizeWindow()
{
    // In the tray the window stays hidden; a minimised window would come back.
    if (m_inTray)
        return;
    showMinimized();
}

void MainWindow::showInTray(const QString &tooltip)
{
    m_trayToolTip = CutTrayTooltip(tooltip);
    m_tray->setToolTip(m_trayToolTip);
    m_tray->show();
    m_inTray = true;
    // Without a notification area the icon cannot bring the window back:
    // the window goes to the task bar instead of disappearing.
    if (QSystemTrayIcon::isSystemTrayAvailable())
        hide();
    else
        showMinimized();
    if (m_trayNotice)
        m_trayNotice->close();
    m_trayNotice = new TrayNoticeWindow(TrayNoticeText(m_trayToolTip), this);
    m_trayNotice->show();
}

void MainWindow::removeTrayIcon()
{
    m_tray->hide();
    m_inTray = false;
}

QString MainWindow::trayToolTip() const
{
    return m_inTray ? m_trayToolTip : QString();
}

void MainWindow::trayShowAction()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    removeTrayIcon();
}

void MainWindow::showMessage(const QString &title, const QString &text, const QString &field)
{
    showBox(title, text, QMessageBox::Ok, QMessageBox::Ok, [this, field](int) { focusField(field); });
}

void MainWindow::askOkCancel(const QString &title, const QString &text, std::function<void(bool ok)> answer)
{
    showBox(title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel,
            [answer](int button) {
                if (answer)
                    answer(button == QMessageBox::Ok);
            });
}

void MainWindow::showMessagePopup(const PopupRequest &popup, std::function<void()> closed)
{
    if (popup.text.isEmpty()) {
        m_splash->done(QDialog::Rejected);
        if (closed)
            closed();
        return;
    }
    m_splash->present(popup, std::move(closed));
}

void MainWindow::quit(int exitCode)
{
    m_forceUnload = true;
    finishUnload(exitCode);
    hide();
}

void MainWindow::finishUnload(int exitCode)
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    removeTrayIcon();
    if (m_splash)
        m_splash->done(QDialog::Rejected);
    recordPlacement();
    Q_EMIT unloading();
    if (m_hooks.quit)
        m_hooks.quit(exitCode);
    else
        QCoreApplication::exit(exitCode);
}

void MainWindow::unload()
{
    m_forceUnload = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_forceUnload) {
        if (m_engine) {
            if (!m_engine->closeRequested()) {
                event->ignore();
                return;
            }
        }
    } else if (m_engine && m_engine->runActive()) {
        m_engine->stopRun();
    }
    if (!m_engine && runLocked())
        Q_EMIT stopRequested();
    event->accept();
    finishUnload(0);
}

void MainWindow::changeEvent(QEvent *event)
{
    // Minimising with the tray option puts the window into the tray.
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized) &&
        chkTaskTray->isChecked() && !m_inTray && m_engine) {
        QTimer::singleShot(0, this, [this] {
            if (windowState() & Qt::WindowMinimized)
                showInTray(m_engine ? m_engine->trayTooltip() : QString());
        });
    }
    QMainWindow::changeEvent(event);
}

PressRepeater *MainWindow::repeaterOf(QAbstractButton *button) const
{
    return button ? button->findChild<PressRepeater *>() : nullptr;
}

}  // namespace zk
