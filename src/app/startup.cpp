#include "app/startup.h"

#include "core/clock.h"
#include "core/job.h"
#include "core/job_edit.h"
#include "core/launcher.h"
#include "core/ports/power.h"
#include "resume/weekly_resume.h"
#include "settings/defaults.h"

#include <QCoreApplication>

namespace zk {

StartRead ReadStart(AppState &state, const QStringList &arguments, const StartInput &in)
{
    StartRead read;
    SetDefaults(state, in.clock.now(), in.desktopDir);
    const int operationBeforeLoad = state.job.Operation;
    LoadSettings(in.settingsPath, state, in.desktopDir, 1, &read.loaded);  // only multi row 0 exists yet
    SessionPower *power = &in.power;
    read.loadMessage =
        KeepAllowedOperation(state, operationBeforeLoad, [power] { return power->hibernationAllowedAtStartup(); });
    FixResumeDate(state.job, in.clock.now().date());
    read.caption = CaptionFor(state.OperationDisplayName());

    ParseHooks hooks;
    hooks.setDefaults = [&in](AppState &s) { SetDefaults(s, in.clock.now(), in.desktopDir); };
    hooks.launch = [&in](const QString &path, const QString &parameters) {
        if (in.startNothing)
            return true;
        QString program = path;
        QString params = parameters;
        return in.launcher.launchApplication(program, params) != 0;
    };
    QString droppedResumeRows;
    hooks.applyWeeklyResumeList = [&](AppState &s) { droppedResumeRows = ApplyWeeklyResumeList(s, in.clock); };
    // Read before the window and the event loop exist.
    hooks.hibernationAllowed = [power] { return power->hibernationAllowedAtStartup(); };

    read.parsed = ParseCommandLine(JoinArguments(arguments), state, in.clock.now(), hooks);
    if (read.parsed.parsed)
        read.caption = read.parsed.caption;
    // The step of the load timer: all twenty multi rows exist now.
    LoadMultiRows(in.settingsPath, state);
    if (!droppedResumeRows.isEmpty())
        read.droppedResumeRows = UserMessage{QCoreApplication::translate("WeeklyResume", "復帰リスト"), droppedResumeRows};
    return read;
}

}  // namespace zk
