// What the settings file carries beyond the job settings, as --explain shows it.
#pragma once

#include "core/job.h"

#include <QJsonObject>

namespace zk {

// Keys: MultiEnabled, MultiRows (20 x Hour, Minute, Operation, Application),
// WeeklyResumeTable (8 x Hour, Minute, Application; 0 = the default row),
// CaptureFolder, LastProgramFolder, Reserved69, ShowQuickButtons,
// ExtendedMenu, HistoryText, HistoryMax, HistoryRows, HistorySort,
// HistoryOddColor, HistoryColors, ActiveOddColor, ActiveColors, EditWidth,
// EditHeight, EditMode, EditFontSize. Texts are strings, check boxes and
// numbers are integers.
QJsonObject ExplainSettingsFile(const AppState &state);

// Copies every key of `from` into `into` (later keys win).
void MergeJson(QJsonObject &into, const QJsonObject &from);

}  // namespace zk
