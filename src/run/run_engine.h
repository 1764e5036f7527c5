// The run of a single job: start and its refusals, the one-second countdown
// with the trigger of the selected monitor kind, and the warning phase. The
// power action and what follows it belong to PowerSequence, which the engine
// starts and stops. QtCore only; windows reach it through RunView.
#pragma once

#include "core/clock.h"
#include "core/job.h"
#include "run/multi_run.h"
#include "run/power_sequence.h"
#include "run/run_plan.h"
#include "core/run_view.h"
#include "core/ports/services.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

namespace zk {

class Trigger;

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
    // Start: record the application command in the history (by default
    // AddToHistory on the state's history).
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
    bool countdownActive() const { return m_countdownOn; }
    bool settingsLocked() const { return m_locked; }
    bool ended() const { return m_ended; }
    // The multi schedule (started by startMultiRun, stopped by stopRun).
    MultiRun &multiRun() { return m_multi; }
    const MultiRun &multiRun() const { return m_multi; }
    // The power action and what follows it.
    PowerSequence &powerSequence() { return m_power; }
    const PowerSequence &powerSequence() const { return m_power; }

    // WarningLeadTime in milliseconds.
    qint64 warningLeadMs() const;
    // Tooltip of the tray icon for the current state.
    QString trayTooltip() const;

    // The plan a start would make now.
    RunPlan plan() const;

    // Window close box: true = go on closing (the run was stopped and the tray
    // icon removed), false = the close is cancelled and the window went to the
    // tray (a run with the tray option). A forced close ("終了" of the tray
    // menu, the end of the program) always goes on.
    bool closeRequested(bool forced = false);

public Q_SLOTS:
    void startRun();
    // StartMultiRun: the settings are locked and the multi schedule runs.
    void startMultiRun();
    // The stop button, for a single run and for the multi schedule.
    void stopRun();
    // Starts the one-shot load timer (after the window has loaded).
    void startLoadTimer();

    // The one clock tick, on every whole second of the clock: the clock
    // label, the blink, the phrase re-check and the countdown, in this order.
    void tick();
    // Its steps; tests call them directly.
    void clockTick();
    void blinkTick();
    void phraseRecheckTick();
    void countdownTick();
    // The trigger says its condition may have changed between ticks.
    void triggerMayHaveChanged();
    void loadTimerTick();      // Timer_Load
    void captureStep();        // the capture after the window was hidden
    void captureTimedOut();    // the capture did not answer in time: the action goes on without it

Q_SIGNALS:
    void runStateChanged(zk::RunState state);
    // After every clock tick, whatever it changed (remaining time, trigger).
    void ticked();
    // The run was stopped from the warning's desktop notice ("中止").
    void stoppedFromNotice();

private:
    // always: tell the view even when nothing changed.
    void setBlinkingLabel(bool on, bool always = false);
    void setLocked(bool locked);
    void setRemaining(const QString &text);
    void setCaptionIfDifferent(const QString &text);
    void setRunState(RunState s);
    // The desktop notice of the warning phase: sent as it starts, withdrawn
    // as it ends (stop, action, or the trigger lost).
    void sendWarningNotice();
    void withdrawWarningNotice();
    void onNoticeAction(quint32 id, const QString &key);
    // A popup notice, also sent to the desktop's notification service.
    void showPopup(const PopupRequest &popup, std::function<void()> closed);
    void refuse(const RunPlan &plan);
    // The start check answered: ask when it has a question, then go on.
    void askStartQuestion(quint64 generation, const QString &message);
    void continueStart(quint64 generation);
    // The remaining time, colour and caption of a countdown with time left.
    // Acts when nothing remains of the run, else shows what does.
    void actOnRemaining(const QDateTime &now);
    void showCountdown(qint64 remaining);
    void execute();
    void finishExecution();
    // The capture's answer; one of an earlier, given-up capture is ignored.
    void captureDone(quint64 capture, bool written);
    // Gives up a capture under way; true when there was one.
    bool dropCapture();
    void onPowerFinished(PowerOutcome outcome);
    void showInTrayIfEnabled();
    void setRemainingColor(const RunColor &color);
    // TriggerTime: the warning lead from now (on), or none (off).
    void setTrigger(bool on);
    // Milliseconds until the action: a span on the boot clock (minutes mode,
    // the lead after a trigger), else until the wall-clock target; nothing
    // when there is no valid target.
    std::optional<qint64> remainingMs(const QDateTime &now) const;
    // Minutes mode: the target's wall-clock time follows the boot clock (the
    // wall clock was set), and a resume given in minutes after it moves along.
    void followBootClock(const QDateTime &now);
    void refreshLineStatus();
    // The trigger of the selected monitor kind (made again when the kind changes).
    Trigger &trigger();
    void scheduleTick();
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
    // The same deadlines on the boot clock (Clock::bootMs), for spans.
    std::optional<qint64> m_targetBootMs;
    std::optional<qint64> m_triggerBootMs;
    bool m_resumeFollowsTarget = false;
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

    bool m_locked = false;         // settings locked (the start button disabled)
    bool m_ended = false;          // quit was requested
    QString m_captureName;
    RunColor m_color;
    bool m_colorShown = false;     // m_color is what the view shows

    std::unique_ptr<Trigger> m_trigger;
    int m_triggerKind = -1;        // the stored kind m_trigger was made for
    PowerSequence m_power;
    MultiRun m_multi;

    // One timer on the whole seconds of the clock drives the countdown
    // (Timer1), the blink (Timer2), the phrase re-check (Timer3) and the clock
    // label (Timer6); these flags say which of them run.
    QTimer m_tickTimer;
    bool m_countdownOn = false;
    bool m_recheckOn = false;
    QTimer m_loadTimer;        // Timer_Load
    QTimer m_captureTimer;     // pause between hiding the window and the capture
    QTimer m_captureLimit;     // the longest wait for the capture's answer
    quint64 m_capture = 0;     // the capture under way (0: none)
    quint64 m_captureCount = 0;

    QMetaObject::Connection m_noticeConnection;
    quint32 m_noticeId = 0;         // the warning's notice, 0 = none (yet)
    quint64 m_noticeSerial = 0;     // changes when a notice is sent or withdrawn
};

}  // namespace zk
