// What the main window asks of the program, answered by the program's own
// services: the power backend, the launcher and the settings file.
#pragma once

#include "ui/main_window_services.h"

#include <QObject>
#include <functional>
#include <memory>

namespace zk {

struct AppState;
class Clock;
class Launcher;
class SessionPower;
class SettingsWriter;
class Fcitx5InputMethod;
class UPowerStatus;

// Tells `apply` whether the machine has no battery (the battery kind then has
// nothing to watch): at once, and again whenever that changes while context
// lives. UPower answers after the window is built, and may come or go later.
void FollowNoBattery(UPowerStatus &status, QObject *context, std::function<void(bool noBattery)> apply);

class AppWindowServices : public MainWindowServices {
public:
    AppWindowServices(AppState &state, const Clock &clock, SessionPower &power, Launcher &launcher,
                      SettingsWriter &settings, const QString &desktopDir);

    void queryHibernationAllowed(QObject *context, std::function<void(bool allowed)> answer) override;
    bool saveSettings() override;
    void resetDefaults() override;
    QString makeRelativePath(const QString &path) override;
    InputMethodSwitch *inputMethod() override;
    QStringList sessionLimitNotices(const QList<SessionLimit> &used) override;
    void setSessionLimitNotices(SessionLimitNotices *notices) { m_sessionNotices = notices; }
    ~AppWindowServices() override;

private:
    AppState &m_state;
    const Clock &m_clock;
    SessionPower &m_power;
    Launcher &m_launcher;
    SettingsWriter &m_settings;
    QString m_desktopDir;
    std::unique_ptr<Fcitx5InputMethod> m_inputMethod;
    SessionLimitNotices *m_sessionNotices = nullptr;  // made at the first question
};

}  // namespace zk
