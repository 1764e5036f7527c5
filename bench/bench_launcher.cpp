// How long the launcher takes: resolving paths, looking up a document's
// application in the mimeapps.list files, and from starting a real process
// to the end of the wait until it runs (at most one second).
#include "core/launcher.h"
#include "platform/linux/linux_launcher_backend.h"
#include "platform/linux/system_clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryFile>
#include <QTimer>
#include <cstdio>

using namespace zk;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    LinuxLauncherBackend backend;
    SystemClock clock;
    Launcher launcher(backend, clock, QCoreApplication::applicationDirPath());

    {
        const int n = 20000;
        QElapsedTimer t;
        t.start();
        qsizetype total = 0;
        for (int i = 0; i < n; ++i)
            total += launcher.resolvePath(QStringLiteral("$HOME/../x/./y/../tool%1.sh").arg(i % 7)).size();
        std::printf("resolvePath: %.2f us per path (%lld chars)\n", t.nsecsElapsed() / 1000.0 / n,
                    static_cast<long long>(total));
    }
    {
        QTemporaryFile f(QStringLiteral("/tmp/zk-bench-XXXXXX.txt"));
        f.open();
        const int n = 50;
        QElapsedTimer t;
        t.start();
        QString cmd;
        for (int i = 0; i < n; ++i)
            cmd = launcher.associatedCommand(f.fileName());
        std::printf("associatedCommand(.txt): %.2f ms per lookup (handler: \"%s\")\n", t.nsecsElapsed() / 1e6 / n,
                    qPrintable(cmd));
    }

    const QStringList programs{QStringLiteral("/bin/true"), QStringLiteral("/bin/sleep 2")};
    int index = 0;
    QElapsedTimer t;
    QObject::connect(&launcher, &Launcher::processSettled, &app, [&](qint64 pid, bool running) {
        std::printf("%-14s pid %lld settled after %.1f ms (running: %s)\n", qPrintable(programs[index]),
                    static_cast<long long>(pid), t.nsecsElapsed() / 1e6, running ? "yes" : "no");
        if (++index == programs.size()) {
            app.quit();
            return;
        }
        QTimer::singleShot(0, &app, [&] {
            t.start();
            launcher.launchCommand(programs[index]);
        });
    });
    QTimer::singleShot(0, &app, [&] {
        t.start();
        launcher.launchCommand(programs[index]);
    });
    return app.exec();
}
