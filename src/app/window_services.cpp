#include "app/window_services.h"

#include "core/launcher.h"
#include "core/ports/power.h"
#include "platform/linux/fcitx5_input_method.h"
#include "platform/linux/settings_writer.h"
#include "platform/linux/upower_status.h"
#include "settings/defaults.h"

#include <optional>

namespace zk {

void FollowNoBattery(UPowerStatus &status, QObject *context, std::function<void(bool noBattery)> apply)
{
    auto told = std::make_shared<std::optional<bool>>();
    auto tell = [&status, told, apply = std::move(apply)] {
        PowerStatusRaw raw;
        const bool none = status.read(raw) == kPowerStatusOk && raw.batteryFlag == 128;
        if (*told == none)
            return;
        *told = none;
        apply(none);
    };
    tell();
    QObject::connect(&status, &UPowerStatus::statusChanged, context, tell);
}

AppWindowServices::AppWindowServices(AppState &state, const Clock &clock, SessionPower &power, Launcher &launcher,
                                     SettingsWriter &settings, const QString &desktopDir)
    : m_state(state), m_clock(clock), m_power(power), m_launcher(launcher), m_settings(settings),
      m_desktopDir(desktopDir)
{
}

void AppWindowServices::queryHibernationAllowed(QObject *context, std::function<void(bool allowed)> answer)
{
    m_power.queryHibernationAllowed(context, std::move(answer));
}

bool AppWindowServices::saveSettings()
{
    return m_settings.write(m_state, m_desktopDir) == SettingsWriter::Saved;
}

void AppWindowServices::resetDefaults()
{
    ResetToDefaults(m_state, m_clock.now(), m_desktopDir);
}

AppWindowServices::~AppWindowServices() = default;

InputMethodSwitch *AppWindowServices::inputMethod()
{
    if (!m_inputMethod)
        m_inputMethod = std::make_unique<Fcitx5InputMethod>();
    return m_inputMethod.get();
}

QString AppWindowServices::makeRelativePath(const QString &path)
{
    return m_launcher.makeRelativePath(path);
}

QStringList AppWindowServices::sessionLimitNotices(const QList<SessionLimit> &used)
{
    return m_sessionNotices ? m_sessionNotices->take(used) : QStringList();
}

}  // namespace zk
