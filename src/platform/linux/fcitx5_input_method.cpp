#include "platform/linux/fcitx5_input_method.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPointer>

namespace zk {

namespace {

const QString kService = QStringLiteral("org.fcitx.Fcitx5");
const QString kPath = QStringLiteral("/controller");
const QString kInterface = QStringLiteral("org.fcitx.Fcitx.Controller1");
constexpr int kTimeoutMs = 2000;

}  // namespace

Fcitx5InputMethod::Fcitx5InputMethod(QDBusConnection bus) : m_bus(std::move(bus)) {}

void Fcitx5InputMethod::querySwitchable(QObject *context, std::function<void(bool)> answer)
{
    if (!m_bus.isConnected()) {
        answer(false);
        return;
    }
    // Without Fcitx 5 the bus answers at once that nobody owns the name.
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("State"));
    call.setAutoStartService(false);  // an input method is not started on our behalf
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [answer = std::move(answer)](QDBusPendingCallWatcher *w) {
                         const QDBusPendingReply<int> reply = *w;
                         w->deleteLater();
                         answer(!reply.isError());
                     });
}

void Fcitx5InputMethod::setOpen(bool open)
{
    if (!m_bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                       open ? QStringLiteral("Activate") : QStringLiteral("Deactivate"));
    call.setAutoStartService(false);
    m_bus.asyncCall(call, kTimeoutMs);
}

}  // namespace zk
