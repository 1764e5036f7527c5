// What a start reads before the window and the event loop exist: the
// settings file (only multi row 0 yet), the command line over it, then all
// the multi rows, as the load timer's step did.
#pragma once

#include "core/command_line.h"
#include "settings/settings_file.h"

#include <QString>
#include <optional>

namespace zk {

struct AppState;
class Clock;
class Launcher;
class SessionPower;

struct StartInput {
    const Clock &clock;
    SessionPower &power;
    Launcher &launcher;
    QString settingsPath;
    QString desktopDir;
    // --explain and --command-line report the program a command line names
    // (ApPath, ApParameters) instead of starting it.
    bool startNothing = false;
};

struct StartRead {
    SettingsFileStatus loaded = SettingsFileStatus::Missing;
    // The loaded operation failed the operation list's check ("休止" where
    // hibernation is not allowed): the operation selected before is kept.
    std::optional<UserMessage> loadMessage;
    ParseResult parsed;
    QString caption;
    // Rows of the resume list that name no time of day, said once.
    std::optional<UserMessage> droppedResumeRows;
};

StartRead ReadStart(AppState &state, const QStringList &arguments, const StartInput &in);

}  // namespace zk
