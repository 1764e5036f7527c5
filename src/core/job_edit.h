// The small rules that keep the job record consistent while the user edits
// it in the main window: spinners, corrections of the hour and minute boxes,
// tool tips that name the operation, the timing-mode switch and the
// immediate-action buttons. The window only forwards to these.
#pragma once

#include "core/job.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace zk {

// One spinner step. direction 0 = up, 1 = down. Up from high (or above it)
// gives low, down from low (or below it) gives high; otherwise the value moves
// by one. The text is read with a leading-number parse.
QString SpinValue(const QString &text, int direction, int high, int low);

// The hour or minute box on leaving it: empty becomes "0", a value above max
// becomes max. Other texts stay as typed.
QString CorrectClockBox(const QString &text, int max);

// Whether a typed character may enter a digits-only box. Control characters
// (backspace, tab, return, editing shortcuts) pass; printable characters pass
// only when they are the ASCII digits 0..9.
bool AcceptsDigitKey(const QString &keyText);
// The text with everything but the ASCII digits removed; leading blanks are
// kept when keepLeadingBlanks (the list texts are right-aligned with blanks).
QString DigitsOnly(const QString &text, bool keepLeadingBlanks = false);

// Whether the resume box may be used with this operation (the suspend kinds).
bool ResumeAllowedFor(const QString &operationText);

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

// The timing-mode switch on the record: mode 1 for a non-zero index, else 0;
// when both clock boxes are empty they receive the current hour and minute.
void ApplyTimingMode(JobSettings &job, int index, const QDateTime &now);

// One immediate-action button.
struct QuickButtonSpec {
    int index;          // operation list index the button runs
    QString caption;
    QString toolTip;    // empty = none
    bool visible;
};
QList<QuickButtonSpec> QuickButtons(const PlatformVersion &v);

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
