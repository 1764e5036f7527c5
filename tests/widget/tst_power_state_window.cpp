// frmPowerState and the main window's power line, over the real backends:
// python3-dbusmock's upower and logind templates on a private system bus.
#include "run/run_engine.h"
#include "platform/linux/logind_power.h"
#include "platform/linux/upower_status.h"
#include "platform/linux/system_clock.h"
#include "support/window_rig.h"
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
        m_upower->stop();
        w->close();
        QTRY_VERIFY(w.isNull());
    }

    // Without a system bus to ask the hibernation row reads "無効", from the
    // moment the window shows (a bus without logind refuses as logind's "no").
    void hibernationWithoutABus()
    {
        const QDBusConnection none = QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                                   QStringLiteral("zk-no-bus"));
        LogindPower logind(none);
        const std::unique_ptr<PowerStateWindow> w(PowerStateWindow::open(nullptr, &logind, nullptr));
        QCOMPARE(w->valueLabel(4)->text(), QStringLiteral("無効"));
        QTRY_COMPARE(w->valueLabel(0)->text(), QStringLiteral("非サポート"));
        QCoreApplication::processEvents();
        QCOMPARE(w->valueLabel(4)->text(), QStringLiteral("無効"));
    }

    // Closed in any way, the window gives the main window its input back.
    void closingGivesTheMainWindowItsInputBack_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("Escape") << 1;
        QTest::newRow("window manager") << 2;
        QTest::newRow("deleted") << 3;
    }
    void closingGivesTheMainWindowItsInputBack()
    {
        QFETCH(int, way);
        WindowRig r(QDateTime::currentDateTime(), false);
        r.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(r.window.get()));
        auto *extended = r.w<QCheckBox>(QStringLiteral("chk拡張"));
        QPointer<PowerStateWindow> w = PowerStateWindow::open(nullptr, &r.fake.power, r.window.get());
        QVERIFY(QTest::qWaitForWindowExposed(w.data()));
        // Clicked through the window system, where modality blocks input.
        const auto click = [&] {
            QTest::mouseClick(r.window->windowHandle(), Qt::LeftButton, {},
                              extended->mapTo(r.window.get(), extended->rect().center()));
        };
        const bool ticked = extended->isChecked();
        click();
        QCOMPARE(extended->isChecked(), ticked);  // the window is modal while it is open
        switch (way) {
        case 1:
            QTest::keyClick(w, Qt::Key_Escape);
            break;
        case 2: {
            QCloseEvent e;
            QApplication::sendEvent(w->windowHandle(), &e);
            break;
        }
        case 3:
            delete w;
            break;
        }
        QTRY_VERIFY(w.isNull());

        QVERIFY(!QApplication::activeModalWidget());
        click();
        QCOMPARE(extended->isChecked(), !ticked);
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
        window.findChild<QCheckBox *>(QStringLiteral("chk監視"))->click();
        window.findChild<QRadioButton *>(QStringLiteral("opt監視選択_2"))->click();
        QTRY_COMPARE(label->text(), QStringLiteral("AC電源"));
        QVERIFY(m_upower->setOnBattery(true));
        QTRY_COMPARE(label->text(), QStringLiteral("バッテリ"));

        QSignalSpy requested(&window, &MainWindow::powerStateRequested);
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdDspPowerState")), Qt::LeftButton);
        QCOMPARE(requested.count(), 1);
        m_upower->stop();
    }
};

QTEST_MAIN(TestPowerStateWindow)
#include "tst_power_state_window.moc"
