// The timerfd wake timer with real, short timers.
#include "platform/linux/timerfd_wake_timer.h"

#include <QSignalSpy>
#include <QtTest>

#include <unistd.h>

using zk::TimerfdWakeTimer;

class TestTimerfdWakeTimer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firesWithItsHandle()
    {
        TimerfdWakeTimer timer;
        QSignalSpy fired(&timer, &zk::WakeTimer::fired);
        const int handle = timer.arm(1);
        QVERIFY(handle != 0);
        QCOMPARE(timer.armedCount(), 1);
        QVERIFY(fired.wait(5000));
        QCOMPARE(fired.size(), 1);
        QCOMPARE(fired.at(0).at(0).toInt(), handle);
        // One shot: released after firing, and it does not fire again.
        QCOMPARE(timer.armedCount(), 0);
        QVERIFY(!fired.wait(1500));
        QCOMPARE(fired.size(), 1);
    }

    void nonPositiveSecondsFireAtOnce_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::newRow("zero") << qint64(0);
        QTest::newRow("one second ago") << qint64(-1);
        QTest::newRow("a day ago") << qint64(-86400);
        QTest::newRow("32-bit minimum") << qint64(-2147483648LL);
    }
    void nonPositiveSecondsFireAtOnce()
    {
        QFETCH(qint64, seconds);
        TimerfdWakeTimer timer;
        QSignalSpy fired(&timer, &zk::WakeTimer::fired);
        // Armed first, due in one second: the past-due timer armed after it
        // must still come first.
        const int reference = timer.arm(1);
        const int handle = timer.arm(seconds);
        QVERIFY(handle != 0 && reference != 0);
        QVERIFY(fired.wait(10000));
        QCOMPARE(fired.at(0).at(0).toInt(), handle);
        qInfo("wakes the system: %s", timer.wakesSystem(reference) ? "yes (CLOCK_REALTIME_ALARM)" : "no (CLOCK_REALTIME)");
    }

    void cancelPreventsFiring()
    {
        TimerfdWakeTimer timer;
        QSignalSpy fired(&timer, &zk::WakeTimer::fired);
        const int cancelled = timer.arm(1);
        const int kept = timer.arm(2);
        QVERIFY(cancelled != 0 && kept != 0 && cancelled != kept);
        timer.cancel(cancelled);
        // Unknown and zero handles are ignored.
        timer.cancel(0);
        timer.cancel(kept + 1000);
        timer.cancel(-1);
        QCOMPARE(timer.armedCount(), 1);
        QVERIFY(fired.wait(5000));
        QCOMPARE(fired.size(), 1);
        QCOMPARE(fired.at(0).at(0).toInt(), kept);
        QVERIFY(!fired.wait(1000));
        // Cancelling after it fired is harmless.
        timer.cancel(kept);
        QCOMPARE(timer.armedCount(), 0);
    }

    void cancelOfAnExpiredButUnreadTimerStillPreventsTheSignal()
    {
        // The timer expires while the event loop is busy; the cancel that
        // comes before the loop turns must win.
        TimerfdWakeTimer timer;
        QSignalSpy fired(&timer, &zk::WakeTimer::fired);
        const int handle = timer.arm(0);
        timer.cancel(handle);
        QVERIFY(!fired.wait(1000));
        QCOMPARE(timer.armedCount(), 0);
    }

    void timersFireInDueOrderWithDistinctHandles()
    {
        TimerfdWakeTimer timer;
        QSignalSpy fired(&timer, &zk::WakeTimer::fired);
        const int later = timer.arm(2);
        const int sooner = timer.arm(1);
        QVERIFY(later != sooner);
        QVERIFY(QTest::qWaitFor([&] { return fired.size() == 2; }, 6000));
        QCOMPARE(fired.at(0).at(0).toInt(), sooner);
        QCOMPARE(fired.at(1).at(0).toInt(), later);
    }

    void fallsBackToWallClockWithoutWakeAlarmCapability()
    {
        // Without CAP_WAKE_ALARM the alarm clock is refused (EPERM); the timer
        // must still work on CLOCK_REALTIME. Run one case of this very test
        // in a child that lacks the capability.
        if (::geteuid() != 0)
            QSKIP("needs root to drop CAP_WAKE_ALARM from a child");
        const QString setpriv = QStandardPaths::findExecutable("setpriv");
        if (setpriv.isEmpty())
            QSKIP("setpriv (util-linux) is not installed");
        QProcess child;
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(setpriv, {"--bounding-set", "-wake_alarm", QCoreApplication::applicationFilePath(),
                              "nonPositiveSecondsFireAtOnce:zero", "firesWithItsHandle"});
        QVERIFY(child.waitForFinished(30000));
        const QString out = QString::fromUtf8(child.readAll());
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, qPrintable(out));
        QVERIFY2(out.contains("wakes the system: no (CLOCK_REALTIME)"), qPrintable(out));
    }

    void destroyingWithArmedTimersIsClean()
    {
        auto *timer = new TimerfdWakeTimer;
        QVERIFY(timer->arm(0) != 0);
        QVERIFY(timer->arm(3600) != 0);
        QCOMPARE(timer->armedCount(), 2);
        delete timer;  // closes the descriptors; nothing fires into a dead object
        QTest::qWait(200);
    }
};

QTEST_GUILESS_MAIN(TestTimerfdWakeTimer)
#include "tst_timerfd_wake_timer.moc"
