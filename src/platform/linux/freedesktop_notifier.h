// Notices through the desktop's notification service
// (org.freedesktop.Notifications on the session bus). Every call is
// asynchronous: without a service the notice is simply not shown, and
// nothing waits for the bus.
#pragma once

#include "core/ports/desktop_notifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <optional>

namespace zk {

class FreedesktopNotifier final : public DesktopNotifier {
    Q_OBJECT
public:
    using DesktopNotifier::DesktopNotifier;

    void notify(const DesktopNotification &notice, std::function<void(quint32 id)> sent) override;
    void close(quint32 id) override;

private Q_SLOTS:
    void onActionInvoked(const QDBusMessage &message);

private:
    // The session bus, opened and subscribed to the service's action signal
    // on first use; nullopt when there is none.
    const QDBusConnection *bus();

    std::optional<QDBusConnection> m_bus;
    bool m_busTried = false;
    QString m_serviceOwner;  // the unique name that took the last notice
};

}  // namespace zk
