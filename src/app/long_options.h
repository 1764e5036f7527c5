// The program's own long options, taken out of the arguments before the
// command-line grammar sees them.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "shell/ui_language.h"

namespace zk {

struct LongOptions {
    bool help = false;
    bool version = false;
    bool explain = false;
    bool dryRun = false;
    bool save = false;
    bool commandLine = false;
    bool status = false;      // --status
    bool stop = false;        // --stop [PID]
    qint64 stopPid = 0;       // the PID after --stop; 0 = none given
    QString conf;             // --conf FILE
    std::optional<UiLanguage> language;  // --lang ja|en; none: the locale decides
    QStringList rest;         // everything else, in order, for the grammar
    QString error;            // non-empty: the options cannot be used
};

LongOptions TakeLongOptions(const QStringList &arguments);

QString UsageText();

}  // namespace zk
