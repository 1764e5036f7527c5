#include "app/shortcut_wiring.h"

#include "core/command_line_generator.h"
#include "core/job.h"
#include "core/launcher.h"
#include "platform/linux/desktop_launcher_file.h"
#include "shell/shortcut_maker.h"
#include "ui/create_shortcut_window.h"
#include "ui/main_window.h"
#include "ui/text_view_window.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <utility>

namespace zk {

void OpenShortcutMaker(const AppState &state, Launcher &launcher, const QString &desktopDir,
                       const QString &dataFolder, MainWindow &window)
{
    QString error;
    const QString line = BuildCommandLine(state, &error);
    if (line.isEmpty()) {
        window.showMessage(QCoreApplication::translate("ShortcutMaker", "ショートカット生成"), error, QString());
        return;
    }
    ShortcutEnvironment env;
    env.fs.isFile = [](const QString &p) { return QFileInfo(p).isFile(); };
    env.fs.isDir = [](const QString &p) { return QFileInfo(p).isDir(); };
    env.fs.refusal = LauncherPathRefusal;
    env.write = WriteDesktopLauncher;
    env.openFolder = [&launcher](const QString &folder) {
        QString program = folder;
        QString parameters;
        launcher.launchApplication(program, parameters);
    };
    auto *maker = new CreateShortcutWindow(
        ShortcutHandOver(desktopDir, QCoreApplication::applicationFilePath(), line), std::move(env), &window);
    QObject::connect(maker, &CreateShortcutWindow::commandLineHelpRequested, maker, [&launcher, dataFolder, maker] {
        OpenHelpFile(launcher, dataFolder + QStringLiteral("/command_line.txt"), HelpPlacement::TopLeftLarge, maker);
    });
    window.attachShortcutMaker(maker);
    maker->open();
}

}  // namespace zk
