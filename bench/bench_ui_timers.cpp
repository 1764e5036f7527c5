// How closely the window's timers keep their nominal times: the tray notice
// (2 s pause, then a one-second slide) and the popup notice's seconds countdown.
#include "ui/popups.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>

using namespace zk;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QEventLoop loop;  // the benchmark's own event loop, not the program's

    // Tray notice.
    {
        QWidget host;
        auto *notice = new TrayNoticeWindow(QStringLiteral("14時30分にシャットダウン"), &host);
        notice->show();
        QElapsedTimer clock;
        qint64 slideStart = -1;
        clock.start();
        QObject::connect(notice->timer(), &QTimer::timeout, &loop, [&] {
            if (slideStart < 0)
                slideStart = clock.elapsed();
        });
        QObject::connect(notice, &TrayNoticeWindow::finished, &loop, &QEventLoop::quit);
        loop.exec();
        std::printf("tray notice: slide began after %lld ms (nominal 2000), gone after %lld ms "
                    "(nominal 3000, 100 steps of 10 ms)\n",
                    static_cast<long long>(slideStart), static_cast<long long>(clock.elapsed()));
    }

    // Popup notice with three seconds.
    {
        SplashWindow splash;
        QElapsedTimer clock;
        PopupRequest p;
        p.text = QStringLiteral("お知らせ");
        p.seconds = 3;
        clock.start();
        splash.present(p, [&] { loop.quit(); });
        loop.exec();
        std::printf("popup notice: closed itself after %lld ms (nominal 3000)\n",
                    static_cast<long long>(clock.elapsed()));
    }
    return 0;
}
