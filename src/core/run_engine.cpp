#include "core/run_engine.h"

#include "shell/tray_text.h"

#include "core/datetime.h"
#include "core/job_edit.h"
#include "core/text.h"
#include "monitors/power_texts.h"
#include "shell/tray_text.h"

#include <QDir>
#include <QPointer>
#include <cmath>
#include <limits>

namespace zk {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kWaitingForWake = QStringLiteral("復帰待中");
const QString kWaitingResumeOnly = QStringLiteral("復帰待ち中");
constexpr int kTickMs = 1000;
constexpr int kExitRetryMs = 10000;
constexpr int kCaptureDelayMs = 300;
constexpr qint64 kTrayThresholdMs = 15000;
constexpr qint64 kActiveUserMs = 5000;

bool isSuspendKind(const QString &op)
{
    return op == kOpSleep || op == kOpStandby || op == kOpHibernate;
}

QString unquoted(QString path)
{
    if (path.startsWith(QLatin1Char('"')))
        path.remove(0, 1);
    if (path.endsWith(QLatin1Char('"')))
        path.chop(1);
    return path;
}

}  // namespace

RunEngine::RunEngine(AppState &state, const Clock &clock, const PlatformServices &services, RunView *view,
                     QObject *parent)
    : QObject(parent), m_state(state), m_clock(clock), m_view(view)
{
    m_countdownTimer.setInterval(kTickMs);
    // Ticks must not come early, or the action would slip by a whole second.
    m_countdownTimer.setTimerType(Qt::PreciseTimer);
    m_blinkTimer.setInterval(kTickMs);
    m_phraseTimer.setInterval(kTickMs);
    m_clockTimer.setInterval(kTickMs);
    m_keepAwakeTimer.setInterval(kTickMs);
    m_loadTimer.setInterval(0);
    m_loadTimer.setSingleShot(true);
    m_retryTimer.setInterval(kExitRetryMs);
    m_retryTimer.setSingleShot(true);
    m_captureTimer.setInterval(kCaptureDelayMs);
    m_captureTimer.setSingleShot(true);
    m_resumeFallbackTimer.setSingleShot(true);

    connect(&m_countdownTimer, &QTimer::timeout, this, &RunEngine::countdownTick);
    connect(&m_blinkTimer, &QTimer::timeout, this, &RunEngine::blinkTick);
    connect(&m_phraseTimer, &QTimer::timeout, this, &RunEngine::phraseRecheckTick);
    connect(&m_clockTimer, &QTimer::timeout, this, &RunEngine::clockTick);
    connect(&m_keepAwakeTimer, &QTimer::timeout, this, &RunEngine::keepAwakeTick);
    connect(&m_loadTimer, &QTimer::timeout, this, &RunEngine::loadTimerTick);
    connect(&m_retryTimer, &QTimer::timeout, this, &RunEngine::exitRetryTimeout);
    connect(&m_captureTimer, &QTimer::timeout, this, &RunEngine::captureStep);
    connect(&m_resumeFallbackTimer, &QTimer::timeout, this, &RunEngine::resumeFallbackTimeout);

    m_baseCaption = CaptionFor(m_state.OperationText());
    setServices(services);
    m_clockTimer.start();
}

RunEngine::~RunEngine() = default;

void RunEngine::setView(RunView *view) { m_view = view; }

