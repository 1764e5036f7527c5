#pragma once

#include "core/job.h"

namespace zk {

// Puts every default of the settings in place. Leaves MultiEnabled,
// ResumeAtClock, ResumeAfterMinutes, ResumeWeekdays, ShowQuickButtons, the
// weekly table, the multi rows and the command history (HistoryText) as they are.
void SetDefaults(AppState &state, const QDateTime &now, const QString &desktopDir);

// "既定値に戻す": SetDefaults, then every weekday box ticked, the weekly resume
// table emptied and the immediate-action buttons hidden. MultiEnabled,
// ResumeAtClock, ResumeAfterMinutes and the multi rows stay.
void ResetToDefaults(AppState &state, const QDateTime &now, const QString &desktopDir);

}  // namespace zk
