#include "run/power_sequence.h"

#include "core/crlf.h"
#include "core/datetime.h"
#include "core/launcher.h"
#include "core/text.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace zk {

namespace {

constexpr int kTickMs = 1000;
constexpr int kExitRetryMs = 10000;
constexpr qint64 kActiveUserMs = 5000;

QString unquoted(QString path)
{
    if (path.startsWith(QLatin1Char('"')))
        path.remove(0, 1);
    if (path.endsWith(QLatin1Char('"')))
        path.chop(1);
    return path;
}

}  // namespace

PowerSequence::PowerSequence(AppState &state, const Clock &clock, QObject *parent)
    : QObject(parent), m_state(state), m_clock(clock)
{
    m_retryTimer.setInterval(kExitRetryMs);
    m_retryTimer.setSingleShot(true);
    m_resumeFallbackTimer.setSingleShot(true);
    m_keepAwakeTimer.setInterval(kTickMs);
    connect(&m_retryTimer, &QTimer::timeout, this, &PowerSequence::exitRetryTimeout);
    connect(&m_resumeFallbackTimer, &QTimer::timeout, this, &PowerSequence::resumeFallbackTimeout);
    connect(&m_keepAwakeTimer, &QTimer::timeout, this, &PowerSequence::keepAwakeTick);
}

void PowerSequence::setServices(const PlatformServices &services)
{
    disconnect(m_resumedConnection);
    disconnect(m_firedConnection);
    m_services = services;
    if (m_services.power)
        m_resumedConnection = connect(m_services.power, &SessionPower::resumed, this, [this] {
            if (m_wait == Wait::SuspendReturn)
                onSuspendReturned();
        });
    if (m_services.wakeTimer)
        m_firedConnection =
            connect(m_services.wakeTimer, &WakeTimer::fired, this, &PowerSequence::onWakeTimerFired);
}

void PowerSequence::finish(PowerOutcome outcome)
{
    Q_EMIT finished(outcome);
}

void PowerSequence::run(OperationKind operation)
{
    m_aborted = false;
    m_step.reset();
    if (IsSuspendOperation(operation))
        suspendMachine(operation, m_state.cl.ResumeTime);
    else
        exitSession(operation);
}

void PowerSequence::runStep(OperationKind operation, const QDateTime &resumeAt, const QString &application)
{
    m_aborted = false;
    if (!IsSuspendOperation(operation)) {
        m_step.reset();
        exitSession(operation);
        return;
    }
    m_step = StepValues{resumeAt, application};
    suspendMachine(operation, resumeAt);
}

void PowerSequence::waitForResumeTime()
{
    m_step.reset();
    m_aborted = false;
    m_wait = Wait::ResumeOnly;
    armWakeTimer(m_state.cl.ResumeTime);
}

bool PowerSequence::stop()
{
    if (m_ended)
        return false;
    // A resume-only wait, a suspend that has not come back yet or the wait
    // for the wake time: the wake timer goes with the run.
    if (m_wait != Wait::None)
        cancelWakeTimer();
    m_wait = Wait::None;
    // Waiting for the answer to an exit request (a polkit prompt may be up)
    // is part of the exit as much as the retry wait is.
    const bool exitAborted = m_retryTimer.isActive() || m_exitPending;
    ++m_powerCall;  // the answer to a request still under way changes nothing
    m_exitPending = false;
    m_aborted = true;
    m_retryTimer.stop();
    return exitAborted;
}

void PowerSequence::end()
{
    m_ended = true;
    m_keepAwakeTimer.stop();
    m_retryTimer.stop();
    m_resumeFallbackTimer.stop();
    m_wait = Wait::None;
    ++m_powerCall;  // an answer still to come changes nothing
    m_exitPending = false;
}

void PowerSequence::cancelWakeTimer()
{
    m_resumeFallbackTimer.stop();
    if (m_wakeHandle != 0 && m_services.wakeTimer)
        m_services.wakeTimer->cancel(m_wakeHandle);
    m_wakeHandle = 0;
}

void PowerSequence::releaseKeepAwake()
{
    if (m_keepAwakeHeld && m_services.power)
        m_services.power->setKeepAwake(false);
    m_keepAwakeHeld = false;
}

// ---------------------------------------------------------------------------
// Exit.

void PowerSequence::requestExit(std::function<void(bool accepted)> then)
{
    if (!m_services.power) {
        then(false);
        return;
    }
    // Nothing else starts a power call while this one waits for its answer.
    const quint64 call = ++m_powerCall;
    m_exitPending = true;
    m_services.power->endSession(m_exitKind, m_exitForce, this, [this, call, then = std::move(then)](bool accepted) {
        if (call != m_powerCall || m_ended)
            return;  // stopped meanwhile
        m_exitPending = false;
        then(accepted);
    });
}

void PowerSequence::exitSession(OperationKind operation)
{
    releaseKeepAwake();
    m_exitKind = operation == OperationKind::Shutdown ? SessionEnd::PowerOff
                 : operation == OperationKind::Reboot ? SessionEnd::Reboot
                                                      : SessionEnd::Logoff;
    m_exitForce = m_state.job.Force != 0;
    requestExit([this](bool accepted) {
        if (accepted) {
            finish(PowerOutcome::ProgramEnds);
            return;
        }
        if (m_view)
            m_view->setRemainingFontSize(kRemainingFontNotice);
        Q_EMIT remainingText(tr("強制終了します。") + kCrLf + tr("処理中の作業を中止して下さい。"));
        m_retryTimer.start();
    });
}

