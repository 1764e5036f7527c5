// The weekly resume table: the next wake time and application from the
// table's default row and weekday rows and the weekday boxes, and the editing
// rules of its form (frmWeek). QtCore only.
#pragma once

#include "core/clock.h"
#include "core/job.h"

#include <QDateTime>
#include <QJsonArray>
#include <QList>
#include <QString>
#include <array>

namespace zk {

using WeeklyTable = std::array<ResumeEntry, kWeeklyRowCount>;

// A chosen resume: the date-time (invalid = none) and its application.
struct WeeklyResumeChoice {
    QDateTime time;
    QString application;
    bool operator==(const WeeklyResumeChoice &) const = default;
};

// The next resume the table gives at `now`: the default row and the weekday
// rows are each looked at for today and the next six days on ticked
// weekdays (a time must lie strictly after now, at the wall-clock hour and
// minute of its date); the earlier date wins, and on the same date the
// weekday's own row wins.
WeeklyResumeChoice ChooseWeeklyResume(const WeeklyTable &table, const JobSettings &job, const QDateTime &now);

// The rows of the table (0 = default row, 1..7 = Sunday..Saturday) that have
// an hour and a minute that do not name a time of day (RowClockTime); they
// count as rows without a time.
QList<int> DroppedResumeRows(const WeeklyTable &table);
// The notice that says so ("" when no row was dropped).
QString DroppedResumeRowsText(const QList<int> &rows);
// --explain: the dropped rows' numbers (0 = default row, 1..7 = Sunday..Saturday).
QJsonArray ExplainDroppedResumeRows(const AppState &state);

// ApplyWeeklyResumeList: ResumeTime and ResumeAppCommand from the table (both
// emptied when it gives nothing). Returns DroppedResumeRowsText of the table
// ("" when every row is usable).
QString ApplyWeeklyResumeList(AppState &state, const Clock &clock);

// ShowResumeInBoxes: the five resume boxes and the application box of the
// job take ResumeTime and ResumeAppCommand; without a ResumeTime they are
// emptied as "クリア" empties them.
void ShowResumeInBoxes(JobSettings &job, const CommandLineValues &cl);
// "クリア": the five resume boxes and the application box emptied.
void ClearResumeBoxes(JobSettings &job);

// One ▲ (direction 0) or ▼ (direction 1) step of an hour (high 23) or minute
// (high 59) box of the form: an empty box becomes "0"; otherwise one up or
// down, top wrapping to 0 and 0 to the top.
QString WeekSpinValue(const QString &text, int direction, int high);

// A row of the form as its boxes hold it.
struct WeekRowEdit {
    QString hour;
    QString minute;
};
// ▲▼ on the hour: the step, and an empty minute becomes "0".
void WeekSpinHour(WeekRowEdit &row, int direction);
// ▲▼ on the minute.
void WeekSpinMinute(WeekRowEdit &row, int direction);
// The hour box was edited (a backspace): an emptied hour empties the minute.
void WeekHourEdited(WeekRowEdit &row);

}  // namespace zk
