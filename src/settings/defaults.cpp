#include "settings/defaults.h"

namespace zk {

void SetDefaults(AppState &state, const QDateTime &now, const QString &desktopDir)
{
    JobSettings &j = state.job;
    const JobSettings fresh;
    // Kept: MultiEnabled, ResumeAtClock, ResumeAfterMinutes, ResumeWeekdays, ShowQuickButtons.
    const int multi = j.MultiEnabled;
    const int atClock = j.ResumeAtClock;
    const QString afterMinutes = j.ResumeAfterMinutes;
    const auto weekdays = j.ResumeWeekdays;
    const int quick = j.ShowQuickButtons;
    j = fresh;
    j.MultiEnabled = multi;
    j.ResumeAtClock = atClock;
    j.ResumeAfterMinutes = afterMinutes;
    j.ResumeWeekdays = weekdays;
    j.ShowQuickButtons = quick;
    j.ResumeDateParts = {QString::number(now.date().year()), QString::number(now.date().month()),
                         QString::number(now.date().day()), QString::number(now.time().hour()),
                         QString::number(now.time().minute())};

    state.WindowLeft = -1;
    state.WindowTop = -1;
    state.Reserved69 = 12;
    state.LastProgramFolder.clear();
    state.CaptureFolder = desktopDir;
    state.cl.ResumeTime = QDateTime();
    state.cl.ResumeAppCommand.clear();
    state.cl.HideBeforeSuspend = false;

    // The command history itself is not a setting and survives a reset.
    const QString historyText = state.history.HistoryText;
    state.history = HistorySettings();
    state.history.HistoryText = historyText;
    state.history.HistoryColors = DefaultHistoryColors();
    state.edit = EditSettings();
    state.ActiveOddColor = state.history.HistoryOddColor;
    state.ActiveColors = state.history.HistoryColors;
}

void ResetToDefaults(AppState &state, const QDateTime &now, const QString &desktopDir)
{
    SetDefaults(state, now, desktopDir);
    for (int w = 1; w <= 7; ++w)
        state.job.setResumeWeekday(w, 1);
    state.WeeklyResumeTable.fill(ResumeEntry());
    state.job.ShowQuickButtons = 0;
}

}  // namespace zk
