// The run of a single job: start and its refusals, the one-second countdown,
// the warning phase, the power action, the wait for the resume time and what
// follows a wake-up. QtCore only; windows reach it through RunView.
#pragma once

#include "core/clock.h"
#include "core/job.h"
#include "core/run_plan.h"
#include "core/run_view.h"
#include "platform/services.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

namespace zk {

enum class RunState {
    Idle,
    Counting,          // countdown running, remaining >= lead
    Warning,           // red, topmost, dotted caption
    Executing,         // countdown stopped, power action under way (also its answer and the exit retry wait)
    WaitingForResume,  // "復帰待中" / "復帰待ち中"
};

class RunEngine : public QObject {
    Q_OBJECT
public:
    // The engine works on the application's one AppState; view and services
    // may be changed later but must outlive the engine's use of them.
    RunEngine(AppState &state, const Clock &clock, const PlatformServices &services, RunView *view,
              QObject *parent = nullptr);
    ~RunEngine() override;

    void setView(RunView *view);
    void setServices(const PlatformServices &services);
    void setEnvironment(const StartEnvironment &env);
    // Folder made current at every start (relative application paths are
    // taken from there); empty = leave the current directory alone.
    void setProgramDir(const QString &dir);

    // Hooks into the rest of the program.
    // Load timer: read the multi rows (and what else loading finishes).
    void setLoadHook(std::function<void()> hook);
    // Load timer with AutoStart and MultiEnabled: start the multi schedule.
    void setMultiStartHook(std::function<void()> hook);
    // Start: record the application command in the history.
    void setHistoryHook(std::function<void(const QString &command)> hook);

    // Run values.
    AppState &state() { return m_state; }
    const AppState &state() const { return m_state; }
    RunState runState() const { return m_runState; }
    QDateTime startTime() const { return m_startTime; }
    QDateTime targetTime() const { return m_targetTime; }
    QDateTime triggerTime() const { return m_triggerTime; }   // invalid = no trigger
    QDateTime resumeTime() const { return m_state.cl.ResumeTime; }
    bool abortRequested() const { return m_abortRequested; }
    int tickAccumulator() const { return m_tickAccumulator; }
    bool blinking() const { return m_blinkSet; }
    bool phraseLabelVisible() const { return m_phraseLabelVisible; }
    QString remainingText() const { return m_remainingText; }
    QString caption() const { return m_caption; }
    QString baseCaption() const { return m_baseCaption; }
    // The window's normal caption, restored by the stop routine.
    void setBaseCaption(const QString &caption);
    bool runActive() const { return m_runState != RunState::Idle; }
    bool keepAwakeActive() const { return m_keepAwakeTimer.isActive(); }
    bool countdownActive() const { return m_countdownTimer.isActive(); }
    bool exitRetryPending() const { return m_retryTimer.isActive(); }
    // An exit request waits for the system's answer.
    bool exitCallPending() const { return m_exitPending; }
    int wakeHandle() const { return m_wakeHandle; }
    bool resumeFallbackPending() const { return m_resumeFallbackTimer.isActive(); }
    bool settingsLocked() const { return m_locked; }
    bool ended() const { return m_ended; }

    // WarningLeadTime in milliseconds.
    qint64 warningLeadMs() const;
    // CpuConditionMet of the countdown.
    bool cpuConditionMet() const;

    // Tooltip of the tray icon for the current state.
    QString trayTooltip() const;

    // The plan a start would make now.
    RunPlan plan() const;

    // Window close box: true = go on closing (the run was stopped and the tray
    // icon removed), false = the close is cancelled and the window went to the tray.
    bool closeRequested();

public Q_SLOTS:
    void startRun();
    void stopRun();
    // Starts the one-shot load timer (after the window has loaded).
    void startLoadTimer();

    // Timer handlers; tests call them directly.
    void countdownTick();      // Timer1
    void blinkTick();          // Timer2
    void phraseRecheckTick();  // Timer3
    void clockTick();          // Timer6
    void keepAwakeTick();      // Timer_Wake
    void loadTimerTick();      // Timer_Load
    void exitRetryTimeout();   // the 10-second wait of ExitSession
    void captureStep();        // the capture after the window was hidden
    void resumeFallbackTimeout();  // the resume time came without a wake timer

Q_SIGNALS:
    void runStateChanged(zk::RunState state);

private:
    void setBlinkingLabel(bool on);
    void setLocked(bool locked);
    void setRemaining(const QString &text);
    void setCaptionIfDifferent(const QString &text);
    void setRunState(RunState s);
    std::optional<bool> phraseVisibleNow(PhraseMatch *match = nullptr) const;
    void refuse(const RunPlan &plan);
    void continueStart(quint64 generation);
    void execute();
    void finishExecution();
    quint32 exitFlagsFor(const QString &operation) const;
    void exitSession(const QString &operation);
    void requestExit(std::function<void(bool accepted)> then);
    void suspendMachine(const QString &operation, const QDateTime &resume);
    void armWakeTimer(const QDateTime &resume);
    void onSuspendReturned();
    void onWakeTimerFired(int handle);
    void onResumeWaitDone();
    void afterResumeFromSuspend();
    void afterResume(const QString &applicationCommand, bool keepState);
    void showInTrayIfEnabled();
    void cancelWakeTimer();
    void releaseKeepAwake();
    void refreshLineStatus();
    void endProgram(int code);

    AppState &m_state;
    const Clock &m_clock;
    PlatformServices m_services;
    RunView *m_view = nullptr;
    StartEnvironment m_env;
    QString m_programDir;
    std::function<void()> m_loadHook;
    std::function<void()> m_multiStartHook;
    std::function<void(const QString &)> m_historyHook;

    RunState m_runState = RunState::Idle;
    QDateTime m_startTime;
    QDateTime m_targetTime;
    QDateTime m_triggerTime;
    bool m_abortRequested = false;
    int m_tickAccumulator = 0;
    bool m_blinkSet = false;
    bool m_blinkPhase = false;
    bool m_phraseLabelVisible = false;
    QString m_remainingText;
    QString m_caption;
    QString m_baseCaption;
    QString m_lineStatus;
    RunPlan m_pending;
    quint64 m_generation = 0;

    // Power action state.
    enum class WaitKind { None, SuspendReturn, WakeTimer, ResumeOnly };
    WaitKind m_wait = WaitKind::None;
    quint32 m_exitFlags = 0;
    quint64 m_powerCall = 0;       // the power call whose answer is awaited
    bool m_exitPending = false;
    int m_wakeHandle = 0;
    bool m_wakeFired = false;
    bool m_arming = false;
    int m_firedWhileArming = 0;
    bool m_locked = false;         // settings locked (the start button disabled)
    bool m_ended = false;          // quit was requested
    bool m_keepAwakeHeld = false;
    QString m_captureName;
    bool m_resumeAfterSuspend = false;  // a resume time was given to the suspend

    QTimer m_countdownTimer;   // Timer1
    QTimer m_blinkTimer;       // Timer2
    QTimer m_phraseTimer;      // Timer3
    QTimer m_clockTimer;       // Timer6
    QTimer m_keepAwakeTimer;   // Timer_Wake
    QTimer m_loadTimer;        // Timer_Load
    QTimer m_retryTimer;       // ExitSession's retry wait
    QTimer m_captureTimer;     // pause between hiding the window and the capture
    QTimer m_resumeFallbackTimer;  // stands in for a wake timer that could not be armed
    QMetaObject::Connection m_resumedConnection;
    QMetaObject::Connection m_firedConnection;
};

}  // namespace zk
