// A watched condition of the countdown: the phrase on the screen, the CPU
// usage, or battery power with no user input. The countdown asks the trigger
// of the selected kind whether its condition holds; it never looks at the
// kind itself. A trigger reads the job settings live (they may change while
// the program runs) and its platform services through their interfaces.
#pragma once

#include "core/job.h"
#include "core/ports/services.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace zk {

class Trigger {
public:
    virtual ~Trigger() = default;

    // A run starts; runStart is the run's start time.
    virtual void start(const QDateTime &runStart) { Q_UNUSED(runStart); }
    // The run stops (clearTexts: the stop button) or executes (false).
    virtual void stop(bool clearTexts) { Q_UNUSED(clearTexts); }

    // Whether the condition holds now; nullopt when it cannot be told (it
    // then counts as not holding).
    virtual std::optional<bool> holds(const QDateTime &now) = 0;

    // A detection blinks the "監視文言状態検知！！" label.
    virtual bool marksDetection() const { return false; }
    // Re-check of the blinking label between steps: false switches it off.
    virtual bool detectionStillShown() { return false; }
    // Hands done the question to ask when the condition already holds at
    // the start ("" = none: the run starts without asking); done may run at
    // once or later from the event loop, also after this trigger is gone.
    virtual void askStartQuestion(std::function<void(const QString &)> done) { done(QString()); }

    // Calls listener when the condition may have changed between the steps
    // of the countdown (a kind that learns of changes as they happen);
    // listener then asks holds() again. Kinds that only know at the steps
    // never call it.
    virtual void setChangeListener(std::function<void()> listener) { Q_UNUSED(listener); }

    // The status text this kind keeps on show beside its settings (lblStatus),
    // read again now; nullopt when the kind shows none.
    virtual std::optional<QString> readStatus() { return std::nullopt; }
};

// The trigger of a monitor kind; a kind without a condition gives one that never holds.
std::unique_ptr<Trigger> MakeTrigger(MonitorKind kind, const AppState &state, const PlatformServices &services);

}  // namespace zk
