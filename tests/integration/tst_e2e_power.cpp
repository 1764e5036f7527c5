// End to end: the real zenkoro binary, headless, performs its power action
// through a logind-shaped service (python3-dbusmock's logind template) on a
// private system bus, and only through it.
#include <QDateTime>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#ifndef Q_MOC_RUN
#include "support/logind_mock.h"
#include "support/run_zenkoro.h"
#endif

#include <csignal>

using zktest::Describe;
using zktest::LogindMock;
using zktest::Result;

class TestE2ePower : public QObject {
    Q_OBJECT

    LogindMock m_mock;
    QTemporaryDir m_home;

    // A started zenkoro with the given arguments; its settings file is a
    // fresh, missing one, so the defaults apply.
    void start(QProcess &p, const QStringList &args) const
    {
        QProcessEnvironment env = zktest::ZenkoroEnvironment(m_home.path(), m_mock.environment());
        env.insert("LC_ALL", "C.UTF-8");
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("ZENKORO_BIN"), QStringList{"--conf", m_home.path() + "/Conf.txt"} + args);
    }

    Result run(const QStringList &args) const
    {
        QProcess p;
        start(p, args);
        return zktest::Finish(p, 60000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QFile::exists(qEnvironmentVariable("ZENKORO_BIN")));
        QVERIFY(m_home.isValid());
        QVERIFY2(m_mock.startBus(), qPrintable(m_mock.error()));
    }

    void init()
    {
        QVERIFY2(m_mock.startLogind(), qPrintable(m_mock.error()));
    }

    void actionReachesLogind_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("mockCode");  // the method's body in the mock; empty: the template's
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("notice");  // the retry notice, for a refusal
        const QStringList reboot{"-reboot"};
        QTest::newRow("reboot") << reboot << "" << QStringList{"Reboot"} << false;
        QTest::newRow("forced shutdown: non-interactive power off")
            << QStringList{"-shutdown", "-force"} << "" << QStringList{"PowerOff"} << false;
        const QString denied = LogindMock::raising("org.freedesktop.DBus.Error.AccessDenied");
        QTest::newRow("refused reboot is tried again") << reboot << denied << QStringList{"Reboot", "Reboot"} << true;
    }
    void actionReachesLogind()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, mockCode);
        QFETCH(QStringList, calls);
        QFETCH(bool, notice);
        if (!mockCode.isEmpty())
            QVERIFY(m_mock.addManagerMethod(calls[0], "b", "", mockCode));
        const double started = QDateTime::currentMSecsSinceEpoch() / 1000.0;
        const Result r = run(QStringList{"-auto"} + args + QStringList{"-time", "0", "-zero_time", "2"});
        QVERIFY2(notice ? r.exitCode >= 0 : r.exitCode == 0, qPrintable(Describe(r)));
        QCOMPARE(m_mock.powerCalls(), calls);
        QCOMPARE(m_mock.calls(calls[0])[0].args, QVariantList{!args.contains("-force")});
        // Never early: the target is two seconds after the start.
        const double delay = m_mock.loggedCalls(calls[0]).value(0).time - started;
        QVERIFY2(delay >= 1.9, qPrintable(QStringLiteral("%1 came %2 s after the start").arg(calls[0]).arg(delay)));
        QVERIFY2((r.out + r.err).contains("強制終了します。") == notice, qPrintable(Describe(r)));
    }

    // Hibernation asked for by -hibernation, or held by a settings file (where
    // it goes through the operation list's check as a choice from the list
    // would: refused, it keeps the operation selected before the file was read).
    void hibernationFollowsCanHibernate_data()
    {
        QTest::addColumn<bool>("fromFile");
        QTest::addColumn<QString>("canHibernate");
        QTest::addColumn<int>("operation");
        QTest::addColumn<bool>("message");  // the refusal on standard error
        QTest::newRow("option, disabled: reboot stays") << false << "no" << 1 << false;
        QTest::newRow("file, disabled: the default stays") << true << "no" << 0 << true;
    }
    void hibernationFollowsCanHibernate()
    {
        QFETCH(bool, fromFile);
        QFETCH(QString, canHibernate);
        QFETCH(int, operation);
        QFETCH(bool, message);
        QVERIFY2(m_mock.startLogind(QJsonObject{{"CanHibernate", canHibernate}}), qPrintable(m_mock.error()));
        QFile conf(m_home.path() + "/Conf.txt");
        QVERIFY(!fromFile || (conf.open(QIODevice::WriteOnly) && conf.write("-1,-1,3,\r\n") > 0));
        conf.close();
        const Result r = run(fromFile ? QStringList{"--explain"} : QStringList{"--explain", "-reboot", "-hibernation"});
        QVERIFY(!fromFile || conf.remove());
        QVERIFY2(r.exitCode == 0, qPrintable(Describe(r)));
        QCOMPARE(r.json.value("Operation").toInt(-1), operation);
        QCOMPARE(r.err.contains("無効: 「休止」は無効となっています。\n[電源のオプション]から「休止」を有効にして下さい。"), message);
        // The answer came from logind.
        QVERIFY(!m_mock.calls("CanHibernate").isEmpty());
    }

    // A stop signal during the countdown: the program ends without a request.
    void stopSignalTakesNoAction_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }
    void stopSignalTakesNoAction()
    {
        QFETCH(int, signalNumber);
        QProcess p;
        start(p, {"-auto", "-reboot", "-time", "1"});
        // Counting down once it prints.
        if (!p.waitForReadyRead(15000))
            QFAIL(qPrintable(Describe(zktest::Finish(p, 100))));
        ::kill(pid_t(p.processId()), signalNumber);
        const Result r = zktest::Finish(p, 30000);
        QVERIFY2(r.exitCode == 0, qPrintable(Describe(r)));
        QVERIFY(m_mock.powerCalls().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestE2ePower)
#include "tst_e2e_power.moc"
