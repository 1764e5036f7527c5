#include "app/window_services.h"

#include "core/launcher.h"
#include "core/ports/power.h"
#include "platform/linux/fcitx5_input_method.h"
#include "platform/linux/settings_writer.h"
#include "settings/defaults.h"

namespace zk {

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

}  // namespace zk
