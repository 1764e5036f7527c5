// The timerfd wake timer with real, short timers.
#include "platform/linux/timerfd_wake_timer.h"
#include "platform/linux/wake_ability.h"
#include "support/run_zenkoro.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using zk::TimerfdWakeTimer;
using zk::WakeAbility;

namespace {

const QStringList kNobody{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                          QStringLiteral("--clear-groups")};

const QString kBuiltHelper =
    QFileInfo(qEnvironmentVariable("ZENKORO_BIN")).dir().filePath(QStringLiteral("zenkoro-wake"));

// A copy of `file` in `dir` that everybody may run; with the capability when `capable`.
QString ExecutableCopy(const QString &file, const QString &dir, bool capable)
{
    const QString copy = QDir(dir).filePath(QFileInfo(file).fileName());
    QFile::remove(copy);
    if (!QFile::copy(file, copy))
        return QString();
    QFile::setPermissions(copy, QFile::permissions(copy) | QFile::ExeOther | QFile::ReadOther | QFile::ExeGroup);
    QFile::setPermissions(dir, QFile::permissions(dir) | QFile::ExeOther | QFile::ReadOther);
    if (capable && QProcess::execute(QStringLiteral("setcap"), {QStringLiteral("cap_wake_alarm+ep"), copy}) != 0)
        return QString();
    return copy;
}

}  // namespace

