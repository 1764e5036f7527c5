// The run engine's launcher port served by the application launcher.
#pragma once

#include "core/launcher.h"
#include "core/ports/app_launcher.h"

namespace zk {

class LauncherAppLauncher final : public AppLauncher {
public:
    explicit LauncherAppLauncher(Launcher &launcher) : m_launcher(launcher) {}
    bool launch(QString &program, QString &parameters) override
    {
        return m_launcher.launchApplication(program, parameters) != 0;
    }

private:
    Launcher &m_launcher;
};

}  // namespace zk
