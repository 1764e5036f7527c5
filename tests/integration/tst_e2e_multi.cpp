// End to end: the real zenkoro binary runs a multi schedule from its
// settings file against python3-dbusmock's logind on a private system bus,
// started by faketime at a chosen wall-clock time (monotonic time real, so
// that the timers run normally).
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#ifndef Q_MOC_RUN
#include "support/logind_mock.h"
#include "support/run_zenkoro.h"
#endif

using zktest::Describe;
using zktest::LogindMock;
using zktest::Result;

class TestE2eMulti : public QObject {
    Q_OBJECT

    LogindMock m_mock;
    QTemporaryDir m_home;
    QString m_faketime;

    // A settings file with these multi rows ({hour, minute, operation, application} each).
    bool writeConf(const QList<QStringList> &rows) const
    {
        QStringList f(310);
        f[9] = "1";   // MultiEnabled
        f[41] = "1";  // ResumeKeepState: the schedule goes on after a wake-up
        for (int r = 0; r < rows.size(); ++r)
            for (int k = 0; k < 4; ++k)
                f[109 + 10 * r + k] = rows[r].value(k);
        QFile conf(m_home.path() + "/Conf.txt");
        return conf.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               conf.write((f.join(',') + ",\r\n").toUtf8()) > 0;
    }

    // zenkoro started at the fake local time `at`.
    void start(QProcess &p, const QString &at) const
    {
        QProcessEnvironment env = zktest::ZenkoroEnvironment(m_home.path(), m_mock.environment());
        env.insert("LC_ALL", "C.UTF-8");
        zktest::PreloadFaketime(env, m_faketime, at);
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("ZENKORO_BIN"), {"--conf", m_home.path() + "/Conf.txt", "-auto"});
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_faketime = zktest::FaketimeLibrary();
        QVERIFY2(!m_faketime.isEmpty(), "faketime is not installed (./zk installs it)");
        QVERIFY2(m_mock.startBus() && m_mock.startLogind(), qPrintable(m_mock.error()));
    }

    // Rows in reverse order: sleep at 22:59 waking at 23:00 with an
    // application, power off at 23:01. One Suspend, the application after
    // the wake time, one PowerOff, and the program ends.
    void sleepWakeShutdown()
    {
        const QString marker = m_home.path() + "/launched";
        QFile::remove(marker);
        QVERIFY(writeConf({{"23", "1", "シャットダウン", ""},
                           {"23", "0", "復帰", "/usr/bin/touch " + marker},
                           {"22", "59", "スリープ", ""}}));
        QProcess p;
        start(p, "2026-12-07 22:58:55");
        if (!LogindMock::waitFor([this] { return !m_mock.calls("Suspend").isEmpty(); }, 30000))
            QFAIL(qPrintable(Describe(zktest::Finish(p, 100))));
        QCOMPARE(m_mock.powerCalls(), QStringList{"Suspend"});
        // The machine sleeps and comes back; the wake time has not come yet.
        QVERIFY(m_mock.emitPrepareForSleep(true));
        QVERIFY(m_mock.emitPrepareForSleep(false));
        QVERIFY(!p.waitForFinished(3000));
        QVERIFY(!QFile::exists(marker));
        // 23:00: the application starts; nothing else happens before 23:01.
        if (!LogindMock::waitFor([&] { return QFile::exists(marker); }, 80000))
            QFAIL(qPrintable(Describe(zktest::Finish(p, 100))));
        QCOMPARE(m_mock.powerCalls(), QStringList{"Suspend"});
        const Result r = zktest::Finish(p, 90000);
        QVERIFY2(r.exitCode == 0, qPrintable(Describe(r)));
        QCOMPARE(m_mock.powerCalls(), (QStringList{"Suspend", "PowerOff"}));
        // Each step printed its line as its countdown began, in time order.
        const qsizetype sleepLine = r.out.indexOf(QStringLiteral("連続指定 1/2: 12月07日 22時59分 スリープ 復帰 12月07日 23時00分"));
        const qsizetype offLine = r.out.indexOf(QStringLiteral("連続指定 2/2: 12月07日 23時01分 シャットダウン"));
        QVERIFY2(sleepLine >= 0 && offLine > sleepLine, qPrintable(Describe(r)));
        // The PowerOff came at 23:01 of the fake clock: about a minute after the wake time.
        const double gap = m_mock.loggedCalls("PowerOff").value(0).time - m_mock.loggedCalls("Suspend").value(0).time;
        QVERIFY2(gap > 115, qPrintable(QString::number(gap)));
    }
};

QTEST_GUILESS_MAIN(TestE2eMulti)
#include "tst_e2e_multi.moc"