class TestTimerfdWakeTimer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Timers fire once each, in due order, with their handles; one already
    // due, armed last, comes first.
    void firesInDueOrder_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::newRow("zero") << qint64(0);
        QTest::newRow("32-bit minimum") << qint64(-2147483648LL);
    }
    void firesInDueOrder()
    {
        QFETCH(qint64, seconds);
        TimerfdWakeTimer timer;
        QSignalSpy fired(&timer, &zk::WakeTimer::fired);
        const QList<int> handles{timer.arm(2), timer.arm(1), timer.arm(seconds)};
        QVERIFY(!handles.contains(0) && QSet<int>(handles.begin(), handles.end()).size() == 3);
        QCOMPARE(timer.armedCount(), 3);
        qInfo("wakes the system: %s",
              timer.wakesSystem(handles[0]) ? "yes (CLOCK_REALTIME_ALARM)" : "no (CLOCK_REALTIME)");
        QVERIFY(QTest::qWaitFor([&] { return fired.size() == 3; }, 6000));
        QCOMPARE((QList<int>{fired[0][0].toInt(), fired[1][0].toInt(), fired[2][0].toInt()}),
                 (QList<int>{handles[2], handles[1], handles[0]}));
        // Released after firing, and they do not fire again.
        QCOMPARE(timer.armedCount(), 0);
        QVERIFY(!fired.wait(1500));
    }

    void cancelPreventsFiring()
    {
        TimerfdWakeTimer timer;
        QSignalSpy fired(&timer, &zk::WakeTimer::fired);
        // Expired while the event loop is busy: the cancel that comes before
        // the loop turns still wins.
        timer.cancel(timer.arm(0));
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
        QVERIFY(!fired.wait(1000));
        QCOMPARE(fired.size(), 1);
        QCOMPARE(fired.at(0).at(0).toInt(), kept);
        // Cancelling after it fired is harmless.
        timer.cancel(kept);
        QCOMPARE(timer.armedCount(), 0);

        // Destroyed with armed timers, it closes them: nothing fires into a dead object.
        auto *doomed = new TimerfdWakeTimer;
        QVERIFY(doomed->arm(0) != 0 && doomed->arm(3600) != 0);
        delete doomed;
        QTest::qWait(200);
    }

    void fallsBackToWallClockWithoutWakeAlarmCapability()
    {
        // Without CAP_WAKE_ALARM the alarm clock is refused (EPERM); the timer
        // must still work on CLOCK_REALTIME. Run one case of this very test
        // in a child that lacks the capability.
        if (::geteuid() != 0)
            QSKIP("needs root to drop CAP_WAKE_ALARM from a child");
        QProcess child;
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start("setpriv", {"--bounding-set", "-wake_alarm", QCoreApplication::applicationFilePath(),
                              "firesInDueOrder:zero"});
        QVERIFY(child.waitForFinished(30000));
        const QString out = QString::fromUtf8(child.readAll());
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, qPrintable(out));
        QVERIFY2(out.contains("wakes the system: no (CLOCK_REALTIME)"), qPrintable(out));
    }

    void probeTellsHowToWake_data()
    {
        QTest::addColumn<QString>("rtc");     // "alarm", "none" (a clock without one), "hidden" (no folder)
        QTest::addColumn<bool>("capable");     // the process itself holds CAP_WAKE_ALARM
        QTest::addColumn<QString>("helper");   // "", "plain" or "capable"
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("reason");   // a part of the reason
        QTest::newRow("no real-time clock") << "none" << true << "capable" << "none" << "RTC";
        QTest::newRow("root") << "alarm" << true << "" << "direct" << "";
        QTest::newRow("root, clocks hidden by a container") << "hidden" << true << "" << "direct" << "";
        QTest::newRow("user, no helper") << "alarm" << false << "" << "none" << "zenkoro-wake";
        QTest::newRow("user, helper without capability") << "alarm" << false << "plain" << "none" << "setcap cap_wake_alarm+ep";
        QTest::newRow("user, helper with capability") << "alarm" << false << "capable" << "helper" << "";
    }
    void probeTellsHowToWake()
    {
        QFETCH(QString, rtc);
        QFETCH(bool, capable);
        QFETCH(QString, helper);
        QFETCH(QString, way);
        QFETCH(QString, reason);
        if (::geteuid() != 0 && helper == "capable")
            QSKIP("needs root for setcap");
        QTemporaryDir root;
        QDir(root.path()).mkpath(rtc == "hidden" ? QStringLiteral("sys/class") : QStringLiteral("sys/class/rtc/rtc0"));
        if (rtc == "alarm")
            QFile(root.filePath(QStringLiteral("sys/class/rtc/rtc0/wakealarm"))).open(QIODevice::WriteOnly);
        QFile status(root.filePath(QStringLiteral("status")));
        QVERIFY(status.open(QIODevice::WriteOnly));
        status.write(capable ? "Name:\tzenkoro\nCapEff:\t000001fffeffffff\n" : "Name:\tzenkoro\nCapEff:\t0000000000000000\n");
        status.close();
        const QString bin = root.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        QString copy;
        if (!helper.isEmpty()) {
            copy = ExecutableCopy(kBuiltHelper, bin, helper == "capable");
            QVERIFY2(!copy.isEmpty(), "could not copy the helper (or setcap failed)");
        }
        const WakeAbility a = zk::ProbeWakeAbility({bin, root.filePath(QStringLiteral("sys")), status.fileName()});
        QCOMPARE(a.wayName(), way);
        QCOMPARE(a.possible(), way != "none");
        QVERIFY2(reason.isEmpty() ? a.reason.isEmpty() : a.reason.contains(reason), qPrintable(a.reason));
        QCOMPARE(a.helperPath, way == "helper" ? copy : QString());
    }

    void helperArmsTheWakeAlarmForAnOrdinaryUser()
    {
        if (::geteuid() != 0)
            QSKIP("needs root for setcap and setpriv");
        QTemporaryDir dir;
        const QString capable = ExecutableCopy(kBuiltHelper, dir.path(), true);
        QVERIFY(!capable.isEmpty());
        const qint64 due = QDateTime::currentSecsSinceEpoch() + 3600;

        QProcess helper;
        helper.start(QStringLiteral("setpriv"), kNobody + QStringList{capable, QString::number(due)});
        QVERIFY(helper.waitForReadyRead(10000));
        QCOMPARE(helper.readLine().trimmed(), QByteArray("armed ") + QByteArray::number(due));
        // The kernel's view of the armed timer: the alarm clock (8), an hour ahead.
        const QDir fdinfo(QStringLiteral("/proc/%1/fdinfo").arg(helper.processId()));
        QString timer;
        for (const QString &fd : fdinfo.entryList(QDir::Files)) {
            QFile f(fdinfo.filePath(fd));
            const QString text = f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
            if (text.contains(QStringLiteral("clockid:")))
                timer = text;
        }
        const QRegularExpression value(QStringLiteral("it_value:\\s*\\((\\d+),"));
        const qint64 left = value.match(timer).captured(1).toLongLong();
        QVERIFY2(timer.contains(QRegularExpression(QStringLiteral("clockid:\\s*8\\b"))) && left > 3500 && left <= 3600,
                 qPrintable(timer));
        // Closing its input cancels it: it ends without firing.
        helper.closeWriteChannel();
        QVERIFY(helper.waitForFinished(5000));
        QCOMPARE(helper.exitCode(), 0);
        QVERIFY(!helper.readAll().contains("fired"));

        // Without the capability an ordinary user cannot arm it, and says why.
        QTemporaryDir plainDir;
        const QString plain = ExecutableCopy(kBuiltHelper, plainDir.path(), false);
        QProcess refused;
        refused.start(QStringLiteral("setpriv"), kNobody + QStringList{plain, QString::number(due)});
        QVERIFY(refused.waitForFinished(10000));
        QCOMPARE(refused.exitCode(), 1);
        QVERIFY(refused.readAll().contains("error timerfd_create(CLOCK_REALTIME_ALARM): Operation not permitted"));
    }

    void timerThroughTheHelperFiresOrIsCancelled()
    {
        QTemporaryDir dir;
        const QString helperCopy = ExecutableCopy(kBuiltHelper, dir.path(), ::geteuid() == 0);
        QVERIFY(!helperCopy.isEmpty());
        TimerfdWakeTimer timer(WakeAbility{WakeAbility::Helper, helperCopy, QString()});
        QSignalSpy fired(&timer, &zk::WakeTimer::fired);
        QSignalSpy armed(&timer, &TimerfdWakeTimer::helperArmed);
        const int cancelled = timer.arm(3600);
        QProcess *cancelledHelper = timer.helperOf(cancelled);
        QVERIFY(cancelledHelper);
        QSignalSpy cancelledEnded(cancelledHelper, &QProcess::finished);
        const int handle = timer.arm(1);
        QVERIFY(QTest::qWaitFor([&] { return armed.size() == 2; }, 10000));
        QVERIFY(timer.wakesSystem(cancelled));
        timer.cancel(cancelled);
        QVERIFY(cancelledEnded.wait(5000));  // the helper ends with the cancel
        QVERIFY(fired.wait(5000));
        QCOMPARE(fired.size(), 1);
        QCOMPARE(fired.at(0).at(0).toInt(), handle);
        QCOMPARE(timer.armedCount(), 0);

        // A helper that cannot run: said on stderr, and the wait still ends
        // at the due time on the wall clock.
        TimerfdWakeTimer broken(WakeAbility{WakeAbility::Helper, dir.filePath(QStringLiteral("missing")), QString()});
        QSignalSpy brokenFired(&broken, &zk::WakeTimer::fired);
        const int late = broken.arm(1);
        QVERIFY(brokenFired.wait(10000));
        QCOMPARE(brokenFired.at(0).at(0).toInt(), late);
    }

    void runThatMustWakeSaysItCannot()
    {
        // The program as an ordinary user, beside the built helper (which has
        // no capability): a suspend with a resume time does not start, and says why.
        if (::geteuid() != 0)
            QSKIP("needs root to run as another user");
        QTemporaryDir home;
        QFile::setPermissions(home.path(), QFile::Permissions(0x7777));
        const QStringList via = QStringList{QStringLiteral("setpriv")} + kNobody;

        const zktest::Result explain = zktest::RunZenkoro({"--explain"}, home.path(), 30000, QString(), via);
        const QJsonObject wake = explain.json.value("Wake").toObject();
        QCOMPARE(wake.value("Possible").toBool(), false);
        QVERIFY2(!wake.value("Reason").toString().isEmpty(), qPrintable(zktest::Describe(explain)));

        // Not a dry run: the refusal must come before anything is asked of
        // the system, and no system bus is reachable anyway.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/zenkoro-test");
        const zktest::Result run = zktest::RunZenkoro({"-auto", "-standby", "-time", "1", "-resume", "20"}, home.path(), 20000,
                                                      QString(), via);
        qunsetenv("DBUS_SYSTEM_BUS_ADDRESS");
        QVERIFY2(run.exitCode > 0, qPrintable(zktest::Describe(run)));
        QVERIFY2(run.err.contains(QStringLiteral("復帰タイマーを設定できません")), qPrintable(zktest::Describe(run)));
        QVERIFY2(run.err.contains(wake.value("Reason").toString().left(10)), qPrintable(zktest::Describe(run)));
    }
};

QTEST_GUILESS_MAIN(TestTimerfdWakeTimer)
#include "tst_timerfd_wake_timer.moc"
