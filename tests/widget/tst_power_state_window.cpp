// frmPowerState and the main window's power line, over the real backends:
// python3-dbusmock's upower and logind templates on a private system bus.
#include "core/run_engine.h"
#include "platform/linux/logind_power.h"
#include "platform/linux/upower_status.h"
#include "platform/linux/system_clock.h"
#include "support/fake/fake_services.h"
#include "support/fake/fake_window_services.h"
#include "ui/main_window.h"
#include "ui/power_state_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#ifndef Q_MOC_RUN
#include "support/logind_mock.h"
#include "support/upower_mock.h"
#endif

using namespace zk;
using zktest::LogindMock;
using zktest::UPowerMock;

class TestPowerStateWindow : public QObject {
    Q_OBJECT

    LogindMock m_bus;
    std::unique_ptr<UPowerMock> m_upower;
    std::unique_ptr<QDBusConnection> m_client;

    static QStringList rows(const PowerStateWindow &w)
    {
        QStringList r;
        for (int row = 0; row < PowerStatePanel::kRows; ++row)
            r << w.valueLabel(row)->text();
        return r;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_bus.startBus(), qPrintable(m_bus.error()));
        QVERIFY2(m_bus.startLogind({{"CanHibernate", "no"}}), qPrintable(m_bus.error()));
        m_upower = std::make_unique<UPowerMock>(m_bus);
        m_client = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(m_bus.busAddress(), QStringLiteral("zk-window-client")));
        QVERIFY(m_client->isConnected());
    }

    void showsTheServicesValues()
    {
        QVERIFY2(m_upower->start({{"OnBattery", true}}), qPrintable(m_upower->error()));
        QVERIFY(m_upower->setDisplay(true, 2, 80.4, 5400));
        UPowerStatus status(*m_client, nullptr);
        LogindPower logind(*m_client);
        QPointer<PowerStateWindow> w = PowerStateWindow::open(&status, &logind, nullptr);
        QVERIFY(w->isVisible());
        QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
        QTRY_COMPARE(rows(*w), (QStringList{"バッテリ", "多い", "80%", "5400秒", "無効"}));

        // The next refresh shows the change.
        QVERIFY(m_upower->setOnBattery(false));
        QVERIFY(m_upower->setDisplay(true, 1, 81.0, 0));
        QTRY_COMPARE(rows(*w), (QStringList{"AC電源", "充電中", "81%", "不明", "無効"}));

        // UPower gone and nothing else to ask: the first row says so, the others stay.
        m_upower->stop();
        QTRY_COMPARE(rows(*w), (QStringList{"非サポート", "充電中", "81%", "不明", "無効"}));
        w->close();
        QTRY_VERIFY(w.isNull());
    }

    // The status label beside the battery settings follows the power line
    // every second while the battery kind is selected; its button asks for
    // the status window.
    void mainWindowLineFollowsUPower()
    {
        QVERIFY2(m_upower->start({{"OnBattery", false}}), qPrintable(m_upower->error()));
        UPowerStatus status(*m_client, nullptr);
        AppState state;
        SystemClock clock;
        FakeSessionPower power;
        FakeWindowServices answers(power, state);
        PlatformServices services;
        services.power = &power;
        services.powerStatus = &status;
        MainWindow window(state, clock, answers);
        RunEngine engine(state, clock, services, &window);
        window.attachEngine(&engine);
        window.show();
        auto *label = window.findChild<QLabel *>(QStringLiteral("lblStatus"));
        QVERIFY(label);
        window.findChild<QCheckBox *>(QStringLiteral("chk監視"))->click();
        window.findChild<QRadioButton *>(QStringLiteral("opt監視選択_2"))->click();
        QTRY_COMPARE(label->text(), QStringLiteral("AC電源"));
        QVERIFY(m_upower->setOnBattery(true));
        QTRY_COMPARE(label->text(), QStringLiteral("バッテリ"));

        QSignalSpy requested(&window, &MainWindow::powerStateRequested);
        auto *button = window.findChild<QPushButton *>(QStringLiteral("cmdDspPowerState"));
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(requested.count(), 1);
        m_upower->stop();
    }
};

QTEST_MAIN(TestPowerStateWindow)
#include "tst_power_state_window.moc"
