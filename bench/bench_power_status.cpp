// What the once-a-second power line costs: a read of the status kept from
// UPower's signals (python3-dbusmock's upower on a private system bus),
// next to the references of one blocking D-Bus question per read and of the
// kernel's power-supply folder.
#include "platform/linux/standins.h"
#include "platform/linux/upower_status.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <cstdio>

#include "support/logind_mock.h"
#include "support/upower_mock.h"

using namespace zk;

namespace {

template <typename F>
double MicrosecondsPer(int n, F f)
{
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < n; ++i)
        f();
    return t.nsecsElapsed() / 1000.0 / n;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    zktest::LogindMock bus;
    if (!bus.startBus()) {
        std::printf("no private bus: %s\n", qPrintable(bus.error()));
        return 1;
    }
    zktest::UPowerMock upower(bus);
    if (!upower.start({{"OnBattery", true}}) || !upower.setDisplay(true, 2, 50.0, 3600)) {
        std::printf("no upower mock: %s\n", qPrintable(upower.error()));
        return 1;
    }
    const QDBusConnection client = QDBusConnection::connectToBus(bus.busAddress(), QStringLiteral("zk-bench"));
    UPowerStatus status(client, nullptr);
    if (!zktest::LogindMock::waitFor([&] { return status.usingUPower(); }, 10000)) {
        std::printf("UPower did not answer\n");
        return 1;
    }
    PowerStatusRaw raw;
    const double cached = MicrosecondsPer(100000, [&] { status.read(raw); });
    const double blocking = MicrosecondsPer(200, [&] {
        QDBusMessage msg = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.UPower"),
                                                          QStringLiteral("/org/freedesktop/UPower"),
                                                          QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("Get"));
        msg.setArguments({QStringLiteral("org.freedesktop.UPower"), QStringLiteral("OnBattery")});
        client.call(msg, QDBus::Block, 5000);
    });
    SysfsPowerStatus sysfs;
    const double kernel = MicrosecondsPer(2000, [&] { sysfs.read(raw); });
    std::printf("power status read, kept from UPower's signals: %8.3f us\n", cached);
    std::printf("reference: one blocking D-Bus Get per read:     %8.3f us\n", blocking);
    std::printf("reference: /sys/class/power_supply per read:    %8.3f us\n", kernel);
    return 0;
}
