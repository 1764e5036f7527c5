// The main window on a real X server: screenshots of the idle window and of
// the warning phase, saved for a person to look at.
#include "run/run_engine.h"
#include "support/fake/fake_clock.h"
#include "support/fake/fake_services.h"
#include "support/fake/fake_window_services.h"
#include "ui/main_window.h"
#include "ui/ticker_label.h"

#include <QCheckBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

using namespace zk;

namespace {

QString shotDir()
{
    const QString dir = qEnvironmentVariable("ZK_BUILD_DIR", QDir::currentPath()) + QStringLiteral("/screenshots");
    QDir().mkpath(dir);
    return dir;
}

QImage shoot(QWidget *w, const QString &name)
{
    QScreen *screen = w->screen();
    QPixmap pix = screen ? screen->grabWindow(w->winId()) : QPixmap();
    if (pix.isNull() || pix.size().isEmpty())
        pix = w->grab();
    const QString path = shotDir() + QLatin1Char('/') + name;
    if (!pix.save(path))
        qWarning("could not save %s", qPrintable(path));
    return pix.toImage();
}

// How many pixels of the area have about this colour.
int pixelsNear(const QImage &img, const QRect &area, const QColor &c)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom() && y < img.height(); ++y)
        for (int x = area.left(); x <= area.right() && x < img.width(); ++x) {
            const QColor p = img.pixelColor(x, y);
            if (qAbs(p.red() - c.red()) < 40 && qAbs(p.green() - c.green()) < 40 && qAbs(p.blue() - c.blue()) < 40)
                ++n;
        }
    return n;
}

}  // namespace

class TestScreenshots : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    }

    void idleAndWarning()
    {
        AppState state;
        state.job.ExtendedMenu = 1;
        state.job.ShowQuickButtons = 1;
        state.job.Operation = 4;
        state.job.DelayMinutes = QStringLiteral("   1");
        state.job.ResumeDateParts = {QStringLiteral("2026"), QStringLiteral("12"), QStringLiteral("8"),
                                     QStringLiteral("7"), QStringLiteral("0")};
        state.job.AppCommand = QStringLiteral("/usr/bin/true --morning");
        FakeClock clock(QDateTime(QDate(2026, 12, 7), QTime(22, 59, 0)));
        FakeSessionPower power;
        FakeWakeTimer wake;
        PlatformServices services;
        services.power = &power;
        services.wakeTimer = &wake;
        FakeWindowServices answers(power, state);
        MainWindow window(state, clock, answers);
        RunEngine engine(state, clock, services, &window);
        window.attachEngine(&engine);
        engine.clockTick();
        window.placeAsStored();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(200);
        const QImage idle = shoot(&window, QStringLiteral("main_idle.png"));
        QVERIFY(!idle.isNull());

        auto *time = window.findChild<TickerLabel *>(QStringLiteral("lblTime"));
        window.findChild<QPushButton *>(QStringLiteral("cmd実行"))->click();
        clock.advanceSecs(50);
        engine.clockTick();
        engine.countdownTick();
        QTest::qWait(300);
        const QImage warning = shoot(&window, QStringLiteral("main_warning.png"));
        const QRect label(time->mapTo(&window, QPoint(0, 0)), time->size());
        // The remaining time is drawn in red.
        QVERIFY2(pixelsNear(warning, label, QColor(255, 0, 0)) > 50, "no red digits in the time label");
        QCOMPARE(pixelsNear(idle, label, QColor(255, 0, 0)), 0);
        engine.stopRun();

        // Going to the tray: the notice appears at the lower right of the screen.
        state.job.TrayIcon = 1;
        state.job.DelayMinutes = QStringLiteral("  30");
        window.settingsChanged();
        window.findChild<QPushButton *>(QStringLiteral("cmd実行"))->click();
        QVERIFY(window.trayNotice());
        QVERIFY(QTest::qWaitForWindowExposed(window.trayNotice()));
        QTest::qWait(200);
        QScreen *screen = QGuiApplication::primaryScreen();
        const QPixmap whole = screen->grabWindow(0);
        QVERIFY(whole.save(shotDir() + QStringLiteral("/tray_notice.png")));
        const QRect lowerRight(screen->geometry().center(), screen->geometry().bottomRight());
        QVERIFY(lowerRight.contains(window.trayNotice()->frameGeometry()));
        engine.stopRun();
    }

    // On a small screen (the test runs at 1280x800 and 1366x768), from low on the
    // screen: the extended settings and the multi rows keep the window inside
    // the work area, and it shrinks back when they are unticked.
    void windowFitsTheScreen()
    {
        AppState state;
        FakeClock clock(QDateTime(QDate(2026, 12, 7), QTime(22, 59, 0)));
        FakeSessionPower power;
        FakeWindowServices answers(power, state);
        MainWindow window(state, clock, answers);
        window.ensurePolished();
        window.adjustSize();
        window.placeAsStored();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect area = window.screen()->availableGeometry();
        const int idleHeight = window.height();
        const QPoint low(area.left() + 40, area.bottom() - idleHeight - 40);
        window.move(low);
        QTRY_COMPARE(window.pos(), low);

        const auto inside = [&] { return area.contains(window.frameGeometry()); };
        window.findChild<QCheckBox *>(QStringLiteral("chk拡張"))->click();
        QTRY_VERIFY(window.height() > idleHeight + 100 && inside());
        window.findChild<QCheckBox *>(QStringLiteral("ChkMulti"))->click();
        auto *rows = window.findChild<QScrollArea *>(QStringLiteral("Pic_Multi"));
        QTRY_VERIFY(rows->isVisible() && inside());
        QTest::qWait(200);
        const QString size = QString::number(area.width()) + QLatin1Char('x') + QString::number(area.height());
        QVERIFY(window.screen()->grabWindow(0).save(shotDir() + QStringLiteral("/fit_") + size + QStringLiteral(".png")));
        // Nothing is cut off: the start button and the last frame are on screen;
        // the rows scroll within what is left.
        for (const char *name : {"cmd実行", "fr復帰_2"}) {
            auto *w = window.findChild<QWidget *>(QString::fromUtf8(name));
            QVERIFY2(area.contains(QRect(w->mapToGlobal(QPoint(0, 0)), w->size())), name);
        }
        const int rowHeight = window.findChild<QWidget *>(QStringLiteral("txtDateH_Multi_0"))->height();
        QVERIFY(rows->viewport()->height() >= 3 * rowHeight);
        QVERIFY(rows->verticalScrollBar()->maximum() > 0);

        window.findChild<QCheckBox *>(QStringLiteral("ChkMulti"))->click();
        window.findChild<QCheckBox *>(QStringLiteral("chk拡張"))->click();
        QTRY_COMPARE(window.height(), idleHeight);
    }
};

QTEST_MAIN(TestScreenshots)
#include "tst_screenshots.moc"
