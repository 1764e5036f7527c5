// The power status: the texts of a raw status, the raw status made from
// UPower's values and from the kernel's power-supply entries, and the rows of
// the status window.
#include "monitors/power_raw.h"
#include "monitors/power_state_panel.h"
#include "monitors/power_texts.h"
#include "platform/linux/standins.h"
#include "support/fake/fake_services.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace zk;

namespace {

QList<qint64> Fields(const PowerStatusRaw &raw)
{
    return {raw.acLine, raw.batteryFlag, raw.lifePercent, raw.lifeSeconds};
}

}  // namespace

class TestPowerStatus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void texts_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("percent");
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("battery high charging") << 0 << 9 << 100 << qint64(-1)
                                               << QStringList{"バッテリ", "充電中", "100%", "不明"};
        QTest::newRow("no battery wins") << 1 << 128 + 8 << 255 << qint64(-1)
                                         << QStringList{"AC電源", "バッテリなし", "不明", "不明"};
        QTest::newRow("unknown line, flag 0") << 255 << 0 << 50 << qint64(3600)
                                              << QStringList{"不明", "不明", "50%", "3600秒"};
        QTest::newRow("high") << 1 << 1 << 90 << qint64(-1) << QStringList{"AC電源", "多い", "90%", "不明"};
        QTest::newRow("low") << 0 << 2 << 20 << qint64(120) << QStringList{"バッテリ", "少い", "20%", "120秒"};
        QTest::newRow("critical") << 0 << 4 << 3 << qint64(60) << QStringList{"バッテリ", "微量", "3%", "60秒"};
        QTest::newRow("flag unknown") << 7 << 255 << 255 << qint64(-1) << QStringList{"不明", "バッテリなし", "不明", "不明"};
    }
    void texts()
    {
        QFETCH(int, line);
        QFETCH(int, flag);
        QFETCH(int, percent);
        QFETCH(qint64, seconds);
        QFETCH(QStringList, texts);
        const PowerStatusTexts t = PowerStatusTextsFrom(PowerStatusRaw{line, flag, percent, seconds});
        QCOMPARE((QStringList{t.line, t.charge, t.percent, t.seconds}), texts);
    }

    void fromUPower_data()
    {
        QTest::addColumn<int>("onBattery");  // -1: the manager did not answer
        QTest::addColumn<bool>("display");
        QTest::addColumn<bool>("present");
        QTest::addColumn<int>("state");
        QTest::addColumn<double>("percentage");
        QTest::addColumn<qint64>("timeToEmpty");
        QTest::addColumn<QList<qint64>>("raw");  // line, flag, percent, seconds
        QTest::newRow("discharging, half to even up") << 1 << true << true << 2 << 57.5 << qint64(3600)
                                                     << QList<qint64>{0, 0, 58, 3600};
        QTest::newRow("low") << 1 << true << true << 2 << 20.0 << qint64(0) << QList<qint64>{0, 2, 20, -1};
        QTest::newRow("critical") << 1 << true << true << 2 << 3.2 << qint64(30) << QList<qint64>{0, 4, 3, 30};
        QTest::newRow("mains, charging: no remaining time")
            << 0 << true << true << 1 << 80.0 << qint64(500) << QList<qint64>{1, 9, 80, -1};
        QTest::newRow("no battery") << 0 << true << false << 0 << 0.0 << qint64(0) << QList<qint64>{1, 128, 255, -1};
        QTest::newRow("no display device") << 1 << false << false << 0 << 0.0 << qint64(0)
                                           << QList<qint64>{0, 255, 255, -1};
        QTest::newRow("manager silent") << -1 << true << true << 2 << 50.0 << qint64(100)
                                        << QList<qint64>{255, 0, 50, -1};
        QTest::newRow("out of range") << 1 << true << true << 2 << 120.0 << qint64(1) << QList<qint64>{0, 1, 100, 1};
    }
    void fromUPower()
    {
        QFETCH(int, onBattery);
        QFETCH(bool, display);
        QFETCH(bool, present);
        QFETCH(int, state);
        QFETCH(double, percentage);
        QFETCH(qint64, timeToEmpty);
        QFETCH(QList<qint64>, raw);
        UPowerValues v;
        if (onBattery >= 0)
            v.onBattery = onBattery == 1;
        v.haveDisplay = display;
        v.isPresent = present;
        v.state = quint32(state);
        v.percentage = percentage;
        v.timeToEmpty = timeToEmpty;
        QCOMPARE(Fields(RawFromUPower(v)), raw);
    }

    // The kernel's entries, as "folder/file=content" lines.
    void sysfs_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QList<qint64>>("raw");  // line, flag, percent, seconds
        const QStringList acOff{"AC/type=Mains", "AC/online=0"};
        const QStringList acOn{"AC/type=Mains", "AC/online=1"};
        QTest::newRow("nothing: a desktop") << QStringList() << QList<qint64>{1, 128, 255, -1};
        QTest::newRow("laptop on battery")
            << acOff + QStringList{"BAT0/type=Battery", "BAT0/present=1", "BAT0/status=Discharging",
                                   "BAT0/capacity=80", "BAT0/energy_now=40000000", "BAT0/power_now=10000000"}
            << QList<qint64>{0, 1, 80, 4 * 3600};
        QTest::newRow("remaining time from charge and current")
            << acOff + QStringList{"BAT0/type=Battery", "BAT0/status=Discharging", "BAT0/capacity=20",
                                   "BAT0/charge_now=2000000", "BAT0/current_now=1000000"}
            << QList<qint64>{0, 2, 20, 7200};
        // Absurd amounts saturate at the largest remaining time; a negative one tells nothing.
        const QStringList discharging{"BAT0/type=Battery", "BAT0/status=Discharging", "BAT0/capacity=80"};
        QTest::newRow("energy near the 64-bit limit")
            << acOff + discharging + QStringList{"BAT0/energy_now=9223372036854775000", "BAT0/power_now=1"}
            << QList<qint64>{0, 1, 80, 0x7fffffff};
        QTest::newRow("negative energy")
            << acOff + discharging + QStringList{"BAT0/energy_now=-40000000", "BAT0/power_now=10000000"}
            << QList<qint64>{0, 1, 80, -1};
        QTest::newRow("charging on mains")
            << acOn + QStringList{"BAT0/type=Battery", "BAT0/status=Charging", "BAT0/capacity=50"}
            << QList<qint64>{1, 8, 50, -1};
        QTest::newRow("battery taken out") << acOn + QStringList{"BAT0/type=Battery", "BAT0/present=0"}
                                           << QList<qint64>{1, 128, 255, -1};
        QTest::newRow("mains offline, battery not charging")
            << acOff + QStringList{"BAT0/type=Battery", "BAT0/status=Not charging", "BAT0/capacity=90"}
            << QList<qint64>{0, 1, 90, -1};
        QTest::newRow("offline USB port beside online mains")
            << acOn + QStringList{"ucsi/type=USB", "ucsi/online=0", "BAT0/type=Battery", "BAT0/status=Full",
                                  "BAT0/capacity=100"}
            << QList<qint64>{1, 1, 100, -1};
        // A wireless mouse's battery is no battery of the machine.
        QTest::newRow("desktop with a mouse battery")
            << QStringList{"hid/type=Battery", "hid/scope=Device", "hid/status=Discharging", "hid/capacity=30"}
            << QList<qint64>{1, 128, 255, -1};
        // Without a mains entry only the battery tells: charging means mains,
        // a full battery tells nothing.
        QTest::newRow("charging, no mains entry")
            << QStringList{"BAT0/type=Battery", "BAT0/status=Charging", "BAT0/capacity=40"}
            << QList<qint64>{1, 8, 40, -1};
        QTest::newRow("full, no mains entry") << QStringList{"BAT0/type=Battery", "BAT0/status=Full",
                                                             "BAT0/capacity=100"}
                                              << QList<qint64>{255, 1, 100, -1};
    }
    void sysfs()
    {
        QFETCH(QStringList, files);
        QFETCH(QList<qint64>, raw);
        QTemporaryDir root;
        for (const QString &line : files) {
            const QString rel = line.section(QLatin1Char('='), 0, 0);
            QVERIFY(QDir(root.path()).mkpath(rel.section(QLatin1Char('/'), 0, 0)));
            QFile f(root.filePath(rel));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(line.section(QLatin1Char('='), 1).toUtf8() + "\n");
        }
        PowerStatusRaw read;
        SysfsPowerStatus status(root.path());
        QCOMPARE(status.read(read), kPowerStatusOk);
        QCOMPARE(Fields(read), raw);
    }

    // Each refresh of the status window; a failed read keeps rows 1 to 3.
    void panelRows_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("hibernation");
        QTest::addColumn<QStringList>("rows");
        const QStringList before{"AC電源", "多い", "90%", "不明"};
        QTest::newRow("read") << kPowerStatusOk << true << QStringList{"バッテリ", "少い", "20%", "600秒", "有効"};
        QTest::newRow("unsupported") << kPowerStatusUnsupported << false
                                     << QStringList{"非サポート", "多い", "90%", "不明", "無効"};
        QTest::newRow("failed") << kPowerStatusFailed << true << QStringList{"エラー", "多い", "90%", "不明", "有効"};
    }
    void panelRows()
    {
        QFETCH(int, result);
        QFETCH(bool, hibernation);
        QFETCH(QStringList, rows);
        FakePowerStatus status;
        FakeSessionPower power;
        power.hibernation = !hibernation;
        status.raw = PowerStatusRaw{1, 1, 90, -1};
        PowerStatePanel panel(&status, &power);
        panel.refresh();
        status.result = result;
        status.raw = PowerStatusRaw{0, 2, 20, 600};
        power.hibernation = hibernation;
        QSignalSpy changed(&panel, &PowerStatePanel::valuesChanged);
        panel.refresh();
        QVERIFY(!changed.isEmpty());
        const auto &v = panel.values();
        QCOMPARE((QStringList{v[0], v[1], v[2], v[3], v[4]}), rows);
    }

    // A hibernation answer slower than the refresh is not asked for again.
    void panelAsksOnceAtATime()
    {
        FakePowerStatus status;
        FakeSessionPower power;
        power.holdAnswers = true;
        PowerStatePanel panel(&status, &power);
        panel.refresh();
        panel.refresh();
        QCOMPARE(power.answerHeld(), 1);
        QCOMPARE(panel.values()[4], QStringLiteral("有効"));
        panel.refresh();
        QCOMPARE(power.answerHeld(), 1);
    }
};

QTEST_GUILESS_MAIN(TestPowerStatus)
#include "tst_power_status.moc"
