// The screen capture of a Wayland session: the desktop portal
// (org.freedesktop.portal.Screenshot on the session bus) takes the picture,
// without asking, and hands back the URI of a PNG file; it is written again
// as the JPEG capture file. The portal's file is left where it is (it may be
// the user's own screenshot folder). No portal, a refusal, a cancelled or
// failed request, or no answer within the time limit: nothing is written.
#pragma once

#include "core/ports/capture.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QHash>
#include <QObject>

namespace zk {

class PortalScreenCapture final : public QObject, public ScreenCapture {
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 5000;
    // bus: the session bus (SessionBus()).
    explicit PortalScreenCapture(QDBusConnection bus, int timeoutMs = kDefaultTimeoutMs, QObject *parent = nullptr);
    ~PortalScreenCapture() override;

    void captureToJpeg(const QString &name, QObject *context, Done done) override;

private Q_SLOTS:
    void onResponse(const QDBusMessage &message);

private:
    struct Pending;
    void finish(quint64 id, bool written);
    void answered(quint64 id, uint response, const QVariantMap &results);

    QDBusConnection m_bus;
    int m_timeoutMs;
    bool m_listening = false;
    quint64 m_count = 0;
    QHash<quint64, Pending *> m_pending;
    // Responses whose request path was not known yet (the signal came before
    // the call's reply), by path.
    QHash<QString, QDBusMessage> m_early;
};

}  // namespace zk
