// The multi schedule: up to twenty timed rows run one after the other within
// the next day. The rows are collected and ordered at the start; each step
// waits on the one-second tick of the run engine (no loop of its own), then
// hands its operation to the power sequence, and the next step follows when
// the power sequence reports that the program goes on. QtCore only.
#pragma once

#include "core/clock.h"
#include "core/job.h"
#include "run/power_sequence.h"
#include "core/run_view.h"
#include "core/ports/services.h"

#include <QDateTime>
#include <QJsonArray>
#include <QList>
#include <QObject>
#include <QString>

namespace zk {

// One collected row (MultiRunTable): its due time, the due text
// "yyyy/MM/dd hh:mm" the order is taken from, its texts and display row.
struct MultiRunEntry {
    QDateTime due;
    QString dueText;
    QString operation;  // as the row holds it
    QString application;
    int row = 0;
    bool operator==(const MultiRunEntry &) const = default;
};

// Every row with both an hour and a minute, due today at that time or
// tomorrow when the time of day has passed (compared to the whole second),
// in ascending order of the due text; equal times keep the list's order.
// A row whose hour or minute is not a time of day (RowClockTime) counts as
// an empty row.
QList<MultiRunEntry> CollectMultiRunTable(const std::array<MultiEntry, kMultiRowCount> &rows, const QDateTime &now);

// The display rows (0..19) that have an hour and a minute that do not name a
// time of day, and are therefore left out as empty rows.
QList<int> DroppedMultiRows(const std::array<MultiEntry, kMultiRowCount> &rows);
// The notice that says so ("" when no row was dropped).
QString DroppedMultiRowsText(const QList<int> &rows);

// A step that acts: a sleep with the resume time and application of the
// "復帰" entry directly after it (invalid / empty without one), or an exit.
struct MultiStep {
    QDateTime due;
    OperationKind kind = OperationKind::Shutdown;
    QString operation;  // the row's text, as shown
    QDateTime resumeAt;
    QString application;
    int row = 0;
    bool operator==(const MultiStep &) const = default;
};

// The steps of the table in run order. Empty and unknown operations and
// "復帰" entries do not act. The list ends with the step after which the
// program ends: an exit, or a sleep that does not keep the resumed state
// (keepState off, or no resume time).
QList<MultiStep> PlanMultiSteps(const QList<MultiRunEntry> &table, bool keepState);
QList<MultiStep> PlanMultiSteps(const AppState &state, const QDateTime &now);

// The line a step prints as it starts (the headless view), e.g.
// "連続指定 1/2: 12月07日 22時59分 スリープ 復帰 12月07日 23時01分 起動 app".
QString MultiStepLine(const MultiStep &step, int index, int count);

// --explain: [{"Due", "Operation", "ResumeTime", "Application", "Row"}] with
// ISO 8601 local times ("" = none) and the row number 1..20.
QJsonArray ExplainMultiPlan(const AppState &state, const QDateTime &now);
// --explain: the row numbers 1..20 of the dropped rows.
QJsonArray ExplainDroppedMultiRows(const AppState &state);

class MultiRun : public QObject {
    Q_OBJECT
public:
    MultiRun(AppState &state, const Clock &clock, PowerSequence &power, QObject *parent = nullptr);

    void setView(RunView *view) { m_view = view; }
    void setServices(const PlatformServices &services) { m_services = services; }

    // Between start and stop (also once every step is done: the run then
    // waits for the stop button).
    bool active() const { return m_phase != Phase::Idle; }
    bool executing() const { return m_phase == Phase::Executing; }
    bool done() const { return m_phase == Phase::Done; }
    const QList<MultiStep> &steps() const { return m_steps; }
    int currentStep() const { return m_index; }
    // How many steps have been handed to the power sequence since the start.
    int executedSteps() const { return m_executed; }

public Q_SLOTS:
    // StartMultiRun: collects the rows as they are now and waits for the first step.
    void start();
    // StopMultiRun: nothing more is performed (the engine gives up the power action).
    void stop();
    // Every second: the countdown of the current step, and the step when its time has come.
    void tick();
    // The power sequence finished a step and the program goes on.
    void powerFinished(zk::PowerOutcome outcome);

Q_SIGNALS:
    // A step's countdown begins (its row becomes the selected one).
    void stepStarted(const zk::MultiStep &step, int index, int count);
    // A step's time has come: its operation goes to the power sequence.
    void stepExecuting(const zk::MultiStep &step);
    // Every step has been handled (nothingToRun: there was none to run);
    // the run waits for the stop button.
    void waitingForStop(bool nothingToRun);
    // The time label and the caption, as the countdown shows them.
    void remainingText(const QString &text);
    void remainingColor(const zk::RunColor &color);
    void caption(const QString &text);

private:
    enum class Phase { Idle, Waiting, Executing, Done };
    void advance();
    void execute();

    AppState &m_state;
    const Clock &m_clock;
    PowerSequence &m_power;
    RunView *m_view = nullptr;
    PlatformServices m_services;
    Phase m_phase = Phase::Idle;
    QList<MultiStep> m_steps;
    int m_index = -1;
    int m_executed = 0;
    quint64 m_generation = 0;
};

}  // namespace zk

Q_DECLARE_METATYPE(zk::MultiStep)
