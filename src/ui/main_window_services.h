// The questions the main window puts to the rest of the program (QtCore
// only, so that the program's side can answer them without widgets).
#pragma once

#include "core/session_limits.h"

#include <QObject>
#include <QString>
#include <functional>

namespace zk {

class InputMethodSwitch;

// What the window asks of the rest of the program. Given at construction,
// so every question has an answer.
class MainWindowServices {
public:
    virtual ~MainWindowServices() = default;
    // Whether the machine allows hibernation (the "休止" operation); the
    // answer may come later, and only while context exists.
    virtual void queryHibernationAllowed(QObject *context, std::function<void(bool allowed)> answer) = 0;
    // Save the settings; false when the file could not be written. The
    // start and immediate-action buttons and unticking the extended box save
    // silently; the save button reports the result. The window puts its
    // current place into the state first.
    virtual bool saveSettings() = 0;
    // "既定値に戻す" after the user confirmed: the defaults into the state
    // (every weekday ticked, weekly table emptied, quick buttons off).
    virtual void resetDefaults() = 0;
    // A chosen program path made relative to the program folder.
    virtual QString makeRelativePath(const QString &path) = 0;
    // The desktop's input method for the command input form; none = the
    // form only keeps the chosen state.
    virtual InputMethodSwitch *inputMethod() { return nullptr; }
    // The notices of the features in `used` that this desktop session
    // limits, each told once; none where nothing is limited.
    virtual QStringList sessionLimitNotices(const QList<SessionLimit> &used)
    {
        (void)used;
        return {};
    }
};

}  // namespace zk