void PowerSequence::exitRetryTimeout()
{
    m_retryTimer.stop();
    if (m_ended || m_exitPending)
        return;
    if (m_aborted) {
        finish(PowerOutcome::ProgramEnds);
        return;
    }
    // A second refusal is silent; the program ends with the answer.
    requestExit([this](bool) { finish(PowerOutcome::ProgramEnds); });
}

// ---------------------------------------------------------------------------
// Suspend and the wake timer.

void PowerSequence::armWakeTimer(const QDateTime &resume)
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

void PowerSequence::suspendMachine(OperationKind operation, const QDateTime &resume)
{
    releaseKeepAwake();
    const bool hibernate = operation == OperationKind::Hibernate;
    const bool force = m_state.job.Force != 0;
    m_resumeAfterSuspend = resume.isValid();
    if (m_resumeAfterSuspend) {
        if (m_state.cl.HideBeforeSuspend && m_view)
            m_view->hideWindow();
        armWakeTimer(resume);
    }
    m_wait = Wait::SuspendReturn;
    if (!m_services.power) {
        onSuspendReturned();
        return;
    }
    const quint64 call = ++m_powerCall;
    m_services.power->suspend(hibernate, force, false, this, [this, call](bool suspended) {
        // A refused suspend goes on as if the machine had resumed.
        if (call == m_powerCall && !suspended && m_wait == Wait::SuspendReturn)
            onSuspendReturned();
    });
}

void PowerSequence::onSuspendReturned()
{
    if (m_ended || m_wait != Wait::SuspendReturn)
        return;
    if (!m_resumeAfterSuspend) {
        m_wait = Wait::None;
        afterResumeFromSuspend();
        return;
    }
    if (m_state.cl.HideBeforeSuspend) {
        m_wait = Wait::None;
        cancelWakeTimer();
        afterResumeFromSuspend();
        return;
    }
    Q_EMIT remainingText(tr("復帰待中"));
    m_wait = Wait::WakeTimer;
    Q_EMIT waitingForWakeStarted();
    if (m_wakeFired)
        onResumeWaitDone();
}

void PowerSequence::resumeFallbackTimeout()
{
    m_resumeFallbackTimer.stop();
    if (m_wakeHandle == 0)
        onWakeTimerFired(0);
}

void PowerSequence::onWakeTimerFired(int handle)
{
    if (m_arming) {
        m_firedWhileArming = handle;
        return;
    }
    if (m_ended || handle != m_wakeHandle || (handle == 0 && m_wait == Wait::None))
        return;
    m_wakeFired = true;
    if (m_wait == Wait::WakeTimer) {
        onResumeWaitDone();
    } else if (m_wait == Wait::ResumeOnly) {
        m_wait = Wait::None;
        cancelWakeTimer();
        const JobSettings &j = m_state.job;
        afterResume(j.LaunchApp ? j.AppCommand : QString(), m_state.cl.ResumeTime.isValid() && j.ResumeKeepState);
    }
}

void PowerSequence::onResumeWaitDone()
{
    m_wait = Wait::None;
    if (m_view)
        m_view->hideWindow();
    Q_EMIT remainingText(QString());
    afterResumeFromSuspend();
}

// ---------------------------------------------------------------------------
// After the wake-up.

void PowerSequence::afterResumeFromSuspend()
{
    const JobSettings &j = m_state.job;
    if (m_step) {
        const StepValues step = *std::exchange(m_step, std::nullopt);
        afterResume(step.application, step.resumeAt.isValid() && j.ResumeKeepState);
        return;
    }
    const QString app = (j.ResumeEnabled && j.LaunchApp) ? j.AppCommand : QString();
    const bool keep = m_state.cl.ResumeTime.isValid() && j.ResumeKeepState;
    afterResume(app, keep);
}

void PowerSequence::afterResume(const QString &applicationCommand, bool keepState)
{
    cancelWakeTimer();
    if (m_services.power)
        m_services.power->setMonitorPower(m_state.job.ResumeMonitorOn != 0);

    if (!applicationCommand.isEmpty()) {
        QString app = applicationCommand;
        app.replace(kCrLf, QStringLiteral(" "));
        QString program = unquoted(CommandPart(app));
        QString parameters = ParameterPart(app);
        const bool launched = m_services.launcher && m_services.launcher->launch(program, parameters);
        if (!launched && m_view) {
            const LaunchErrorNotice notice = LaunchErrorMessage(program, parameters);
            PopupRequest popup;
            popup.title = notice.title;
            popup.text = notice.text;
            popup.centred = true;
            m_view->showMessagePopup(popup, {});
        }
    }

    if (m_services.power) {
        m_services.power->setKeepAwake(true);
        m_keepAwakeHeld = true;
    }

    if (!keepState) {
        finish(PowerOutcome::ProgramEnds);
        return;
    }
    m_keepAwakeTimer.start();
    finish(m_state.cl.ResumeRecountMinutes > 0 ? PowerOutcome::Recount : PowerOutcome::RunGoesOn);
}

void PowerSequence::keepAwakeTick()
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
            finish(PowerOutcome::ProgramEnds);
    }
}

}  // namespace zk
