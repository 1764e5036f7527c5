#include "ui/panels/operation_panel.h"

#include "core/clock.h"
#include "ui/main_window_services.h"
#include "ui/panels/number_boxes.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QToolButton>

namespace zk {

namespace {

QStringList minutesList()
{
    return {QStringLiteral("   0"), QStringLiteral("   1"), QStringLiteral("   3"), QStringLiteral("   5"),
            QStringLiteral("  10"), QStringLiteral("  15"), QStringLiteral("  20"), QStringLiteral("  30"),
            QStringLiteral("  45"), QStringLiteral("  60"), QStringLiteral("  90"), QStringLiteral(" 120"),
            QStringLiteral(" 180"), QStringLiteral(" 240"), QStringLiteral(" 300"), QStringLiteral(" 360"),
            QStringLiteral(" 480"), QStringLiteral(" 600"), QStringLiteral(" 720"), QStringLiteral("1440")};
}

}  // namespace

OperationPanel::OperationPanel(PanelHost &host, QWidget *parent)
    : QGroupBox(tr("処理"), parent), JobPanel(host)
{
    setObjectName(QStringLiteral("frOp"));
    auto *lay = new QGridLayout(this);
    lay->setContentsMargins(6, 4, 6, 4);
    lay->setHorizontalSpacing(6);

    cmbOp = new QComboBox(this);
    cmbOp->setObjectName(QStringLiteral("cmbOp"));
    for (const OperationKind k : kOperationKinds)
        cmbOp->addItem(OperationDisplayName(k));
    cmbOp->setAccessibleName(tr("処理"));
    lay->addWidget(cmbOp, 0, 0);

    optGroup = new QButtonGroup(this);
    Opt[0] = new QRadioButton(tr("分後"), this);
    Opt[0]->setObjectName(QStringLiteral("Opt_0"));
    Opt[1] = new QRadioButton(tr("時刻"), this);
    Opt[1]->setObjectName(QStringLiteral("Opt_1"));
    optGroup->addButton(Opt[0], 0);
    optGroup->addButton(Opt[1], 1);

    cmbTime = new QComboBox(this);
    cmbTime->setObjectName(QStringLiteral("cmbTime"));
    cmbTime->setEditable(true);
    cmbTime->setInsertPolicy(QComboBox::NoInsert);
    cmbTime->addItems(minutesList());
    cmbTime->lineEdit()->setObjectName(QStringLiteral("cmbTime_edit"));
    cmbTime->setMinimumContentsLength(5);
    cmbTime->setAccessibleName(tr("分後"));
    cmbTime->lineEdit()->setAccessibleName(tr("分後"));

    clockBoxes = new QWidget(this);
    clockBoxes->setObjectName(QStringLiteral("clockBoxes"));
    auto *cl = new QHBoxLayout(clockBoxes);
    cl->setContentsMargins(0, 0, 0, 0);
    cl->setSpacing(1);
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
    cl->addLayout(MakeSpinPair(clockBoxes, UpD_H, QStringLiteral("UpD_H"), tr("時"), 16));
    auto *lh = new QLabel(tr("時"), clockBoxes);
    lh->setObjectName(QStringLiteral("lblH"));
    cl->addWidget(lh);
    cl->addWidget(txtM);
    cl->addLayout(MakeSpinPair(clockBoxes, UpD_M, QStringLiteral("UpD_M"), tr("分"), 16));
    auto *lm = new QLabel(tr("分"), clockBoxes);
    lm->setObjectName(QStringLiteral("lblM"));
    cl->addWidget(lm);
    txtH->setAccessibleName(tr("時"));
    txtM->setAccessibleName(tr("分"));

    auto *timing = new QHBoxLayout;
    timing->setSpacing(4);
    timing->addWidget(Opt[0]);
    timing->addWidget(cmbTime);
    timing->addWidget(Opt[1]);
    timing->addWidget(clockBoxes);
    timing->addStretch();
    lay->addLayout(timing, 0, 1);

    chkForce = new QCheckBox(tr("仕掛かり中でも強制終了します。"), this);
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

    using B = JobBindings;
    m_bindings.radios(optGroup, B::field(&JobSettings::TimingMode), true, B::Load | B::Store);  // the options set it
    m_bindings.editText(cmbTime, B::field(&JobSettings::DelayMinutes));
    m_bindings.text(txtH, B::field(&JobSettings::ClockHour));
    m_bindings.text(txtM, B::field(&JobSettings::ClockMinute));
    m_bindings.check(chkForce, B::field(&JobSettings::Force));
    connectLive(this);

    connect(cmbOp, &QComboBox::currentIndexChanged, this, &OperationPanel::onOperationChanged);
    connect(optGroup, &QButtonGroup::idClicked, this, &OperationPanel::timingOptionClicked);
    const auto loading = [this] { return m_host.loading(); };
    cmbTime->setValidator(new DigitsValidator(true, loading, cmbTime));
    // A typed number stays as typed: completed to a list entry, "1" would
    // read as "1440" and "3" as "300".
    cmbTime->setCompleter(nullptr);
    for (QLineEdit *e : {txtH, txtM})
        e->setValidator(new DigitsValidator(false, loading, e));
    for (int d = 0; d < 2; ++d) {
        RepeatWhileHeld(UpD_H[d], this, [this, d] { spin(txtH, d, 23, 0); });
        RepeatWhileHeld(UpD_M[d], this, [this, d] { spin(txtM, d, 59, 0); });
    }
}

bool OperationPanel::showOperation(int index)
{
    if (cmbOp->count() != int(kOperationKinds.size()) || cmbOp->itemText(0) != OperationDisplayName(kOperationKinds[0])) {
        cmbOp->clear();
        for (const OperationKind k : kOperationKinds)
            cmbOp->addItem(OperationDisplayName(k));
    }
    const bool changed = cmbOp->currentIndex() != index;
    cmbOp->setCurrentIndex(index);
    m_rememberedOperation = cmbOp->currentIndex();
    return changed;
}

void OperationPanel::store(JobSettings &job) const
{
    job.Operation = cmbOp->currentIndex();
    JobPanel::store(job);
}

QString OperationPanel::operationText() const
{
    return cmbOp->currentText();
}

std::optional<OperationKind> OperationPanel::operation() const
{
    return OperationAt(cmbOp->currentIndex());
}

void OperationPanel::rememberOperation()
{
    m_rememberedOperation = cmbOp->currentIndex();
}

void OperationPanel::onOperationChanged(int index)
{
    ++m_operationQuestion;  // an answer about an earlier choice no longer counts
    if (m_host.loading() || index < 0)
        return;
    if (OperationAt(index) == OperationKind::Hibernate) {
        // The system answers from the event loop; the window stays alive meanwhile.
        const quint64 question = m_operationQuestion;
        m_host.services().queryHibernationAllowed(this, [this, index, question](bool allowed) {
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

void OperationPanel::refuseHibernation(int index)
{
    Q_EMIT hibernationRefused();
    const UserMessage refused = HibernationDisabledMessage();
    m_host.showBox(refused.title, refused.text, QMessageBox::Ok, QMessageBox::Ok, nullptr);
    // Runs the change handler again for the restored operation.
    cmbOp->setCurrentIndex(OperationAfterRefusal(m_rememberedOperation, index, cmbOp->count()));
}

void OperationPanel::acceptOperation(int index)
{
    m_host.state().job.Operation = index;
    Q_EMIT operationAccepted();
    m_rememberedOperation = index;
}

void OperationPanel::showOperationTips(const OperationTooltips &t)
{
    Opt[0]->setToolTip(t.minutesOption);
    Opt[1]->setToolTip(t.clockOption);
    cmbTime->setToolTip(t.minutesBox);
}

void OperationPanel::setTimingMode(int index)
{
    JobSettings &job = m_host.state().job;
    SetTimingMode(job, index, m_host.clock().now());
    Opt[job.TimingMode]->setChecked(true);
    txtH->setText(job.ClockHour);
    txtM->setText(job.ClockMinute);
    showTimingBoxes(job.TimingMode == 1);
}

void OperationPanel::showTimingBoxes(bool clock)
{
    clockBoxes->setVisible(clock);
    cmbTime->setVisible(!clock);
}

void OperationPanel::spin(QLineEdit *box, int direction, int high, int low)
{
    box->setText(SpinValue(box->text(), direction, high, low));
}

void OperationPanel::leaveClockBox(QLineEdit *box, int max)
{
    const QString fixed = CorrectClockBox(box->text(), max);
    if (fixed != box->text())
        box->setText(fixed);
}

void OperationPanel::leaveMinutesBox()
{
    if (cmbTime->isHidden() || !cmbTime->currentText().trimmed().isEmpty() || m_pendingEmptyMinutes)
        return;
    m_pendingEmptyMinutes = true;
    const UserMessage empty = EmptyMinutesMessage();
    m_host.showBox(empty.title, empty.text, QMessageBox::Ok, QMessageBox::Ok, [this](int) {
        m_pendingEmptyMinutes = false;
        m_host.focusField(QStringLiteral("cmbTime"));
    });
}

bool OperationPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
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
    return QGroupBox::eventFilter(watched, event);
}

}  // namespace zk
