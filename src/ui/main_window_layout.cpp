// The main window's controls: every frame, box and button with its caption,
// tool tip and objectName, and the accessible names.
#include "ui/main_window.h"
#include "ui/clickable_label.h"

#include "core/job_edit.h"
#include "ui/multi_frame.h"
#include "ui/ticker_label.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace zk {

namespace {

// The window's contents at the size they want; they scroll only where even
// their smallest size does not fit the screen.
class ContentsScroll : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override { return widget() ? widget()->sizeHint() : QScrollArea::sizeHint(); }
};

// The contents' layout. It claims no height-for-width (the wrapped help label
// has one): the scroll area would otherwise keep them at their full height.
class ContentsLayout : public QVBoxLayout {
public:
    using QVBoxLayout::QVBoxLayout;
    bool hasHeightForWidth() const override { return false; }
};

QStringList minutesList()
{
    return {QStringLiteral("   0"), QStringLiteral("   1"), QStringLiteral("   3"), QStringLiteral("   5"),
            QStringLiteral("  10"), QStringLiteral("  15"), QStringLiteral("  20"), QStringLiteral("  30"),
            QStringLiteral("  45"), QStringLiteral("  60"), QStringLiteral("  90"), QStringLiteral(" 120"),
            QStringLiteral(" 180"), QStringLiteral(" 240"), QStringLiteral(" 300"), QStringLiteral(" 360"),
            QStringLiteral(" 480"), QStringLiteral(" 600"), QStringLiteral(" 720"), QStringLiteral("1440")};
}
}  // namespace

