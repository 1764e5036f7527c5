#include "platform/linux/portal_screen_capture.h"

#include "core/whole_file.h"
#include "platform/linux/x11_screen_capture.h"

#include <QBuffer>
#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QImage>
#include <QImageWriter>
#include <QPointer>
#include <QTimer>
#include <QUrl>

namespace zk {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kScreenshot = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

// The PNG of `uri` as a JPEG file at `file`; false when it cannot be read or written.
bool WriteAsJpeg(const QString &uri, const QString &file)
{
    const QUrl url(uri);
    if (!url.isLocalFile())
        return false;
    const QImage image(url.toLocalFile());
    if (image.isNull())
        return false;
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(kCaptureJpegQuality);
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32)))
        return false;
    buffer.close();
    return WriteWholeFile(file, jpeg);
}

}  // namespace

struct PortalScreenCapture::Pending {
    QString file;
    QPointer<QObject> context;
    bool hasContext = false;
    Done done;
    QString requestPath;  // known once the call answered
    QTimer *timer = nullptr;
};

PortalScreenCapture::PortalScreenCapture(QDBusConnection bus, int timeoutMs, QObject *parent)
    : QObject(parent), m_bus(std::move(bus)), m_timeoutMs(timeoutMs)
{
}

PortalScreenCapture::~PortalScreenCapture()
{
    qDeleteAll(m_pending);  // their timers go with this object
}

void PortalScreenCapture::captureToJpeg(const QString &name, QObject *context, Done done)
{
    const quint64 id = ++m_count;
    auto *p = new Pending{name + QStringLiteral(".jpg"), context, context != nullptr, std::move(done), QString(), nullptr};
    m_pending.insert(id, p);
    if (!m_bus.isConnected()) {
        finish(id, false);
        return;
    }
    // Every request's Response, before the call goes out: the answer of a
    // portal that does not ask the user may come right behind the call's reply.
    // The session bus connection is opened as a peer (session_bus.h), for
    // which Qt asks the bus for no signals: the match rule is sent here, as
    // an ordinary call that the bus handles before the Screenshot call.
    if (!m_listening) {
        m_listening = m_bus.connect(QString(), QString(), kRequest, QStringLiteral("Response"), this,
                                    SLOT(onResponse(QDBusMessage)));
        QDBusMessage match = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                            QStringLiteral("/org/freedesktop/DBus"),
                                                            QStringLiteral("org.freedesktop.DBus"),
                                                            QStringLiteral("AddMatch"));
        match << QStringLiteral("type='signal',interface='%1',member='Response'").arg(kRequest);
        m_bus.asyncCall(match, m_timeoutMs);
    }
    p->timer = new QTimer(this);
    p->timer->setSingleShot(true);
    connect(p->timer, &QTimer::timeout, this, [this, id] { finish(id, false); });
    p->timer->start(m_timeoutMs);

    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kScreenshot, QStringLiteral("Screenshot"));
    const QVariantMap options{{QStringLiteral("handle_token"), QStringLiteral("zenkoro%1").arg(id)},
                              {QStringLiteral("interactive"), false}};
    call << QString() << options;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, m_timeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, id](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        Pending *pending = m_pending.value(id);
        if (!pending)
            return;
        if (reply.isError()) {
            finish(id, false);
            return;
        }
        pending->requestPath = reply.value().path();
        const auto early = m_early.find(pending->requestPath);
        if (early != m_early.end()) {
            const QDBusMessage response = early.value();
            m_early.erase(early);
            onResponse(response);
        }
    });
}

void PortalScreenCapture::onResponse(const QDBusMessage &message)
{
    const QList<QVariant> args = message.arguments();
    if (args.size() < 2)
        return;
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
        if (it.value()->requestPath == message.path()) {
            answered(it.key(), args.at(0).toUInt(), qdbus_cast<QVariantMap>(args.at(1)));
            return;
        }
    }
    // Not ours yet, or never: kept only while a call of ours is unanswered.
    bool waiting = false;
    for (const Pending *p : std::as_const(m_pending))
        waiting = waiting || p->requestPath.isEmpty();
    if (waiting)
        m_early.insert(message.path(), message);
}

void PortalScreenCapture::answered(quint64 id, uint response, const QVariantMap &results)
{
    Pending *p = m_pending.value(id);
    // 0: success; 1: cancelled; 2: failed otherwise.
    const bool written = p && response == 0 && WriteAsJpeg(results.value(QStringLiteral("uri")).toString(), p->file);
    finish(id, written);
}

void PortalScreenCapture::finish(quint64 id, bool written)
{
    Pending *p = m_pending.take(id);
    if (!p)
        return;
    if (m_pending.isEmpty())
        m_early.clear();
    if (p->timer) {
        p->timer->stop();
        p->timer->deleteLater();
    }
    const bool contextGone = p->hasContext && !p->context;
    Done done = std::move(p->done);
    delete p;
    if (done && !contextGone)
        done(written);
}

}  // namespace zk
