// The power status and the idle time read from real services: python3-dbusmock's
// upower and logind templates on a private system bus, and the kernel's
// power-supply layout in a temporary folder where UPower is missing.
#include "app/window_services.h"
#include "monitors/power_texts.h"
#include "platform/linux/logind_idle.h"
#include "platform/linux/standins.h"
#include "platform/linux/upower_status.h"

#include <QTemporaryDir>
#include <QtTest>

#ifndef Q_MOC_RUN
#include "support/logind_mock.h"
#include "support/upower_mock.h"
#endif

using namespace zk;
using zktest::LogindMock;
using zktest::UPowerMock;

namespace {

// The four texts of a read, or the read's failure code.
QStringList Texts(PowerStatus &status)
{
    PowerStatusRaw raw;
    const int r = status.read(raw);
    if (r != kPowerStatusOk)
        return {QString::number(r)};
    const PowerStatusTexts t = PowerStatusTextsFrom(raw);
    return {t.line, t.charge, t.percent, t.seconds};
}

}  // namespace

class TestUPowerStatus : public QObject {
    Q_OBJECT

    LogindMock m_bus;
    std::unique_ptr<UPowerMock> m_upower;
    std::unique_ptr<QDBusConnection> m_client;
    QTemporaryDir m_sysfs;  // a laptop on battery in the kernel's power-supply layout

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_bus.startBus(), qPrintable(m_bus.error()));
        m_upower = std::make_unique<UPowerMock>(m_bus);
        m_client = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(m_bus.busAddress(), QStringLiteral("zk-upower-client")));
        const QList<QPair<QString, QByteArray>> files{
            {"AC/type", "Mains"}, {"AC/online", "0"}, {"BAT0/type", "Battery"},
            {"BAT0/status", "Discharging"}, {"BAT0/capacity", "15"}};
        for (const auto &[rel, content] : files) {
            QDir(m_sysfs.path()).mkpath(rel.section('/', 0, 0));
            QFile f(m_sysfs.filePath(rel));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content + "\n");
        }
    }

    void cleanup() { m_upower->stop(); }

    // Without UPower the kernel's entries are read; UPower coming, its changes
    // and its going are followed.
    void followsUPowerAndFallsBack()
    {
        SysfsPowerStatus sysfs(m_sysfs.path());
        UPowerStatus status(*m_client, &sysfs);
        const QStringList fromSysfs{"バッテリ", "少い", "15%", "不明"};
        QTRY_COMPARE(Texts(status), fromSysfs);
        QVERIFY2(m_upower->start({{"OnBattery", false}}), qPrintable(m_upower->error()));
        QTRY_COMPARE(Texts(status), (QStringList{"AC電源", "バッテリなし", "不明", "不明"}));
        QVERIFY(status.usingUPower());
        QSignalSpy changed(&status, &UPowerStatus::statusChanged);
        QVERIFY(m_upower->setOnBattery(true));
        QVERIFY(m_upower->setDisplay(true, 2, 80.4, 5400));
        QTRY_COMPARE(Texts(status), (QStringList{"バッテリ", "多い", "80%", "5400秒"}));
        QVERIFY(!changed.isEmpty());
        m_upower->stop();
        QTRY_COMPARE(Texts(status), fromSysfs);

        // Without a system bus there is nothing to read, nor an idle time.
        SysfsPowerStatus none(m_sysfs.filePath("nowhere"));
        UPowerStatus neither(QDBusConnection(QStringLiteral("zk-never-connected")), &none);
        QCOMPARE(Texts(neither), QStringList{QString::number(kPowerStatusUnsupported)});
        LogindUserIdle idle(QDBusConnection(QStringLiteral("zk-never-connected")));
        QCOMPARE(idle.idleMilliseconds(), qint64(-1));
    }

    // UPower answers after the window is built: whether the battery kind can
    // be chosen follows that answer, not the kernel's entries read first.
    void noBatteryFollowsTheLaterAnswer()
    {
        QTemporaryDir desktop;  // kernel entries without a battery
        SysfsPowerStatus sysfs(desktop.path());
        UPowerStatus status(*m_client, &sysfs);
        QObject window;
        QList<bool> told;
        FollowNoBattery(status, &window, [&](bool noBattery) { told << noBattery; });
        QCOMPARE(told, QList<bool>{true});
        QVERIFY2(m_upower->start({{"OnBattery", true}}), qPrintable(m_upower->error()));
        QVERIFY(m_upower->setDisplay(true, 2, 20.0, 900));
        QTRY_COMPARE(told.last(), false);
    }

    // logind's session hint: active -> 0; idle since a time -> the time since then.
    void idleFromLogindSession()
    {
        QVERIFY2(m_bus.startLogind(), qPrintable(m_bus.error()));
        QVERIFY(m_bus.addSession("c7"));
        // This process is in no session of the mock: the environment names it.
        qputenv("XDG_SESSION_ID", "c7");
        LogindUserIdle idle(*m_client);
        QCOMPARE(idle.idleMilliseconds(), qint64(-1));  // the first question starts the lookup
        QTRY_COMPARE(idle.sessionPath(), QStringLiteral("/org/freedesktop/login1/session/c7"));
        QTRY_COMPARE(idle.idleMilliseconds(), qint64(0));

        QVERIFY(m_bus.setSessionIdleFor("c7", 600));
        QTRY_VERIFY(idle.idleMilliseconds() >= 600'000);
        QVERIFY(idle.idleMilliseconds() < 3'600'000);

        // Back at the keyboard.
        QVERIFY(m_bus.setSession("c7", "IdleHint", false));
        QTRY_COMPARE(idle.idleMilliseconds(), qint64(0));
        m_bus.stopLogind();
        qunsetenv("XDG_SESSION_ID");
    }
};

QTEST_GUILESS_MAIN(TestUPowerStatus)
#include "tst_upower_status.moc"