void MainWindow::buildUi()
{
    auto *scroll = new ContentsScroll(this);
    scroll->setObjectName(QStringLiteral("contentsScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    setCentralWidget(scroll);
    auto *central = new QWidget(scroll);
    central->setObjectName(QStringLiteral("centralWidget"));
    scroll->setWidget(central);
    auto *top = new ContentsLayout(central);
    top->setContentsMargins(6, 6, 6, 6);
    top->setSpacing(4);

    frOp = buildOperationFrame();
    top->addWidget(frOp);
    frMulti = new MultiScheduleFrame(m_state, [this](const QString &path) { return m_services.makeRelativePath(path); },
                                     central);
    frMulti->setVisible(false);
    top->addWidget(frMulti);

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
    cmbOp->addItems(OperationListTexts());
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

    // The remaining time and the clock change every second.
    lblTime = new TickerLabel(host);
    lblTime->setObjectName(QStringLiteral("lblTime"));
    lblTime->setAlignment(Qt::AlignCenter);
    QFont bold = lblTime->font();
    bold.setBold(true);
    lblTime->setFont(bold);
    lblTime->setAccessibleName(QStringLiteral("残り時間"));
    lblTime->setMinimumHeight(64);
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
    lblNow = new TickerLabel(host);
    lblNow->setObjectName(QStringLiteral("lbl現在時刻"));
    lblNow->setAccessibleName(QStringLiteral("現在時刻"));
    lblNow->setToolTip(QStringLiteral("現在時刻"));
    lblResumeAt = new QLabel(host);
    lblResumeAt->setObjectName(QStringLiteral("lbl復帰時分"));
    lblResumeAt->setAccessibleName(QStringLiteral("復帰予定"));
    cmdStart = new QPushButton(StartButtonCaption(false), host);
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
    for (const QuickButtonSpec &spec : QuickButtons()) {
        auto *b = new QPushButton(spec.caption, g);
        b->setObjectName(QStringLiteral("cmdQuick_") + QString::number(spec.index));
        if (!spec.toolTip.isEmpty())
            b->setToolTip(spec.toolTip);
        cmdQuick[spec.index] = b;
        lay->addWidget(b);
        const int index = spec.index;
        connect(b, &QPushButton::clicked, this, [this, index] { quickAction(index); });
    }
    lay->addStretch();
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
    cmdClear = new QPushButton(QStringLiteral("クリア"), g);
    cmdClear->setObjectName(QStringLiteral("cmdClear"));
    cmdClear->setToolTip(QStringLiteral("復帰時刻と起動アプリを消去します"));
    row2->addWidget(cmdClear);
    cmdSetDefaultResume = new QPushButton(QStringLiteral("リスト値セット"), g);
    cmdSetDefaultResume->setObjectName(QStringLiteral("cmdSetDefaultResume"));
    cmdSetDefaultResume->setToolTip(QStringLiteral("復帰リストから曜日毎の復帰時刻と起動アプリをセットします。"));
    row2->addWidget(cmdSetDefaultResume);
    cmdWeekList = new QPushButton(QStringLiteral("復帰リスト"), g);
    cmdWeekList->setObjectName(QStringLiteral("cmd個別曜日設定"));
    cmdWeekList->setToolTip(QStringLiteral("曜日毎の復帰時刻と起動アプリを指定します。"));
    row2->addWidget(cmdWeekList);
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
    auto *help = new ClickableLabel(QStringLiteral("復帰時に右のプログラムを実行（ここをクリックするとパラメータの説明を表示）"), g);
    help->clicked = [this] { Q_EMIT applicationHelpRequested(); };
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
    cmdDropButton = new QToolButton(g);
    cmdDropButton->setObjectName(QStringLiteral("cmdDropButton"));
    cmdDropButton->setArrowType(Qt::DownArrow);
    cmdDropButton->setToolTip(QStringLiteral("右クリックでポップアップメニュー"));
    cmdDropButton->setAccessibleName(QStringLiteral("履歴"));
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
    cmdCapFolder = new QPushButton(QStringLiteral("保存先"), g);
    cmdCapFolder->setObjectName(QStringLiteral("cmdCapFolder"));
    cmdCapFolder->setToolTip(QStringLiteral("キャプチャーファイルの保存先フォルダを指定します"));
    connect(cmdCapFolder, &QPushButton::clicked, this, &MainWindow::chooseCaptureFolder);
    lay->addWidget(cmdCapFolder, 2, 2);
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
    lay->addLayout(buttons, 4, 0, 1, 3);

    // The command line of the current settings, and a desktop launcher with it.
    cmdMakeCommandLine = new QPushButton(QStringLiteral("コマンドライン生成"), g);
    cmdMakeCommandLine->setObjectName(QStringLiteral("cmdMakeCommandLine"));
    cmdMakeCommandLine->setToolTip(QStringLiteral("現在の設定を実行するコマンドラインを表示します"));
    connect(cmdMakeCommandLine, &QPushButton::clicked, this, &MainWindow::commandLineRequested);
    cmdCreateShortcut = new QPushButton(QStringLiteral("ショートカット生成"), g);
    cmdCreateShortcut->setObjectName(QStringLiteral("cmdCreateShortcut"));
    cmdCreateShortcut->setToolTip(QStringLiteral("現在の設定を実行するショートカットをデスクトップに作成します"));
    connect(cmdCreateShortcut, &QPushButton::clicked, this, &MainWindow::shortcutRequested);
    auto *help = new ClickableLabel(QStringLiteral("（説明）"), g);
    help->clicked = [this] { Q_EMIT commandLineHelpRequested(); };
    lblCommandline = help;
    lblCommandline->setObjectName(QStringLiteral("lblCommandline"));
    lblCommandline->setCursor(Qt::PointingHandCursor);
    lblCommandline->setToolTip(QStringLiteral("コマンドラインの説明を表示します"));
    lblCommandline->setAccessibleName(QStringLiteral("コマンドラインの説明"));
    auto *commandLine = new QHBoxLayout;
    commandLine->addWidget(cmdMakeCommandLine);
    commandLine->addWidget(cmdCreateShortcut);
    commandLine->addWidget(lblCommandline);
    commandLine->addStretch();
    lay->addLayout(commandLine, 5, 0, 1, 3);
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

}  // namespace zk
