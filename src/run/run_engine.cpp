#include "run/run_engine.h"

#include "core/crlf.h"
#include "core/datetime.h"
#include "core/job_edit.h"
#include "core/text.h"
#include "input/command_history.h"
#include "monitors/trigger.h"
#include "shell/tray_text.h"

#include <QDir>
#include <QPointer>
#include <algorithm>
#include <utility>
#include <cstdlib>

namespace zk {

namespace {

constexpr int kTickMs = 1000;
// A tick further than this from the whole second of the clock re-aligns the timer.
constexpr int kTickDriftMs = 100;
constexpr int kCaptureDelayMs = 300;
// A capture answers within this time or is given up: the power action never
// waits on it for longer (the desktop portal's own limit is shorter).
constexpr int kCaptureLimitMs = 10000;
constexpr qint64 kTrayThresholdMs = 15000;
const QString kNoticeStopKey = QStringLiteral("stop");

}  // namespace

RunEngine::RunEngine(AppState &state, const Clock &clock, const PlatformServices &services, RunView *view,
                     QObject *parent)
    : QObject(parent), m_state(state), m_clock(clock), m_view(view), m_power(state, clock),
      m_multi(state, clock, m_power)
{
    m_historyHook = [this](const QString &command) { AddToHistory(m_state.history, command); };
    // Ticks must not come early, or the action would slip by a whole second.
    m_tickTimer.setTimerType(Qt::PreciseTimer);
    m_loadTimer.setInterval(0);
    m_loadTimer.setSingleShot(true);
    m_captureTimer.setInterval(kCaptureDelayMs);
    m_captureTimer.setSingleShot(true);

    connect(&m_tickTimer, &QTimer::timeout, this, &RunEngine::tick);
    connect(&m_loadTimer, &QTimer::timeout, this, &RunEngine::loadTimerTick);
    connect(&m_captureTimer, &QTimer::timeout, this, &RunEngine::captureStep);
    m_captureLimit.setInterval(kCaptureLimitMs);
    m_captureLimit.setSingleShot(true);
    connect(&m_captureLimit, &QTimer::timeout, this, &RunEngine::captureTimedOut);
    connect(&m_power, &PowerSequence::finished, this, &RunEngine::onPowerFinished);
    connect(&m_power, &PowerSequence::remainingText, this, &RunEngine::setRemaining);
    connect(&m_power, &PowerSequence::waitingForWakeStarted, this,
            [this] { setRunState(RunState::WaitingForResume); });

    connect(&m_multi, &MultiRun::remainingText, this, &RunEngine::setRemaining);
    connect(&m_multi, &MultiRun::remainingColor, this, &RunEngine::setRemainingColor);
    connect(&m_multi, &MultiRun::caption, this, &RunEngine::setCaptionIfDifferent);
    connect(&m_multi, &MultiRun::stepStarted, this, [this] {
        if (m_view)
            m_view->setRemainingFontSize(kRemainingFontNormal);
        setRunState(RunState::Counting);
    });
    connect(&m_multi, &MultiRun::stepExecuting, this, [this] { setRunState(RunState::Executing); });
    connect(&m_multi, &MultiRun::waitingForStop, this, [this](bool nothingToRun) {
        setCaptionIfDifferent(m_baseCaption);
        if (!nothingToRun)
            return;
        // Nothing will happen until the stop button is used: say so.
        if (m_view)
            m_view->setRemainingFontSize(kRemainingFontNotice);
        setRemaining(tr("実行できる行がありません。") + kCrLf + tr("「中止」で戻ります。"));
    });

    m_baseCaption = CaptionFor(m_state.OperationDisplayName());
    m_power.setView(view);
    m_multi.setView(view);
    setServices(services);
    scheduleTick();
}

RunEngine::~RunEngine() = default;

void RunEngine::setView(RunView *view)
{
    m_view = view;
    m_power.setView(view);
    m_multi.setView(view);
    m_colorShown = false;
}

void RunEngine::setServices(const PlatformServices &services)
{
    disconnect(m_noticeConnection);
    m_services = services;
    if (services.notifier)
        m_noticeConnection =
            connect(services.notifier, &DesktopNotifier::actionInvoked, this, &RunEngine::onNoticeAction);
    m_power.setServices(services);
    m_multi.setServices(services);
    m_trigger.reset();  // made again with the new services
}

Trigger &RunEngine::trigger()
{
    if (!m_trigger || m_triggerKind != m_state.job.MonitorKind) {
        m_triggerKind = m_state.job.MonitorKind;
        m_trigger = MakeTrigger(m_state.job.monitorKind(), m_state, m_services);
        m_trigger->setChangeListener([this] { triggerMayHaveChanged(); });
    }
    return *m_trigger;
}

void RunEngine::setEnvironment(const StartEnvironment &env) { m_env = env; }
void RunEngine::setProgramDir(const QString &dir) { m_programDir = dir; }
void RunEngine::setLoadHook(std::function<void()> hook) { m_loadHook = std::move(hook); }
void RunEngine::setMultiStartHook(std::function<void()> hook) { m_multiStartHook = std::move(hook); }
void RunEngine::setHistoryHook(std::function<void(const QString &)> hook) { m_historyHook = std::move(hook); }

void RunEngine::setBaseCaption(const QString &caption)
{
    m_baseCaption = caption;
}

qint64 RunEngine::warningLeadMs() const
{
    return qint64(WarningLeadSeconds(m_state)) * 1000;
}

QString RunEngine::trayTooltip() const
{
    TrayTooltipInput in;
    in.resumeChecked = m_state.job.ResumeEnabled != 0;
    in.resumeTime = m_state.cl.ResumeTime;
    in.targetTime = m_targetTime;
    in.runActive = m_locked && ((in.resumeChecked && in.resumeTime.isValid()) || m_targetTime.isValid());
    in.operationText = m_state.OperationDisplayName();
    in.windowTitle = m_baseCaption;
    in.today = m_clock.now().date();
    return TrayTooltipText(in);
}

RunPlan RunEngine::plan() const
{
    return PlanStart(m_state, m_clock.now(), m_env);
}

bool RunEngine::closeRequested(bool forced)
{
    if (!forced && m_locked && m_state.job.TrayIcon) {
        if (m_view)
            m_view->showInTray(trayTooltip());
        return false;
    }
    // The stop clears AutoStart; the program ends here, and its unload must
    // still know that the run came from "-auto" (such a run saves nothing).
    const bool autoStart = m_state.cl.AutoStart;
    stopRun();
    m_state.cl.AutoStart = autoStart;
    if (m_view)
        m_view->removeTrayIcon();
    return true;
}

// ---------------------------------------------------------------------------
// Small helpers.

void RunEngine::setRunState(RunState s)
{
    if (m_runState == s)
        return;
    const RunState was = m_runState;
    m_runState = s;
    if (s == RunState::Warning)
        sendWarningNotice();
    else if (was == RunState::Warning)
        withdrawWarningNotice();
    Q_EMIT runStateChanged(s);
}

void RunEngine::sendWarningNotice()
{
    DesktopNotifier *notifier = m_services.notifier;
    if (!notifier)
        return;
    DesktopNotification notice;
    notice.summary = m_baseCaption;
    //: Warning before the operation %1 runs, with force or soon.
    notice.body = (m_state.job.Force ? tr("強制%1") : tr("まもなく%1")).arg(m_state.OperationDisplayName());
    notice.critical = true;
    //: Button of the desktop notice: stop the run.
    notice.actions = {{kNoticeStopKey, tr("中止")}};
    const quint64 serial = ++m_noticeSerial;
    const QPointer<RunEngine> self(this);
    const QPointer<DesktopNotifier> guard(notifier);
    notifier->notify(notice, [self, guard, serial](quint32 id) {
        if (self && serial == self->m_noticeSerial)
            self->m_noticeId = id;
        else if (guard)
            guard->close(id);  // the warning ended before the service answered
    });
}

void RunEngine::withdrawWarningNotice()
{
    ++m_noticeSerial;
    if (m_services.notifier)
        m_services.notifier->close(m_noticeId);
    m_noticeId = 0;
}

void RunEngine::onNoticeAction(quint32 id, const QString &key)
{
    if (id == 0 || id != m_noticeId || key != kNoticeStopKey)
        return;
    stopRun();
    Q_EMIT stoppedFromNotice();
}

void RunEngine::showPopup(const PopupRequest &popup, std::function<void()> closed)
{
    if (!m_view)
        return;
    m_view->showMessagePopup(popup, std::move(closed));
    if (m_services.notifier && !popup.text.isEmpty())
        m_services.notifier->notify(
            {popup.title.isEmpty() ? m_baseCaption : popup.title, QString(popup.text).replace(kCrLf, QStringLiteral("\n")),
             false, {}},
            {});
}

void RunEngine::setLocked(bool locked)
{
    m_locked = locked;
    if (m_view)
        m_view->setRunLocked(locked);
}

void RunEngine::setRemaining(const QString &text)
{
    if (m_remainingText == text)
        return;
    m_remainingText = text;
    if (m_view)
        m_view->setRemainingText(text);
}

void RunEngine::setRemainingColor(const RunColor &color)
{
    if (m_colorShown && m_color == color)
        return;
    m_color = color;
    m_colorShown = true;
    if (m_view)
        m_view->setRemainingColor(color);
}

void RunEngine::setCaptionIfDifferent(const QString &text)
{
    if (m_caption == text)
        return;
    m_caption = text;
    if (m_view)
        m_view->setCaption(text);
}

void RunEngine::setBlinkingLabel(bool on, bool always)
{
    // A label already blinking goes on blinking in its own rhythm; the tick
    // tells the view only what changed.
    if (!always && on == m_blinkSet && (on || !m_phraseLabelVisible))
        return;
    m_blinkSet = on;
    m_phraseLabelVisible = on;
    if (m_view)
        m_view->setPhraseLabelVisible(on);
}

void RunEngine::setTrigger(bool on)
{
    if (!on) {
        m_triggerTime = QDateTime();
        m_triggerBootMs.reset();
        return;
    }
    const qint64 lead = warningLeadMs();
    m_triggerTime = m_clock.now().addMSecs(lead);
    m_triggerBootMs = m_clock.bootMs() + lead;
}

std::optional<qint64> RunEngine::remainingMs(const QDateTime &now) const
{
    if (m_triggerBootMs)
        return *m_triggerBootMs - m_clock.bootMs();
    if (m_targetBootMs)
        return *m_targetBootMs - m_clock.bootMs();
    if (!m_targetTime.isValid() || !now.isValid())
        return std::nullopt;
    return now.msecsTo(m_targetTime);
}

void RunEngine::followBootClock(const QDateTime &now)
{
    if (!m_targetBootMs)
        return;
    const QDateTime wall = now.addMSecs(*m_targetBootMs - m_clock.bootMs());
    const qint64 moved = m_targetTime.msecsTo(wall);
    // Below a second the two clocks only disagree by their rounding.
    if (!m_targetTime.isValid() || std::abs(moved) < 1000)
        return;
    m_targetTime = wall;
    if (m_resumeFollowsTarget && m_state.cl.ResumeTime.isValid()) {
        m_state.cl.ResumeTime = m_state.cl.ResumeTime.addMSecs(moved);
        if (m_view)
            m_view->setResumeLabel(tr("予定 %1").arg(FormatClock(m_state.cl.ResumeTime)));
    }
}

void RunEngine::showInTrayIfEnabled()
{
    if (m_state.job.TrayIcon && m_view)
        m_view->showInTray(trayTooltip());
}

void RunEngine::endProgram(int code)
{
    if (m_ended)
        return;
    m_ended = true;
    m_countdownOn = false;
    m_recheckOn = false;
    m_blinkSet = false;
    m_loadTimer.stop();
    m_captureTimer.stop();
    dropCapture();
    m_power.end();
    setRunState(RunState::Idle);
    if (m_view)
        m_view->quit(code);
}

// ---------------------------------------------------------------------------
// Start and stop.

void RunEngine::refuse(const RunPlan &plan)
{
    if (plan.stop == StopOrder::BeforeMessage)
        stopRun();
    if (m_view)
        m_view->showMessage(plan.title, plan.text, plan.focusField);
    if (plan.stop == StopOrder::AfterMessage)
        stopRun();
}

void RunEngine::startMultiRun()
{
    if (m_ended || m_runState != RunState::Idle || m_multi.active())
        return;
    // A sleep with a wake row needs a wake alarm: where none can be armed
    // the schedule does not start (its machine would sleep on), and says why.
    if (!m_env.wakeUnavailable.isEmpty()) {
        const QList<MultiStep> steps = PlanMultiSteps(m_state, m_clock.now());
        if (std::any_of(steps.begin(), steps.end(),
                        [](const MultiStep &s) { return s.resumeAt.isValid() && IsSuspendOperation(s.kind); })) {
            const auto [title, text] = WakeRefusal(m_env.wakeUnavailable);
            if (m_view)
                m_view->showMessage(title, text, QString());
            return;
        }
    }
    ++m_generation;
    if (!m_programDir.isEmpty())
        QDir::setCurrent(m_programDir);
    m_startTime = m_clock.now();
    m_targetTime = QDateTime();
    m_targetBootMs.reset();
    m_resumeFollowsTarget = false;
    setTrigger(false);
    m_abortRequested = false;
    setBlinkingLabel(false);
    setLocked(true);
    if (m_view) {
        m_view->setResumeLabel(QString());
        m_view->setRemainingFontSize(kRemainingFontNormal);
        m_colorShown = false;
    }
    setRunState(RunState::Counting);
    // Rows whose time is no time of day count as empty: say which, once.
    const QString dropped = DroppedMultiRowsText(DroppedMultiRows(m_state.MultiRows));
    if (!dropped.isEmpty() && m_view) {
        PopupRequest popup;
        popup.title = tr("連続指定");
        popup.text = dropped;
        popup.red = true;
        showPopup(popup, {});
    }
    m_multi.start();
}

void RunEngine::startRun()
{
    if (m_ended || m_runState != RunState::Idle || m_multi.active())
        return;
    const quint64 generation = ++m_generation;
    if (!m_programDir.isEmpty())
        QDir::setCurrent(m_programDir);

    const QDateTime now = m_clock.now();
    m_startTime = now;
    m_pending = PlanStart(m_state, now, m_env);
    const RunPlan &p = m_pending;

    if (p.outcome == PlanOutcome::Skip) {
        if (p.showPopup && m_view) {
            PopupRequest popup;
            popup.text = p.popupText;
            popup.seconds = 8;
            popup.modal = true;
            const QPointer<RunEngine> self(this);
            showPopup(popup, [self] {
                if (self)
                    self->endProgram(0);
            });
        } else {
            endProgram(0);
        }
        return;
    }

    // A refusal before the phrase check has already switched the label off in
    // the same way; do it first so that every path agrees.
    setBlinkingLabel(false);
    if (p.outcome == PlanOutcome::Refused) {
        refuse(p);
        return;
    }

    m_targetTime = p.targetTime;
    m_targetBootMs.reset();
    if (p.targetSpanMs >= 0)
        m_targetBootMs = m_clock.bootMs() + p.targetSpanMs;
    m_resumeFollowsTarget = p.resumeFollowsTarget;
    // The resume time of this run only; a run without resume never wakes the machine.
    m_state.cl.ResumeTime = p.resumeTime;
    if (m_view)
        m_view->setResumeLabel(p.resumeTime.isValid()
                                   //: When the computer wakes up: %1 is a clock time.
                                   ? tr("予定 %1").arg(FormatClock(p.resumeTime))
                                   : QString());

    // Lock the settings.
    if (m_historyHook)
        m_historyHook(m_state.job.AppCommand);
    setLocked(true);
    setRunState(m_state.job.ResumeOnly ? RunState::WaitingForResume : RunState::Counting);

    if (!m_state.job.ResumeOnly) {
        setTrigger(false);
        if (m_state.job.MonitorEnabled) {
            // The check may have to look at the screen first; the window stays live meanwhile.
            const QPointer<RunEngine> self(this);
            trigger().askStartQuestion([self, this, generation](const QString &message) {
                if (self && generation == m_generation && !m_ended)
                    askStartQuestion(generation, message);
            });
            return;
        }
    }
    continueStart(generation);
}

void RunEngine::askStartQuestion(quint64 generation, const QString &message)
{
    if (message.isEmpty()) {
        continueStart(generation);
        return;
    }
    setBlinkingLabel(true);
    if (!m_view) {
        stopRun();  // nobody to ask: the start is abandoned
        return;
    }
    const QPointer<RunEngine> self(this);
    m_view->askOkCancel(tr("文言状態検知"), message, [self, this, generation](bool ok) {
        if (!self || generation != m_generation || m_ended)
            return;
        if (!ok) {
            stopRun();
            return;
        }
        setTrigger(true);
        continueStart(generation);
    });
}

void RunEngine::continueStart(quint64 generation)
{
    if (generation != m_generation || m_ended)
        return;
    const JobSettings &j = m_state.job;
    const QDateTime now = m_clock.now();

    if (!j.ResumeOnly) {
        m_countdownOn = true;
        m_recheckOn = true;
        trigger().start(m_startTime);
        if (j.MonitorEnabled)
            refreshLineStatus();  // the first tick must not see an old power line
        m_abortRequested = false;
        if (m_view) {
            m_view->setRemainingFontSize(kRemainingFontNormal);
            m_colorShown = false;
        }
        setRemainingColor(kColorCountdown);
        if (!m_triggerTime.isValid() && remainingMs(now).value_or(0) > kTrayThresholdMs) {
            showInTrayIfEnabled();
            if (j.MinimizeAtStart && m_view)
                m_view->minimizeWindow();
        }
    }

    // The weekday boxes of the resume.
    switch (m_pending.resumeDay) {
    case ResumeDayRule::Allowed:
        break;
    case ResumeDayRule::CancelRun:
        if (m_view) {
            PopupRequest popup;
            popup.text = m_pending.resumePopupText;
            popup.red = true;
            showPopup(popup, {});
        }
        stopRun();
        return;
    case ResumeDayRule::DropResume:
        m_state.job.ResumeEnabled = 0;
        m_state.cl.ResumeTime = QDateTime();
        if (m_view) {
            m_view->settingsChanged();
            m_view->setResumeLabel(QString());
        }
        break;
    case ResumeDayRule::EndProgram:
        endProgram(0);
        return;
    }

    if (!j.ResumeOnly) {
        // The countdown shows at once; the tick goes on from the next whole second.
        if (const std::optional<qint64> left = remainingMs(now); left && *left > 0)
            showCountdown(*left);
    } else {
        // Wait for the wake time without suspending the machine.
        setRemaining(tr("復帰待ち中"));
        m_state.job.TrayIcon = 1;
        if (m_view)
            m_view->settingsChanged();
        showInTrayIfEnabled();
        if (j.MinimizeAtStart && m_view)
            m_view->minimizeWindow();
        m_power.waitForResumeTime();
    }
}

void RunEngine::stopRun()
{
    if (m_ended)
        return;
    ++m_generation;  // a pending question no longer starts anything
    if (m_power.waitingForWake()) {
        m_power.stop();
        endProgram(0);
        return;
    }
    const bool exitWaitAborted = m_power.stop();
    m_multi.stop();
    if (m_view)
        m_view->setRemainingFontSize(kRemainingFontNormal);
    const bool captureWaiting = dropCapture();
    const bool captureAborted = m_captureTimer.isActive() || captureWaiting;
    m_captureTimer.stop();
    if (captureAborted && m_view)
        m_view->showWindowNormal();

    setLocked(false);
    setRemaining(QString());
    if (m_view)
        m_view->setResumeLabel(QString());
    m_abortRequested = true;
    m_caption = m_baseCaption;
    if (m_view)
        m_view->setCaption(m_baseCaption);
    setBlinkingLabel(false, true);
    m_countdownOn = false;
    m_recheckOn = false;
    trigger().stop(true);
    if (m_services.sound)
        m_services.sound->stop();
    m_state.cl.AutoStart = false;
    setTrigger(false);
    setRunState(RunState::Idle);

    // The refused exit is given up; the program ends as after any exit request.
    if (exitWaitAborted)
        endProgram(0);
}

void RunEngine::startLoadTimer()
{
    m_loadTimer.start();
}

void RunEngine::loadTimerTick()
{
    m_loadTimer.stop();
    if (m_ended)
        return;
    if (m_loadHook)
        m_loadHook();
    if (!m_state.cl.AutoStart)
        return;
    if (m_state.job.MultiEnabled) {
        if (m_multiStartHook)
            m_multiStartHook();
        else
            startMultiRun();
    } else {
        startRun();
    }
}

// ---------------------------------------------------------------------------
// The clock tick.

void RunEngine::scheduleTick()
{
    // The next whole second of the clock, unless this tick came close enough to one.
    const int ms = m_clock.now().time().msec();
    const int drift = ms < 500 ? ms : ms - 1000;
    if (std::abs(drift) > kTickDriftMs)
        m_tickTimer.start(kTickMs - ms);
    else if (m_tickTimer.interval() != kTickMs || !m_tickTimer.isActive())
        m_tickTimer.start(kTickMs);
}

void RunEngine::tick()
{
    scheduleTick();
    clockTick();
    blinkTick();
    if (m_recheckOn)
        phraseRecheckTick();
    if (m_countdownOn)
        countdownTick();
    if (m_multi.active())
        m_multi.tick();
    Q_EMIT ticked();
}

void RunEngine::clockTick()
{
    const QDateTime now = m_clock.now();
    if (m_view)
        m_view->setClockText(FormatClock(now));
    refreshLineStatus();
}

void RunEngine::refreshLineStatus()
{
    const std::optional<QString> line = trigger().readStatus();
    if (line && *line != m_lineStatus) {
        m_lineStatus = *line;
        if (m_view)
            m_view->setLineStatusText(*line);
    }
}

void RunEngine::blinkTick()
{
    if (!m_blinkSet)
        return;
    m_phraseLabelVisible = m_blinkPhase;
    if (m_view)
        m_view->setPhraseLabelVisible(m_blinkPhase);
    m_blinkPhase = !m_blinkPhase;
}

void RunEngine::phraseRecheckTick()
{
    if (!m_blinkSet || !m_phraseLabelVisible || !m_state.job.MonitorEnabled)
        return;
    if (!trigger().detectionStillShown())
        setBlinkingLabel(false);
}

// ---------------------------------------------------------------------------
// The countdown.

void RunEngine::countdownTick()
{
    if (m_ended || (m_runState != RunState::Counting && m_runState != RunState::Warning))
        return;
    const JobSettings &j = m_state.job;
    const QDateTime now = m_clock.now();

    // Monitor evaluation.
    bool held = false;
    if (j.MonitorEnabled) {
        Trigger &t = trigger();
        held = t.holds(now).value_or(false);
        if (held && t.marksDetection())
            setBlinkingLabel(true);
    }

    // Whole-second gate.
    m_tickAccumulator += kTickMs;
    if (m_tickAccumulator >= 100000)
        m_tickAccumulator = 0;
    if (m_tickAccumulator % 1000 != 0)
        return;

    // Trigger time.
    if (held) {
        if (!m_triggerTime.isValid())
            setTrigger(true);
    } else {
        setTrigger(false);
        setBlinkingLabel(false);
    }
    actOnRemaining(now);
}

void RunEngine::actOnRemaining(const QDateTime &now)
{
    followBootClock(now);
    const std::optional<qint64> left = remainingMs(now);
    if (!left)
        return;  // no valid target: never due
    if (*left <= 0)
        execute();
    else
        showCountdown(*left);
}

void RunEngine::triggerMayHaveChanged()
{
    // Only a condition that begins to hold is taken before the tick, so
    // that the warning starts at once; losing it, the whole seconds, the
    // clock and the blink stay with the tick.
    if (m_ended || !m_countdownOn || !m_state.job.MonitorEnabled || m_triggerTime.isValid() ||
        (m_runState != RunState::Counting && m_runState != RunState::Warning))
        return;
    const QDateTime now = m_clock.now();
    Trigger &t = trigger();
    if (!t.holds(now).value_or(false))
        return;
    if (t.marksDetection())
        setBlinkingLabel(true);
    setTrigger(true);
    actOnRemaining(now);
}

void RunEngine::showCountdown(qint64 remaining)
{
    const JobSettings &j = m_state.job;
    const qint64 lead = warningLeadMs();
    QString status;
    if (remaining >= lead) {
        //: Countdown: %1 time left, %2 when the operation runs.
        status = tr("%1 　予定時刻 %2").arg(FormatRemaining(remaining), FormatMonthDayHourMinute(m_targetTime));
        if (remaining < 60000) {
            setRemainingColor(kColorLastMinute);
        } else {
            if (m_services.sound)
                m_services.sound->stop();
            setRemainingColor(kColorCountdown);
        }
        setRunState(RunState::Counting);
    } else {
        const qint64 seconds = ((remaining + 500) / 1000) % 60;
        status = QString(int(seconds), QChar(0xFF65)) +
                 (j.Force ? tr("強制%1") : tr("まもなく%1")).arg(m_state.OperationDisplayName());
        BringForwardForWarning(m_state.job.Topmost, m_view);
        setRemainingColor(kColorWarning);
        if (j.CountdownSound && m_services.sound)
            m_services.sound->play(true);
        setRunState(RunState::Warning);
    }
    setRemaining(FormatRemaining(remaining));
    setCaptionIfDifferent(status);
}

// ---------------------------------------------------------------------------
// Execution and the power action.

void RunEngine::execute()
{
    m_countdownOn = false;
    setRunState(RunState::Executing);
    setRemaining(QString());
    trigger().stop(false);

    if (m_state.job.CaptureOnExit) {
        QString folder = m_state.CaptureFolder;
        while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
            folder.chop(1);
        const QString file = QStringLiteral("Cap") + m_clock.now().toString(QStringLiteral("HHmmss"));
        m_captureName = folder.isEmpty() ? file : folder + QLatin1Char('/') + file;
        if (m_view)
            m_view->hideWindow();
        m_captureTimer.start();  // let the window disappear from the screen first
        return;
    }
    finishExecution();
}

void RunEngine::captureStep()
{
    m_captureTimer.stop();
    if (m_ended || m_runState != RunState::Executing || m_capture != 0)
        return;
    const quint64 capture = m_capture = ++m_captureCount;
    if (!m_services.capture) {
        captureDone(capture, false);
        return;
    }
    m_captureLimit.start();
    m_services.capture->captureToJpeg(m_captureName, this,
                                      [this, capture](bool written) { captureDone(capture, written); });
}

void RunEngine::captureTimedOut()
{
    if (m_capture != 0)
        captureDone(m_capture, false);
}

bool RunEngine::dropCapture()
{
    m_captureLimit.stop();
    return std::exchange(m_capture, 0) != 0;
}

void RunEngine::captureDone(quint64 capture, bool written)
{
    if (capture == 0 || capture != m_capture)
        return;
    dropCapture();
    if (m_ended || m_runState != RunState::Executing)
        return;
    if (m_view)
        m_view->showWindowNormal();
    // A capture that could not be written (a full disk, no screen to read,
    // no answer from the desktop) is said as plainly as one that was; the
    // power action runs either way.
    if (!m_state.job.NoAlert && m_view) {
        PopupRequest popup;
        //: %1 is the folder, %2 the file name.
        popup.text = (written ? tr("%1 にキャプチャーファイル\r\n%2 を作成しました。")
                              : tr("%1 にキャプチャーファイル\r\n%2 を作成できませんでした。"))
                         .arg(m_state.CaptureFolder, m_captureName + QStringLiteral(".jpg"));
        showPopup(popup, {});
    }
    finishExecution();
}

void RunEngine::finishExecution()
{
    if (m_services.sound)
        m_services.sound->stop();
    // The record holds a list index; one outside the list has always asked
    // for the plain log-off.
    m_power.run(m_state.operation().value_or(OperationKind::Logoff));
}

void RunEngine::onPowerFinished(PowerOutcome outcome)
{
    if (m_ended)
        return;
    if (outcome == PowerOutcome::ProgramEnds) {
        endProgram(0);
        return;
    }
    if (m_multi.active()) {
        // Woken with keep state: the schedule goes on with its next step
        // (a recount would start the schedule a second time; it is not made).
        m_multi.powerFinished(outcome);
        return;
    }
    setRunState(RunState::Idle);
    if (outcome == PowerOutcome::Recount) {
        if (m_view)
            m_view->showWindowNormal();
        // Selecting minutes mode is a click on its option button, which stops
        // the finished run first.
        stopRun();
        JobSettings &j = m_state.job;
        SetTimingMode(j, int(TimingMode::Minutes), m_clock.now());
        j.DelayMinutes = PadLeft(QString::number(m_state.cl.ResumeRecountMinutes), 4);
        j.ResumeEnabled = 0;
        m_state.cl.ResumeTime = QDateTime();
        m_state.cl.AutoStart = true;
        if (m_view)
            m_view->settingsChanged();
        m_loadTimer.start();
    }
    if (m_view)
        m_view->enableMultiAndQuick();
}

}  // namespace zk
