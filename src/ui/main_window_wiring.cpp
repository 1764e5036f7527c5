// The main window's wiring: the table of controls and job fields (shown,
// stored and written back live), the handlers of the controls, and the
// typing rules of the number boxes.
#include "ui/main_window.h"

#include "core/job_edit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QValidator>

namespace zk {

namespace {

// The number boxes take ASCII digits only: typed, pasted or dropped text
// keeps its digits (leading blanks too where the list texts are right-aligned
// with them, full stops in a decimal box). A value being shown from the
// record (*loading > 0) stays as it is: "1e+15" kept as a number's digits
// would read as another number.
class DigitsValidator : public QValidator {
public:
    DigitsValidator(bool keepLeadingBlanks, const int *loading, QObject *parent, bool keepPoints = false)
        : QValidator(parent), m_keepLeadingBlanks(keepLeadingBlanks), m_keepPoints(keepPoints), m_loading(loading)
    {
    }
    State validate(QString &input, int &pos) const override
    {
        if (*m_loading > 0)
            return Acceptable;
        const QString kept = DigitsOnly(input, m_keepLeadingBlanks, m_keepPoints);
        if (kept != input) {
            pos = int(DigitsOnly(input.left(pos), m_keepLeadingBlanks, m_keepPoints).size());
            input = kept;
        }
        return Acceptable;
    }

private:
    bool m_keepLeadingBlanks;
    bool m_keepPoints;
    const int *m_loading;
};

// Spinner buttons: one step on the press, then repeats while held.
void repeatWhileHeld(QAbstractButton *button, QObject *context, std::function<void()> step)
{
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(kSpinFirstRepeatMs);
    button->setAutoRepeatInterval(kSpinRepeatMs);
    // pressed comes with the press and with every repeat, never with the release.
    QObject::connect(button, &QAbstractButton::pressed, context, std::move(step));
}

}  // namespace

void MainWindow::bindJobFields()
{
    using B = JobBindings;
    B &b = m_bindings;
    // In the order the record is shown.
    b.radios(optGroup, B::field(&JobSettings::TimingMode), true, B::Load | B::Store);  // the options set it
    b.editText(cmbTime, B::field(&JobSettings::DelayMinutes));
    b.text(txtH, B::field(&JobSettings::ClockHour));
    b.text(txtM, B::field(&JobSettings::ClockMinute));
    b.check(chkForce, B::field(&JobSettings::Force));
    b.check(chkMonitor, B::field(&JobSettings::MonitorEnabled));
    b.radios(monitorKindGroup, B::field(&JobSettings::MonitorKind), false);
    b.radios(phraseEventGroup, B::field(&JobSettings::PhraseEvent), true);
    // Stored from the record: the text as loaded keeps its own line breaks.
    b.lines(txtPhrase, B::field(&JobSettings::MonitorPhrase), B::Load | B::Live);
    b.check(chkIeMonitor, B::field(&JobSettings::IeMonitor));
    b.editText(cmbLowerLimit, B::field(&JobSettings::CpuLowerLimit));
    b.editText(cmbAverageSecs, B::field(&JobSettings::CpuAverageSeconds));
    b.pickedText(cmbProcess, B::field(&JobSettings::CpuProcess));
    b.editText(cmbTimePower, B::field(&JobSettings::IdleSeconds));
    b.check(ChkMulti, B::field(&JobSettings::MultiEnabled));
    b.check(chkResumeOnly, B::field(&JobSettings::ResumeOnly));
    b.check(chkResumeAtClock, B::field(&JobSettings::ResumeAtClock));
    b.editText(cmbResumeMinutes, B::field(&JobSettings::ResumeAfterMinutes));
    for (int i = 0; i < 5; ++i)
        b.text(txtResume[i], B::resumePart(i));
    b.check(chkResumeKeep, B::field(&JobSettings::ResumeKeepState));
    b.check(chkResumeMonitor, B::field(&JobSettings::ResumeMonitorOn));
    for (int w = 1; w <= 7; ++w)
        b.check(chkWeek[w], B::weekday(w));
    b.check(chkLaunchApp, B::field(&JobSettings::LaunchApp));
    b.text(txtExecAp, B::field(&JobSettings::AppCommand));
    b.check(chkDsp, B::field(&JobSettings::Topmost));
    b.check(chkTaskTray, B::field(&JobSettings::TrayIcon));
    b.check(chkMinimize, B::field(&JobSettings::MinimizeAtStart));
    b.check(chkBeep, B::field(&JobSettings::CountdownSound));
    b.check(chkNoDispAlert, B::field(&JobSettings::NoAlert));
    b.check(chkCapture, B::field(&JobSettings::CaptureOnExit));
    b.check(chkDspQuick, B::field(&JobSettings::ShowQuickButtons));
    b.check(chkExtended, B::field(&JobSettings::ExtendedMenu));
    // Shown after the operation, which decides whether it can be ticked.
    b.check(chkResume, B::field(&JobSettings::ResumeEnabled), B::Store | B::Live);
}

void MainWindow::connectControls()
{
    bindJobFields();
    // First, so that the handlers below find the new values in the record.
    m_bindings.connectLive(
        this, [this]() -> JobSettings & { return m_state.job; }, [this] { return m_loading == 0; });

    connect(cmbOp, &QComboBox::currentIndexChanged, this, &MainWindow::onOperationChanged);
    connect(optGroup, &QButtonGroup::idClicked, this, &MainWindow::onTimingOptionClicked);
    for (QComboBox *c : {cmbTime, cmbTimePower, cmbResumeMinutes, cmbAverageSecs, cmbLowerLimit}) {
        c->setValidator(new DigitsValidator(true, &m_loading, c, c == cmbLowerLimit));
        // A typed number stays as typed: completed to a list entry, "1"
        // would read as "1440" and "3" as "300".
        c->setCompleter(nullptr);
    }
    for (QLineEdit *e : {txtH, txtM})
        e->setValidator(new DigitsValidator(false, &m_loading, e));
    for (QLineEdit *e : txtResume)
        e->setValidator(new DigitsValidator(false, &m_loading, e));
    for (int d = 0; d < 2; ++d) {
        repeatWhileHeld(UpD_H[d], this, [this, d] { spin(txtH, d, 23, 0); });
        repeatWhileHeld(UpD_M[d], this, [this, d] { spin(txtM, d, 59, 0); });
    }
    for (int i = 0; i < 5; ++i)
        for (int d = 0; d < 2; ++d)
            repeatWhileHeld(UpD_r[i][d], this, [this, i, d] { spinResume(i, d); });

    connect(chkMonitor, &QCheckBox::toggled, this, &MainWindow::applyMonitorLayout);
    connect(monitorKindGroup, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            applyMonitorLayout();
    });
    connect(phraseEventGroup, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            txtPhrase->setToolTip(PhraseBoxTooltip(id));
    });

    connect(chkResume, &QCheckBox::clicked, this, &MainWindow::onResumeClicked);
    connect(chkResumeOnly, &QCheckBox::clicked, this, &MainWindow::onResumeOnlyClicked);
    for (QCheckBox *c : {chkResume, chkResumeOnly, chkResumeAtClock})
        connect(c, &QCheckBox::toggled, this, &MainWindow::applyResumeLayout);
    connect(cmdClear, &QPushButton::clicked, this, [this] {
        for (QLineEdit *e : txtResume)
            e->clear();
        txtExecAp->clear();
    });

    connect(chkLaunchApp, &QCheckBox::toggled, this, &MainWindow::applyApplicationBoxState);
    connect(cmdBrowse, &QToolButton::clicked, this, &MainWindow::browseApplication);

    connect(chkDsp, &QCheckBox::toggled, this, &MainWindow::applyTopmost);
    for (QCheckBox *c : {chkMonitor, chkDsp})
        connect(c, &QCheckBox::toggled, this, &MainWindow::tellSessionLimits);
    connect(monitorKindGroup, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            tellSessionLimits();
    });
    connect(chkTaskTray, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            removeTrayIcon();
    });
    connect(chkDspQuick, &QCheckBox::toggled, this, &MainWindow::updateQuickFrame);
    connect(ChkMulti, &QCheckBox::toggled, this, &MainWindow::onMultiToggled);
    connect(cmdSetDefaultResume, &QPushButton::clicked, this, &MainWindow::setDefaultResume);
    connect(cmdWeekList, &QPushButton::clicked, this, &MainWindow::openWeekList);
    connect(chkExtended, &QCheckBox::toggled, this, [this](bool on) {
        if (m_loading == 0 && !on)
            saveSettings();  // unticking saves, silently
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
    if (const QStringList operations = OperationListTexts();
        cmbOp->count() != operations.size() || cmbOp->itemText(0) != operations.value(0)) {
        cmbOp->clear();
        cmbOp->addItems(operations);
    }
    const bool opChanged = cmbOp->currentIndex() != j.Operation || m_baseCaption.isEmpty();
    cmbOp->setCurrentIndex(j.Operation);
    m_rememberedOperation = cmbOp->currentIndex();
    m_bindings.load(j);
    txtPhrase->setToolTip(PhraseBoxTooltip(j.PhraseEvent != 0 ? 1 : 0));

    // The operation decides whether resume can be used at all.
    applyOperationEffects(false);
    if (opChanged)
        setCaptionForOperation();

    const bool clock = j.TimingMode != 0;
    clockBoxes->setVisible(clock);
    cmbTime->setVisible(!clock);
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
    m_bindings.store(j);
    j.MonitorPhrase = m_state.job.MonitorPhrase;
    if (&state != &m_state)
        state.LastProgramFolder = m_state.LastProgramFolder;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
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
        else if ((watched == cmbAverageSecs || watched == cmbAverageSecs->lineEdit()) &&
                 reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            leaveAverageSecondsBox();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::leaveAverageSecondsBox()
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

}  // namespace zk
