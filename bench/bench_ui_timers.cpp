// How closely the window's timers keep their nominal times: the spinner's
// press-and-hold repeat (500 ms, then 100 ms), the tray notice (2 s pause,
// then a one-second slide) and the popup notice's seconds countdown.
#include "ui/popups.h"
#include "ui/press_repeater.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QToolButton>
#include <cstdio>

using namespace zk;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QEventLoop loop;  // the benchmark's own event loop, not the program's

    // Spinner repeat.
    {
        QToolButton button;
        QElapsedTimer clock;
        QList<qint64> steps;
        new PressRepeater(&button, [&] { steps << clock.elapsed(); });
        clock.start();
        Q_EMIT button.pressed();
        QTimer::singleShot(1550, &loop, [&] {
            Q_EMIT button.released();
            loop.quit();
        });
        loop.exec();
        double sum = 0;
        for (int i = 2; i < steps.size(); ++i)
            sum += double(steps[i] - steps[i - 1]);
        std::printf("spinner: %lld steps in 1550 ms; first repeat after %lld ms (nominal 500); "
                    "mean repeat interval %.1f ms (nominal 100)\n",
                    static_cast<long long>(steps.size()), static_cast<long long>(steps.value(1) - steps.value(0)),
                    steps.size() > 2 ? sum / double(steps.size() - 2) : 0.0);
    }

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
