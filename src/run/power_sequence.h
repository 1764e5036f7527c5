// The power action of a run and what follows it: the exit request with its
// one retry, the suspend with the wait for the wake time, the resume-only
// wait, the steps after a wake-up and the keep-awake phase. The calls to the
// system are asynchronous; an answer that comes after a stop changes nothing,
// and no second call starts while one waits for its answer. QtCore only.
#pragma once

#include "core/clock.h"
#include "core/job.h"
#include "core/run_view.h"
#include "core/ports/services.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

namespace zk {

// How a power sequence ended.
enum class PowerOutcome {
    ProgramEnds,  // the exit was requested, or the resume steps end the program
    RunGoesOn,    // woken with keep state: the program stays, keeping the machine awake
    Recount,      // woken with keep state and a recount: a new run of that many minutes follows
};

class PowerSequence : public QObject {
    Q_OBJECT
public:
    PowerSequence(AppState &state, const Clock &clock, QObject *parent = nullptr);

    void setServices(const PlatformServices &services);
    void setView(RunView *view) { m_view = view; }

    // Executes the operation: a suspend kind suspends, every other one ends
    // the session.
    void run(OperationKind operation);
    // A step of the multi schedule: a suspend kind wakes at resumeAt (invalid
    // = no wake timer) and starts `application` after the wake-up, whatever
    // the run's own resume settings say; every other operation ends the session.
    void runStep(OperationKind operation, const QDateTime &resumeAt, const QString &application);
    // A resume-only run: waits for the resume time without suspending.
    void waitForResumeTime();
    // The next step's countdown began: the keep-awake phase of the last
    // wake-up stops ending the program at the user's first input.
    void stopKeepAwakeTimer() { m_keepAwakeTimer.stop(); }

    // The stop button: whatever is pending is given up (the wake timer is
    // cancelled, a late answer changes nothing). True when an exit was under
    // way (its answer or its retry wait): the program then ends.
    bool stop();
    // The program ends: nothing more happens, the keep-awake phase included.
    void end();

    // After the suspend, the window shows "復帰待中" until the wake timer fires.
    bool waitingForWake() const { return m_wait == Wait::WakeTimer; }
    bool exitRetryPending() const { return m_retryTimer.isActive(); }
    bool exitCallPending() const { return m_exitPending; }
    bool resumeFallbackPending() const { return m_resumeFallbackTimer.isActive(); }
    bool keepAwakeActive() const { return m_keepAwakeTimer.isActive(); }
    int wakeHandle() const { return m_wakeHandle; }

public Q_SLOTS:
    void exitRetryTimeout();       // the 10-second wait after a refused exit
    void resumeFallbackTimeout();  // the resume time came without a wake timer
    void keepAwakeTick();          // Timer_Wake

Q_SIGNALS:
    void finished(zk::PowerOutcome outcome);
    // Text for the time label ("復帰待中", the retry notice, "").
    void remainingText(const QString &text);
    // The machine is back and the wake time is awaited.
    void waitingForWakeStarted();

private:
    enum class Wait { None, SuspendReturn, WakeTimer, ResumeOnly };

    void exitSession(OperationKind operation);
    void requestExit(std::function<void(bool accepted)> then);
    void suspendMachine(OperationKind operation, const QDateTime &resume);
    void armWakeTimer(const QDateTime &resume);
    void onSuspendReturned();
    void onWakeTimerFired(int handle);
    void onResumeWaitDone();
    void afterResumeFromSuspend();
    void afterResume(const QString &applicationCommand, bool keepState);
    void cancelWakeTimer();
    void releaseKeepAwake();
    void finish(PowerOutcome outcome);

    AppState &m_state;
    const Clock &m_clock;
    PlatformServices m_services;
    RunView *m_view = nullptr;

    Wait m_wait = Wait::None;
    SessionEnd m_exitKind = SessionEnd::Logoff;
    bool m_exitForce = false;
    quint64 m_powerCall = 0;  // the power call whose answer is awaited
    bool m_exitPending = false;
    bool m_aborted = false;
    bool m_ended = false;
    int m_wakeHandle = 0;
    bool m_wakeFired = false;
    bool m_arming = false;
    int m_firedWhileArming = 0;
    bool m_keepAwakeHeld = false;
    bool m_resumeAfterSuspend = false;  // a resume time was given to the suspend
    // The resume time and application of a multi-schedule step under way.
    struct StepValues {
        QDateTime resumeAt;
        QString application;
    };
    std::optional<StepValues> m_step;

    QTimer m_retryTimer;           // ExitSession's retry wait
    QTimer m_resumeFallbackTimer;  // stands in for a wake timer that could not be armed
    QTimer m_keepAwakeTimer;       // Timer_Wake
    QMetaObject::Connection m_resumedConnection;
    QMetaObject::Connection m_firedConnection;
};

}  // namespace zk
