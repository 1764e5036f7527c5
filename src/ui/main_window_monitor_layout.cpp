// The main window's monitor frame: the watched condition's kind and the
// controls of the phrase, the CPU usage and the power state.
#include "ui/main_window.h"
#include "ui/clickable_label.h"
#include "core/job_edit.h"
#include "monitors/cpu_sampler.h"
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
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace zk {

namespace {

// A drop-down list that asks for fresh entries each time it opens.
class ProcessCombo : public QComboBox {
public:
    ProcessCombo(QWidget *parent, std::function<void()> opening) : QComboBox(parent), m_opening(std::move(opening)) {}

protected:
    void showPopup() override
    {
        m_opening();
        QComboBox::showPopup();
    }
    void keyPressEvent(QKeyEvent *e) override { e->ignore(); }  // typed keys are discarded

private:
    std::function<void()> m_opening;
};

}  // namespace

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
    cmbProcess = new ProcessCombo(cpu, [this] { Q_EMIT processListRequested(); });
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
    // One sample is taken over this many seconds.
    auto *lCycle = label(QStringLiteral("周期"), cpu, QStringLiteral("lbl周期"));
    auto *cycle = label(QString::number(kCpuSampleWindowSeconds) + QStringLiteral("秒"), cpu,
                        QStringLiteral("lbl周期秒"));
    lCycle->setBuddy(cycle);
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
    cg->addWidget(lCycle, 3, 0);
    cg->addWidget(cycle, 3, 1);
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
    pg->addWidget(lBat, 0, 0);
    pg->addWidget(cmbTimePower, 0, 1);
    pg->addWidget(lIdle, 0, 2);
    pg->addWidget(lblStatus, 1, 0, 1, 2);
    cmdDspPowerState = new QPushButton(QStringLiteral("電源状態"), power);
    cmdDspPowerState->setObjectName(QStringLiteral("cmdDspPowerState"));
    connect(cmdDspPowerState, &QPushButton::clicked, this, &MainWindow::powerStateRequested);
    pg->addWidget(cmdDspPowerState, 1, 2, Qt::AlignLeft);
    monitorPages->addWidget(power);

    for (QComboBox *c : {cmbTimePower, cmbLowerLimit, cmbAverageSecs}) {
        c->installEventFilter(this);
        c->lineEdit()->installEventFilter(this);
        c->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    lay->addWidget(monitorPages);
    return g;
}

}  // namespace zk
