// What a start would do, computed without side effects: the target time, the
// resume time, or the refusal the user would see. StartRun acts on this plan,
// and --explain prints it, so the two cannot disagree.
#pragma once

#include "core/job.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <functional>
#include <utility>

namespace zk {

// Facts a start needs from outside the settings record.
struct StartEnvironment {
    // Whether a file of that name exists (a folder does not count).
    std::function<bool(const QString &path)> fileExists;
    // The program's own folder: relative application paths are looked for
    // there (see StartCheckPath). Empty = the current directory.
    QString programDir;
    // The program's own executable name, for the self-restart check.
    QString programName = QStringLiteral("zenkoro");
    // The name the self-restart message starts with.
    QString programTitle = QStringLiteral("Zenkoro");
    // Why no wake alarm can be armed ("" = it can): a suspend with a resume
    // time is then refused.
    QString wakeUnavailable;
};

// The default file test: an existing file that is not a folder.
bool ExistingFile(const QString &path);

// The file a start looks for when it checks an application's program path:
// a relative path is taken from the program's own folder (a start makes that
// folder the current directory), whatever folder the program was started
// in; an absolute path as it is. Empty programDir: the path unchanged.
QString StartCheckPath(const QString &path, const QString &programDir);

enum class PlanOutcome {
    Start,    // the run starts (or waits for the resume time when resume-only)
    Refused,  // a message box, the run stays idle
    Skip,     // the action's weekday is excluded: the program ends at once
};

// When the refusal calls the stop routine relative to its message.
enum class StopOrder { None, AfterMessage, BeforeMessage };

// The resume weekday check, applied after the run has been armed.
enum class ResumeDayRule {
    Allowed,     // no resume, or its weekday box is checked
    CancelRun,   // popup in red, then the run is stopped
    DropResume,  // NoAlert: resume is switched off silently, the run goes on
    EndProgram,  // NoAlert with resume-only: the program ends
};

struct RunPlan {
    PlanOutcome outcome = PlanOutcome::Start;
    QDateTime startTime;
    QDateTime targetTime;   // invalid in resume-only runs without a target
    // Minutes mode: the target as a span after the start, in milliseconds
    // (-1 = a clock time). The run measures it on the boot clock, so that
    // setting the wall clock neither hastens nor delays it.
    qint64 targetSpanMs = -1;
    QDateTime resumeTime;   // invalid = no resume
    // The resume is given in minutes after the action: it moves with the target.
    bool resumeFollowsTarget = false;
    // Refused: the message box.
    QString title;
    QString text;
    QString focusField;     // objectName of the control to focus ("" = none)
    StopOrder stop = StopOrder::AfterMessage;
    // Skip: the popup text, shown unless NoAlert suppresses it.
    QString popupText;
    bool showPopup = false;
    // Resume weekday check.
    ResumeDayRule resumeDay = ResumeDayRule::Allowed;
    QString resumePopupText;
};

// The plan of StartRun for these settings at `now`.
RunPlan PlanStart(const AppState &state, const QDateTime &now, const StartEnvironment &env);

// The plan as JSON: "TargetTime" and "ResumeTime" (ISO 8601 local time, or
// ""), or "Refusal" {"Title", "Text"} when the start would not arm a run.
// "Outcome" is "start", "refused" or "skip".
QJsonObject ExplainPlan(const RunPlan &plan);
QJsonObject ExplainPlan(const AppState &state, const QDateTime &now, const StartEnvironment &env);

// The refusal of a start that would suspend with a wake time where no wake
// alarm can be armed: {title, text} with the reason.
std::pair<QString, QString> WakeRefusal(const QString &reason);

// Texts shared with the engine.
QString FormatRemaining(qint64 milliseconds);
// Warning lead time in seconds: PopupLeadSeconds when given (0..32767),
// else 30 with force, 15 without.
int WarningLeadSeconds(const AppState &state);

}  // namespace zk
