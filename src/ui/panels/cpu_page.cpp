#include "ui/panels/cpu_page.h"

#include "monitors/cpu_sampler.h"
#include "ui/panels/number_boxes.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

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

QLabel *label(const QString &text, QWidget *parent, const QString &name)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

}  // namespace

CpuPage::CpuPage(PanelHost &host, QWidget *parent) : MonitorPage(host, parent)
{
    setObjectName(QStringLiteral("frCpu"));
    auto *cg = new QGridLayout(this);
    cg->setContentsMargins(0, 0, 0, 0);
    cmbLowerLimit = new QComboBox(this);
    cmbLowerLimit->setObjectName(QStringLiteral("cmb下限"));
    cmbLowerLimit->setEditable(true);
    cmbLowerLimit->setInsertPolicy(QComboBox::NoInsert);
    cmbLowerLimit->addItems({QStringLiteral(" 0.1"), QStringLiteral(" 0.2"), QStringLiteral(" 0.5"),
                             QStringLiteral(" 1.0"), QStringLiteral(" 2.0"), QStringLiteral(" 5.0"),
                             QStringLiteral("10.0"), QStringLiteral("20.0")});
    cmbLowerLimit->setToolTip(tr("平均値の下限：下記の時間、平均値が本値未満だと終了と見なす"));
    cmbAverageSecs = new QComboBox(this);
    cmbAverageSecs->setObjectName(QStringLiteral("cmb継続時間"));
    cmbAverageSecs->setEditable(true);
    cmbAverageSecs->setInsertPolicy(QComboBox::NoInsert);
    cmbAverageSecs->addItems({QStringLiteral(" 10"), QStringLiteral(" 20"), QStringLiteral(" 30"),
                              QStringLiteral(" 40"), QStringLiteral(" 60"), QStringLiteral(" 90"),
                              QStringLiteral("120"), QStringLiteral("180"), QStringLiteral("240"),
                              QStringLiteral("300"), QStringLiteral("600"), QStringLiteral("1200")});
    cmbAverageSecs->setToolTip(tr("CPU使用率平均を計算する時間（秒）"));
    cmbProcess = new ProcessCombo(this, [this] { Q_EMIT processListRequested(); });
    cmbProcess->setObjectName(QStringLiteral("cmbProcess"));
    cmbProcess->setToolTip(tr("監視するプロセスを選択、未選択時はCPU全体"));
    cmbProcess->addItem(QString());
    cmbProcess->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbProcess->setMinimumContentsLength(12);
    lblCpuUsage = label(QString(), this, QStringLiteral("lblCPU使用率"));
    lblAverage = label(QString(), this, QStringLiteral("lbl平均"));
    lblAverage->setToolTip(tr("右時間のCPU使用率平均（％）"));
    auto *lLimit = label(tr("下限"), this, QStringLiteral("lbl下限"));
    auto *lPct = label(QStringLiteral("%"), this, QStringLiteral("lblPercent"));
    auto *lSpan = label(tr("平均時間"), this, QStringLiteral("lbl平均時間"));
    auto *lSec = label(tr("秒"), this, QStringLiteral("lbl秒"));
    auto *lProc = label(tr("監視プロセス"), this, QStringLiteral("lbl監視プロセス"));
    auto *lUse = label(tr("CPU使用率"), this, QStringLiteral("lblCPU使用率見出し"));
    auto *lAvg = label(tr("平均"), this, QStringLiteral("lbl平均見出し"));
    // One sample is taken over this many seconds.
    auto *lCycle = label(tr("周期"), this, QStringLiteral("lbl周期"));
    auto *cycle = label(QString::number(kCpuSampleWindowSeconds) + tr("秒"), this,
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
    lblCpuUsage->setAccessibleName(tr("CPU使用率"));
    lblAverage->setAccessibleName(tr("平均"));
    cmbLowerLimit->lineEdit()->setAccessibleName(tr("下限"));
    cmbAverageSecs->lineEdit()->setAccessibleName(tr("平均時間"));

    const auto loading = [this] { return m_host.loading(); };
    cmbAverageSecs->installEventFilter(this);
    cmbAverageSecs->lineEdit()->installEventFilter(this);
    for (QComboBox *c : {cmbLowerLimit, cmbAverageSecs})
        c->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);

    using B = JobBindings;
    m_bindings.editText(cmbLowerLimit, B::field(&JobSettings::CpuLowerLimit));
    m_bindings.editText(cmbAverageSecs, B::field(&JobSettings::CpuAverageSeconds));
    m_bindings.pickedText(cmbProcess, B::field(&JobSettings::CpuProcess));
    connectLive(this);

    for (QComboBox *c : {cmbAverageSecs, cmbLowerLimit}) {
        c->setValidator(new DigitsValidator(true, loading, c, c == cmbLowerLimit));
        // A typed number stays as typed, never completed to a list entry.
        c->setCompleter(nullptr);
    }
}

bool CpuPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && (watched == cmbAverageSecs || watched == cmbAverageSecs->lineEdit())) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            leaveAverageSecondsBox();
    }
    return MonitorPage::eventFilter(watched, event);
}

void CpuPage::leaveAverageSecondsBox()
{
    if (!CpuAverageSecondsTooShort(cmbAverageSecs->currentText()))
        return;
    // The focus has already moved on: it is taken back once the move is
    // done, unless the box can no longer have it (hidden, or locked by a run).
    QTimer::singleShot(0, this, [this] {
        if (cmbAverageSecs->isVisible() && cmbAverageSecs->isEnabled() &&
            CpuAverageSecondsTooShort(cmbAverageSecs->currentText()))
            cmbAverageSecs->setFocus(Qt::OtherFocusReason);
    });
}

void CpuPage::setProcessList(const QStringList &processes)
{
    // The choice stays as it is, even when its process is not in the list.
    const QString current = cmbProcess->currentText();
    ++m_quiet;
    cmbProcess->clear();
    cmbProcess->addItem(QString());  // none: the whole machine
    cmbProcess->addItems(processes);
    if (cmbProcess->findText(current) < 0)
        cmbProcess->addItem(current);
    cmbProcess->setCurrentIndex(cmbProcess->findText(current));
    --m_quiet;
}

void CpuPage::setCpuTexts(const QString &sample, const QString &average, const RunColor &averageColor)
{
    lblCpuUsage->setText(sample);
    lblAverage->setText(average);
    QPalette p = lblAverage->palette();
    p.setColor(QPalette::WindowText, QColor(averageColor.r, averageColor.g, averageColor.b));
    lblAverage->setPalette(p);
}

}  // namespace zk