void RunEngine::setServices(const PlatformServices &services)
{
    disconnect(m_resumedConnection);
    disconnect(m_firedConnection);
    m_services = services;
    if (m_services.power)
        m_resumedConnection = connect(m_services.power, &SessionPower::resumed, this, [this] {
            if (m_wait == WaitKind::SuspendReturn)
                onSuspendReturned();
        });
    if (m_services.wakeTimer)
        m_firedConnection = connect(m_services.wakeTimer, &WakeTimer::fired, this, &RunEngine::onWakeTimerFired);
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

bool RunEngine::cpuConditionMet() const
{
    const JobSettings &j = m_state.job;
    if (!j.MonitorEnabled || j.MonitorKind != 1 || !m_services.cpu || !m_startTime.isValid())
        return false;
    const QString average = m_services.cpu->averageText();
    if (average.trimmed().isEmpty())
        return false;  // nothing measured yet
    // A span longer than any date can hold (about 30,000 years) ends never,
    // rather than at a date that is no date.
    constexpr qint64 kMaxSpanSeconds = 1'000'000'000'000;
    const qint64 span = LeadingInt(j.CpuAverageSeconds);
    if (span > kMaxSpanSeconds)
        return false;
    const QDateTime spanEnd = m_startTime.addSecs(std::max(span, -kMaxSpanSeconds));
    return m_clock.now() > spanEnd && LeadingNumber(average) < LeadingNumber(j.CpuLowerLimit);
}

QString RunEngine::trayTooltip() const
{
    TrayTooltipInput in;
    in.resumeChecked = m_state.job.ResumeEnabled != 0;
    in.resumeTime = m_state.cl.ResumeTime;
    in.targetTime = m_targetTime;
    in.runActive = m_locked && ((in.resumeChecked && in.resumeTime.isValid()) || m_targetTime.isValid());
    in.operationText = m_state.OperationText();
    in.windowTitle = m_baseCaption;
    in.today = m_clock.now().date();
    return TrayTooltipText(in);
}

RunPlan RunEngine::plan() const
{
    return PlanStart(m_state, m_clock.now(), m_env);
}

bool RunEngine::closeRequested()
{
    if (m_locked && m_state.job.TrayIcon) {
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
    m_runState = s;
    Q_EMIT runStateChanged(s);
}

void RunEngine::setLocked(bool locked)
{
    m_locked = locked;
    if (m_view)
        m_view->setRunLocked(locked);
}

void RunEngine::setRemaining(const QString &text)
{
    m_remainingText = text;
    if (m_view)
        m_view->setRemainingText(text);
}

void RunEngine::setCaptionIfDifferent(const QString &text)
{
    if (m_caption == text)
        return;
    m_caption = text;
    if (m_view)
        m_view->setCaption(text);
}

void RunEngine::setBlinkingLabel(bool on)
{
    m_blinkSet = on;
    m_phraseLabelVisible = on;
    if (m_view)
        m_view->setPhraseLabelVisible(on);
    if (on) {
        if (!m_blinkTimer.isActive())
            m_blinkTimer.start();
    } else {
        m_blinkTimer.stop();
    }
}

std::optional<bool> RunEngine::phraseVisibleNow(PhraseMatch *match) const
{
    const JobSettings &j = m_state.job;
    QString spec = j.MonitorPhrase;
    spec.replace(kCrLf, QStringLiteral(" "));
    spec = CollapseSpaces(spec);
    if (!j.MonitorEnabled || j.MonitorKind != 0 || spec.isEmpty())
        return false;
    if (!m_services.screenText || !m_services.screenText->available())
        return std::nullopt;
    const PhraseMatch m = m_services.screenText->phraseVisible(spec, j.IeMonitor != 0);
    if (match)
        *match = m;
    return m.found;
}

void RunEngine::showInTrayIfEnabled()
{
    if (m_state.job.TrayIcon && m_view)
        m_view->showInTray(trayTooltip());
}

void RunEngine::cancelWakeTimer()
{
    m_resumeFallbackTimer.stop();
    if (m_wakeHandle != 0 && m_services.wakeTimer)
        m_services.wakeTimer->cancel(m_wakeHandle);
    m_wakeHandle = 0;
}

void RunEngine::releaseKeepAwake()
{
    if (m_keepAwakeHeld && m_services.power)
        m_services.power->setKeepAwake(false);
    m_keepAwakeHeld = false;
}

void RunEngine::endProgram(int code)
{
    if (m_ended)
        return;
    m_ended = true;
    m_countdownTimer.stop();
    m_blinkTimer.stop();
    m_phraseTimer.stop();
    m_keepAwakeTimer.stop();
    m_loadTimer.stop();
    m_retryTimer.stop();
    m_captureTimer.stop();
    m_resumeFallbackTimer.stop();
    m_wait = WaitKind::None;
    ++m_powerCall;  // an answer still to come changes nothing
    m_exitPending = false;
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

void RunEngine::startRun()
{
    if (m_ended || m_runState != RunState::Idle)
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
            m_view->showMessagePopup(popup, [self] {
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
    // The resume time of this run only; a run without resume never wakes the machine.
    m_state.cl.ResumeTime = p.resumeTime;
    if (m_view)
        m_view->setResumeLabel(p.resumeTime.isValid()
                                   ? QStringLiteral("予定 ") + p.resumeTime.toString(QStringLiteral("HH:mm:ss"))
                                   : QString());

    // Lock the settings.
    if (m_historyHook)
        m_historyHook(m_state.job.AppCommand);
    setLocked(true);
    setRunState(m_state.job.ResumeOnly ? RunState::WaitingForResume : RunState::Counting);

    if (!m_state.job.ResumeOnly) {
        m_triggerTime = QDateTime();
        const JobSettings &j = m_state.job;
        if (j.MonitorEnabled && j.MonitorKind == 0) {
            PhraseMatch match;
            const std::optional<bool> visible = phraseVisibleNow(&match);
            QString message;
            if (visible && j.PhraseEvent == 0 && *visible)
                message = QStringLiteral("該当文言は既に表示されています！") + kCrLf + kCrLf +
                          QStringLiteral("【ウィンドウタイトル】 ") + kCrLf + kCrLf + match.windowTitle + kCrLf + kCrLf +
                          kCrLf + QStringLiteral("【表示中の文言】") + kCrLf + kCrLf + match.matchedText + kCrLf + kCrLf +
                          QStringLiteral("続行しますか？");
            else if (visible && j.PhraseEvent == 1 && !*visible)
                message = QStringLiteral("該当文言は既に表示されていません！") + kCrLf + kCrLf + kCrLf + kCrLf +
                          QStringLiteral("続行しますか？");
            if (!message.isEmpty()) {
                setBlinkingLabel(true);
                if (m_view) {
                    const QPointer<RunEngine> self(this);
                    m_view->askOkCancel(QStringLiteral("文言状態検知"), message, [self, this, generation](bool ok) {
                        if (!self || generation != m_generation || m_ended)
                            return;
                        if (!ok) {
                            stopRun();
                            return;
                        }
                        m_triggerTime = m_clock.now().addMSecs(warningLeadMs());
                        continueStart(generation);
                    });
                    return;
                }
                stopRun();  // nobody to ask: the start is abandoned
                return;
            }
        }
    }
    continueStart(generation);
}

void RunEngine::continueStart(quint64 generation)
{
    if (generation != m_generation || m_ended)
        return;
    const JobSettings &j = m_state.job;
    const QDateTime now = m_clock.now();

    if (!j.ResumeOnly) {
        m_countdownTimer.start();
        m_phraseTimer.start();
        if (m_services.cpu)
            m_services.cpu->begin(j.CpuAverageSeconds, j.CpuProcess, j.MonitorEnabled && j.MonitorKind == 1);
        if (!m_clockTimer.isActive())
            m_clockTimer.start();
        if (j.MonitorEnabled && j.MonitorKind == 2)
            refreshLineStatus();  // the first tick must not see an old power line
        m_abortRequested = false;
        if (m_view) {
            m_view->setRemainingFontSize(kRemainingFontNormal);
            m_view->setRemainingColor(kColorCountdown);
        }
        if (!m_triggerTime.isValid() && now.msecsTo(m_targetTime) > kTrayThresholdMs) {
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
            m_view->showMessagePopup(popup, {});
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

    if (j.ResumeOnly) {
        // Wait for the wake time without suspending the machine.
        setRemaining(kWaitingResumeOnly);
        m_state.job.TrayIcon = 1;
        if (m_view)
            m_view->settingsChanged();
        showInTrayIfEnabled();
        if (j.MinimizeAtStart && m_view)
            m_view->minimizeWindow();
        m_wait = WaitKind::ResumeOnly;
        armWakeTimer(m_state.cl.ResumeTime);
    }
}

void RunEngine::stopRun()
{
    if (m_ended)
        return;
    ++m_generation;  // a pending question no longer starts anything
    if (m_remainingText == kWaitingForWake) {
        cancelWakeTimer();
        endProgram(0);
        return;
    }
    // A resume-only wait, or a suspend that has not come back yet: the wake
    // timer goes with the run.
    if (m_wait == WaitKind::ResumeOnly || m_wait == WaitKind::SuspendReturn || m_wait == WaitKind::WakeTimer)
        cancelWakeTimer();
    m_wait = WaitKind::None;
    // Waiting for the answer to an exit request (a polkit prompt may be up)
    // is part of the exit as much as the retry wait is.
    const bool exitWaitAborted = m_retryTimer.isActive() || m_exitPending;
    ++m_powerCall;  // the answer to a request still under way changes nothing
    m_exitPending = false;
    const bool captureAborted = m_captureTimer.isActive();
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
    setBlinkingLabel(false);
    m_countdownTimer.stop();
    m_phraseTimer.stop();
    if (m_services.cpu)
        m_services.cpu->stop(true);
    if (m_services.sound)
        m_services.sound->stop();
    m_state.cl.AutoStart = false;
    m_triggerTime = QDateTime();
    setRunState(RunState::Idle);

    if (exitWaitAborted) {
        // The refused exit is given up; the program ends as after any exit request.
        m_retryTimer.stop();
        endProgram(0);
    }
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
    } else {
        startRun();
    }
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
    bool trigger = false;
    if (j.MonitorEnabled) {
        if (j.MonitorKind == 0) {
            const std::optional<bool> visible = phraseVisibleNow();
            if (visible)
                trigger = (j.PhraseEvent == 0 && *visible) || (j.PhraseEvent == 1 && !*visible);
            if (trigger)
                setBlinkingLabel(true);
        } else if (j.MonitorKind == 1) {
            setBlinkingLabel(false);
            trigger = cpuConditionMet();
        } else if (j.MonitorKind == 2) {
            if (m_lineStatus == kLineBattery && m_services.idle) {
                const qint64 idleMs = m_services.idle->idleMilliseconds();
                if (idleMs >= 0)
                    trigger = LeadingNumber(j.IdleSeconds) <= double(idleMs) / 1000.0;
            }
        }
    }

    // Whole-second gate.
    const int interval = m_countdownTimer.interval() > 0 ? m_countdownTimer.interval() : kTickMs;
    m_tickAccumulator += interval;
    if (m_tickAccumulator >= 100000)
        m_tickAccumulator = 0;
    if (m_tickAccumulator % 1000 != 0)
        return;

    // Trigger time.
    const qint64 lead = warningLeadMs();
    if (trigger) {
        if (!m_triggerTime.isValid())
            m_triggerTime = now.addMSecs(lead);
    } else {
        m_triggerTime = QDateTime();
        setBlinkingLabel(false);
    }
    const QDateTime target = m_triggerTime.isValid() ? m_triggerTime : m_targetTime;
    const qint64 remaining = now.msecsTo(target);

    if (remaining <= 0) {
        execute();
        return;
    }

    QString status;
    if (remaining >= lead) {
        status = FormatRemaining(remaining) + QStringLiteral(" 　") + QStringLiteral("予定時刻 ") +
                 FormatMonthDayHourMinute(m_targetTime);
        if (remaining < 60000) {
            if (m_view)
                m_view->setRemainingColor(kColorLastMinute);
        } else {
            if (m_services.sound)
                m_services.sound->stop();
            if (m_view)
                m_view->setRemainingColor(kColorCountdown);
        }
        setRunState(RunState::Counting);
    } else {
        const qint64 seconds = ((remaining + 500) / 1000) % 60;
        status = QString(int(seconds), QChar(0xFF65)) + (j.Force ? QStringLiteral("強制") : QStringLiteral("まもなく")) +
                 m_state.OperationText();
        const bool topmostChanged = m_state.job.Topmost != 1;
        m_state.job.Topmost = 1;
        if (m_view) {
            m_view->removeTrayIcon();
            m_view->applyTopmost(true);
            m_view->showWindowNormal();
            if (topmostChanged)
                m_view->settingsChanged();
            m_view->setRemainingColor(kColorWarning);
        }
        if (j.CountdownSound && m_services.sound)
            m_services.sound->play(true);
        setRunState(RunState::Warning);
    }
    setRemaining(FormatRemaining(remaining));
    setCaptionIfDifferent(status);
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
    const std::optional<bool> visible = phraseVisibleNow();
    if (visible && !*visible)
        setBlinkingLabel(false);
}

void RunEngine::clockTick()
{
    const QDateTime now = m_clock.now();
    if (m_view)
        m_view->setClockText(now.toString(QStringLiteral("HH:mm:ss")));
    if (m_state.job.MonitorKind == 2)
        refreshLineStatus();
}

void RunEngine::refreshLineStatus()
{
    QString line;
    PowerStatusRaw raw;
    if (m_services.powerStatus && m_services.powerStatus->read(raw) == kPowerStatusOk)
        line = PowerLineText(raw.acLine);
    if (line != m_lineStatus) {
        m_lineStatus = line;
        if (m_view)
            m_view->setLineStatusText(line);
    }
}

// ---------------------------------------------------------------------------
// Execution and the power action.

void RunEngine::execute()
{
    m_countdownTimer.stop();
    setRunState(RunState::Executing);
    setRemaining(QString());
    if (m_services.cpu)
        m_services.cpu->stop(false);

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
    if (m_ended || m_runState != RunState::Executing)
        return;
    QString name = m_captureName;
    const bool written = m_services.capture && m_services.capture->captureToJpeg(name);
    if (m_view)
        m_view->showWindowNormal();
    if (written && !m_state.job.NoAlert && m_view) {
        PopupRequest popup;
        popup.text = m_state.CaptureFolder + QStringLiteral(" にキャプチャーファイル") + kCrLf + name +
                     QStringLiteral(" を作成しました。");
        m_view->showMessagePopup(popup, {});
    }
    finishExecution();
}

void RunEngine::finishExecution()
{
    if (m_services.sound)
        m_services.sound->stop();
    const QString op = m_state.OperationText();
    if (isSuspendKind(op))
        suspendMachine(op, m_state.cl.ResumeTime);
    else
        exitSession(op);
}

quint32 RunEngine::exitFlagsFor(const QString &operation) const
{
    quint32 flags = ExitFlags::Logoff;
    if (operation == kOpShutdown)
        flags = m_state.platform.isNt() ? ExitFlags::PowerOff : ExitFlags::Shutdown;
    else if (operation == kOpReboot)
        flags = ExitFlags::Reboot;
    if (m_state.job.Force != 0)
        flags += ExitFlags::Force;
    return flags;
}

void RunEngine::requestExit(std::function<void(bool accepted)> then)
{
    if (!m_services.power) {
        then(false);
        return;
    }
    // Nothing else starts a power call while this one waits for its answer.
    const quint64 call = ++m_powerCall;
    m_exitPending = true;
    m_services.power->exitSession(m_exitFlags, this, [this, call, then = std::move(then)](bool accepted) {
        if (call != m_powerCall || m_ended)
            return;  // stopped meanwhile
        m_exitPending = false;
        then(accepted);
    });
}

void RunEngine::exitSession(const QString &operation)
{
    releaseKeepAwake();
    m_exitFlags = exitFlagsFor(operation);
    requestExit([this](bool accepted) {
        if (accepted) {
            endProgram(0);
            return;
        }
        if (m_view)
            m_view->setRemainingFontSize(kRemainingFontNotice);
        setRemaining(QStringLiteral("強制終了します。") + kCrLf + QStringLiteral("処理中の作業を中止して下さい。"));
        m_retryTimer.start();
    });
}

void RunEngine::exitRetryTimeout()
{
    m_retryTimer.stop();
    if (m_ended || m_exitPending)
        return;
    if (m_abortRequested) {
        endProgram(0);
        return;
    }
    // A second refusal is silent; the program ends with the answer.
    requestExit([this](bool) { endProgram(0); });
}

void RunEngine::armWakeTimer(const QDateTime &resume)
{
    m_wakeFired = false;
    const double secs = double(m_clock.now().msecsTo(resume)) / 1000.0;
    const qint64 seconds = std::clamp<qint64>(RoundHalfEven(secs), std::numeric_limits<qint32>::min(),
                                              std::numeric_limits<qint32>::max());
    // A timer due at once may report before arm() has returned its handle.
    m_arming = true;
    m_firedWhileArming = 0;
    m_wakeHandle = m_services.wakeTimer ? m_services.wakeTimer->arm(seconds) : 0;
    m_arming = false;
    if (m_wakeHandle != 0 && m_firedWhileArming == m_wakeHandle)
        QTimer::singleShot(0, this, [this, handle = m_wakeHandle] { onWakeTimerFired(handle); });
    if (m_wakeHandle == 0) {
        // No wake timer: the machine is not woken, but the wait still ends at
        // the resume time instead of lasting for ever.
        m_resumeFallbackTimer.start(int(std::clamp<qint64>(seconds, 0, std::numeric_limits<int>::max() / 1000) * 1000));
    }
}

void RunEngine::suspendMachine(const QString &operation, const QDateTime &resume)
{
    releaseKeepAwake();
    const bool hibernate = operation == kOpHibernate;
    const bool force = m_state.job.Force != 0;
    m_resumeAfterSuspend = resume.isValid();
    if (m_resumeAfterSuspend) {
        if (m_state.cl.HideBeforeSuspend && m_view)
            m_view->hideWindow();
        armWakeTimer(resume);
    }
    m_wait = WaitKind::SuspendReturn;
    if (!m_services.power) {
        onSuspendReturned();
        return;
    }
    const quint64 call = ++m_powerCall;
    m_services.power->suspend(hibernate, force, false, this, [this, call](bool suspended) {
        // A refused suspend goes on as if the machine had resumed.
        if (call == m_powerCall && !suspended && m_wait == WaitKind::SuspendReturn)
            onSuspendReturned();
    });
}

void RunEngine::onSuspendReturned()
{
    if (m_ended || m_wait != WaitKind::SuspendReturn)
        return;
    if (!m_resumeAfterSuspend) {
        m_wait = WaitKind::None;
        afterResumeFromSuspend();
        return;
    }
    if (m_state.cl.HideBeforeSuspend) {
        m_wait = WaitKind::None;
        cancelWakeTimer();
        afterResumeFromSuspend();
        return;
    }
    setRemaining(kWaitingForWake);
    setRunState(RunState::WaitingForResume);
    m_wait = WaitKind::WakeTimer;
    if (m_wakeFired)
        onResumeWaitDone();
}

void RunEngine::resumeFallbackTimeout()
{
    m_resumeFallbackTimer.stop();
    if (m_wakeHandle == 0)
        onWakeTimerFired(0);
}

void RunEngine::onWakeTimerFired(int handle)
{
    if (m_arming) {
        m_firedWhileArming = handle;
        return;
    }
    if (m_ended || handle != m_wakeHandle || (handle == 0 && m_wait == WaitKind::None))
        return;
    m_wakeFired = true;
    if (m_wait == WaitKind::WakeTimer) {
        onResumeWaitDone();
    } else if (m_wait == WaitKind::ResumeOnly) {
        m_wait = WaitKind::None;
        cancelWakeTimer();
        const JobSettings &j = m_state.job;
        afterResume(j.LaunchApp ? j.AppCommand : QString(), m_state.cl.ResumeTime.isValid() && j.ResumeKeepState);
    }
}

void RunEngine::onResumeWaitDone()
{
    m_wait = WaitKind::None;
    if (m_view)
        m_view->hideWindow();
    setRemaining(QString());
    afterResumeFromSuspend();
}

void RunEngine::afterResumeFromSuspend()
{
    const JobSettings &j = m_state.job;
    const QString app = (j.ResumeEnabled && j.LaunchApp) ? j.AppCommand : QString();
    const bool keep = m_state.cl.ResumeTime.isValid() && j.ResumeKeepState;
    afterResume(app, keep);
}

void RunEngine::afterResume(const QString &applicationCommand, bool keepState)
{
    cancelWakeTimer();
    JobSettings &j = m_state.job;
    if (m_services.power)
        m_services.power->setMonitorPower(j.ResumeMonitorOn != 0);

    if (!applicationCommand.isEmpty()) {
        QString app = applicationCommand;
        app.replace(kCrLf, QStringLiteral(" "));
        QString program = unquoted(CommandPart(app));
        QString parameters = ParameterPart(app);
        const bool launched = m_services.launcher && m_services.launcher->launch(program, parameters);
        if (!launched && m_view) {
            PopupRequest popup;
            popup.title = CaptionFor(kOpShutdown);
            popup.text = QStringLiteral("アプリ起動エラー") + kCrLf + QStringLiteral("ap       = ") + program + kCrLf +
                         QStringLiteral("パラメータ= ") + parameters;
            popup.centred = true;
            m_view->showMessagePopup(popup, {});
        }
    }

    if (m_services.power) {
        m_services.power->setKeepAwake(true);
        m_keepAwakeHeld = true;
    }

    if (!keepState) {
        endProgram(0);
        return;
    }
    m_keepAwakeTimer.start();
    setRunState(RunState::Idle);
    const int recount = m_state.cl.ResumeRecountMinutes;
    if (recount > 0) {
        if (m_view)
            m_view->showWindowNormal();
        // Selecting minutes mode is a click on its option button, which stops
        // the finished run first.
        stopRun();
        SetTimingMode(j, 0, m_clock.now());
        j.DelayMinutes = PadLeft(QString::number(recount), 4);
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

void RunEngine::keepAwakeTick()
{
    if (m_ended)
        return;
    // Keep the machine awake; the lock, once taken, holds until released.
    if (m_services.power && !m_keepAwakeHeld) {
        m_services.power->setKeepAwake(true);
        m_keepAwakeHeld = true;
    }
    const qint64 idleMs = m_services.idle ? m_services.idle->idleMilliseconds() : -1;
    // Unknown idle time counts as a user at the machine.
    if (idleMs < kActiveUserMs) {
        m_keepAwakeTimer.stop();
        if (m_state.cl.ResumeRecountMinutes == 0)
            endProgram(0);
    }
}

}  // namespace zk
