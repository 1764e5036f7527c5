// The input method switch of the command input form against an object with
// Fcitx 5's controller interface (python3-dbusmock) on a private bus, and
// against a bus where no input method runs.
#include "platform/linux/fcitx5_input_method.h"
#ifndef Q_MOC_RUN
#include "support/logind_mock.h"
#endif

#include <QtTest>

using namespace zk;

namespace {

const QString kService = QStringLiteral("org.fcitx.Fcitx5");
const QString kPath = QStringLiteral("/controller");
const QString kController = QStringLiteral("org.fcitx.Fcitx.Controller1");
const QString kMock = QStringLiteral("org.freedesktop.DBus.Mock");

// The answer of querySwitchable, waited for in the event loop.
std::optional<bool> AskSwitchable(Fcitx5InputMethod &im)
{
    std::optional<bool> answer;
    QObject context;
    im.querySwitchable(&context, [&](bool s) { answer = s; });
    (void)QTest::qWaitFor([&] { return answer.has_value(); }, 10000);
    return answer;
}

}  // namespace

class TestFcitx5InputMethod : public QObject {
    Q_OBJECT
private slots:
    void switchesFcitx5AndSaysNoWithoutIt()
    {
        zktest::LogindMock bus;  // only its private bus is used
        QVERIFY2(bus.startBus(), qPrintable(bus.error()));
        Fcitx5InputMethod im(bus.connection());

        // Nobody owns the name: not switchable, and calls go nowhere.
        QCOMPARE(AskSwitchable(im), std::optional<bool>(false));
        im.setOpen(true);

        std::unique_ptr<QProcess> mock = zktest::StartDBusMock(bus.environment(), {"--system", kService, kPath, kController});
        QVERIFY(mock);
        QDBusConnection c = bus.connection();
        QVERIFY(QTest::qWaitFor([&] { return c.interface()->isServiceRegistered(kService).value(); }, 20000));
        for (const auto &[name, out, code] :
             {std::tuple{"State", "i", "ret = 1"}, std::tuple{"Activate", "", ""}, std::tuple{"Deactivate", "", ""}}) {
            QDBusMessage add = QDBusMessage::createMethodCall(kService, kPath, kMock, QStringLiteral("AddMethod"));
            add.setArguments({kController, QString::fromLatin1(name), QString(), QString::fromLatin1(out),
                              QString::fromLatin1(code)});
            QCOMPARE(c.call(add, QDBus::Block, 10000).type(), QDBusMessage::ReplyMessage);
        }

        QCOMPARE(AskSwitchable(im), std::optional<bool>(true));
        im.setOpen(true);
        im.setOpen(false);
        QStringList called;
        QVERIFY(QTest::qWaitFor(
            [&] {
                called.clear();
                for (const zktest::MockCall &call : zktest::MockCalls(c, kService, kPath))
                    if (call.method != u"State")
                        called << call.method;
                return called.contains(QStringLiteral("Deactivate"));
            },
            10000));
        QCOMPARE(called, (QStringList{"Activate", "Deactivate"}));

        zktest::StopProcess(mock);
    }
};

QTEST_GUILESS_MAIN(TestFcitx5InputMethod)
#include "tst_fcitx5_input_method.moc"
