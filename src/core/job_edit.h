// Edits of the job record that keep it consistent, shared by the window and
// the command line: operation and timing-mode switches, spinners, corrections
// of the hour and minute boxes, tool tips that name the operation and the
// immediate-action buttons. The window only forwards to these.
#pragma once

#include "core/command_line.h"
#include "core/job.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace zk {

// One spinner step. direction 0 = up, 1 = down. Up from high (or above it)
// gives low, down from low (or below it) gives high; otherwise the value moves
// by one. The text is read with a leading-number parse.
QString SpinValue(const QString &text, int direction, int high, int low);

// The hour or minute box on leaving it: empty becomes "0", a value above max
// becomes max. Other texts stay as typed.
QString CorrectClockBox(const QString &text, int max);

// The text with everything but the ASCII digits removed; leading blanks are
// kept when keepLeadingBlanks (the list texts are right-aligned with blanks),
// full stops when keepPoints (the CPU lower limit is a decimal number).
QString DigitsOnly(const QString &text, bool keepLeadingBlanks = false, bool keepPoints = false);

// The CPU averaging span is at least this many seconds: leaving its box with
// a shorter one (an empty box reads as 0) keeps the focus in the box.
inline constexpr int kCpuAverageSecondsMin = 5;
bool CpuAverageSecondsTooShort(const QString &text);

// Whether the resume box can be ticked: a suspend kind, or resume only.
inline bool ResumeUsable(std::optional<OperationKind> kind, bool resumeOnly)
{
    return (kind && IsSuspendOperation(*kind)) || resumeOnly;
}

// The tool tips that name the selected operation.
struct OperationTooltips {
    QString minutesOption;
    QString clockOption;
    QString startButton;
    QString stopButton;
    QString minutesBox;
    QString monitorBox;
    QString phraseLabel;
    QString resumeOnlyBox;
};
OperationTooltips TooltipsFor(const QString &operationText);

// Tool tip of the phrase box for the phrase mode (0 = appears, 1 = disappears).
QString PhraseBoxTooltip(int phraseEvent);

// Selects operation `index`. On a change of index the resume box is cleared
// (it is re-allowed only for the suspend kinds, which the window decides).
// Returns true when the index changed.
bool SelectOperation(AppState &state, int index);

// What the operation list says when "休止" is chosen where hibernation is not allowed.
UserMessage HibernationDisabledMessage();
// The entry the operation list returns to when "休止" (entry refused) is not
// allowed: the one selected before when it is another entry of the list's
// count entries, otherwise the first.
int OperationAfterRefusal(int previous, int refused, int count);

// "復帰機能のみ使用" ticked or unticked: resume only ticks the resume box;
// without it the resume box stays ticked only where the operation allows it.
void SetResumeOnly(JobSettings &job, bool on, std::optional<OperationKind> operation);
// A resume box the operation does not allow is unticked (a record just shown).
void DropUnusableResume(JobSettings &job, std::optional<OperationKind> operation);

// The messages of the window's buttons: the empty minutes box, the save
// button's two answers and the question of "既定値に戻す".
UserMessage EmptyMinutesMessage();
UserMessage SettingsSavedMessage();
UserMessage SettingsNotSavedMessage();
UserMessage ResetDefaultsQuestion();

// Whether the start must wait for a number in the minutes box: in minutes
// mode without the multi schedule an empty text would read as 0 minutes.
bool StartWaitsForMinutes(const JobSettings &job);

// The operation list's check for an operation that did not come from the list
// itself (a settings file just read): "休止" where hibernation is not allowed
// gives way to `previous`, the operation selected before, and the message of
// the list is returned. hibernationAllowed is asked only for "休止"; an empty
// query counts as not allowed.
std::optional<UserMessage> KeepAllowedOperation(AppState &state, int previous,
                                                const std::function<bool()> &hibernationAllowed);

// Switches between minutes mode (0) and clock mode (1); entering either mode
// with both hour and minute empty fills in the current hour and minute.
void SetTimingMode(JobSettings &job, int index, const QDateTime &now);

// A resume date in the boxes that lies before today becomes today (time kept).
void FixResumeDate(JobSettings &job, const QDate &today);

// One immediate-action button.
struct QuickButtonSpec {
    int index;          // operation list index the button runs
    QString caption;
    QString toolTip;    // empty = none
};
QList<QuickButtonSpec> QuickButtons();

// Whether the immediate-action frame is shown.
bool QuickButtonsVisible(const JobSettings &job);

// What an immediate-action button does to the record before the run starts:
// a forced run of the operation with a zero delay, without monitor or resume.
void ApplyQuickAction(AppState &state, int operationIndex);

// One step of a resume date spinner on the five boxes (0 year, 1 month,
// 2 day, 3 hour, 4 minute). A spinner whose box is empty makes no step; when
// the year box is empty all five boxes get the current date and time instead.
// Returns true when a box changed.
bool SpinResumeDate(std::array<QString, 5> &parts, int box, int direction, const QDateTime &now);

// The five resume boxes for a moment: plain numbers without leading zeros.
std::array<QString, 5> ResumePartsFor(const QDateTime &t);

}  // namespace zk
