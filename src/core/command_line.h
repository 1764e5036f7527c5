// The command-line grammar: tokenising, the parameter table, and the
// helpers other parts of the program reuse.
#pragma once

#include "core/job.h"

#include <QDateTime>
#include <QList>
#include <functional>

namespace zk {

// What the parser needs from the rest of the program.
struct ParseHooks {
    // Reset the state to the defaults of the settings file ("auto").
    std::function<void(AppState &)> setDefaults;
    // ResumeTime and ResumeAppCommand from the weekly resume table ("resume_list").
    std::function<void(AppState &)> applyWeeklyResumeList;
    // Start a program at once ("ap"); false = it could not be started.
    std::function<bool(const QString &path, const QString &parameters)> launch;
    // Whether the platform allows hibernation ("hibernation").
    std::function<bool()> hibernationAllowed;
};

struct UserMessage {
    QString title;
    QString text;
    bool operator==(const UserMessage &) const = default;
};

struct ParseResult {
    bool parsed = false;       // at least one parameter element was seen (the caption changed)
    bool error = false;        // a parameter error: the program ends after the messages
    QList<UserMessage> messages;
    QString caption;           // the caption to show when parsed
};

// Parses the argument text (everything after the program name) into state.
// `now` is the current local time (resume times, clock-mode defaults). A word
// the grammar does not know (also one before the first parameter) and a
// parameter without the value it needs are parameter errors: a run that
// scripts start unattended never goes ahead on a mistyped line.
ParseResult ParseCommandLine(const QString &argumentText, AppState &state, const QDateTime &now,
                             const ParseHooks &hooks);

// The argument text of a process: the arguments joined by single spaces; one
// that holds a blank and starts with neither "<" nor a double quote is quoted.
QString JoinArguments(const QStringList &arguments);

// Program title used as the caption of the parser's message boxes.
QString ProgramTitle();

}  // namespace zk
