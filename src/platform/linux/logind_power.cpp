#include "platform/linux/logind_power.h"
#include "platform/linux/logind_names.h"

#include "platform/linux/x11_dpms.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QPointer>
#include <QTimer>

#include <unistd.h>

namespace zk {

namespace {

using namespace logind;

// logind escapes session ids in object paths: every byte that is not
// [A-Za-z0-9] becomes "_" and two hex digits.
QString UnescapePathLabel(const QString &label)
{
    QByteArray in = label.toLatin1();
    QByteArray out;
    for (int i = 0; i < in.size(); ++i) {
        if (in[i] == '_' && i + 2 < in.size()) {
            bool ok = false;
            const int value = in.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                out.append(char(value));
                i += 2;
                continue;
            }
        }
        out.append(in[i]);
    }
    return QString::fromUtf8(out);
}

}  // namespace

LogindPower::LogindPower(QObject *parent) : LogindPower(QDBusConnection::systemBus(), parent) {}

LogindPower::LogindPower(const QDBusConnection &bus, QObject *parent) : SessionPower(parent), m_bus(bus)
{
    // Subscribed for the whole lifetime, so that the end of a sleep is never
    // missed between the Suspend call and the subscription.
    if (m_bus.isConnected())
        m_bus.connect(kService, kPath, kManager, QStringLiteral("PrepareForSleep"), this,
                      SLOT(onPrepareForSleep(bool)));
}

LogindPower::~LogindPower()
{
    if (m_bus.isConnected())
        m_bus.disconnect(kService, kPath, kManager, QStringLiteral("PrepareForSleep"), this,
                         SLOT(onPrepareForSleep(bool)));
}

void LogindPower::send(const QDBusMessage &msg, QObject *context, ReplyHandler handler)
{
    // A disconnected bus answers with an error through the watcher as well.
    const QDBusPendingCall call = m_bus.asyncCall(msg, m_timeoutMs);
    auto *watcher = new QDBusPendingCallWatcher(call, this);
    ++m_pending;
    const QPointer<QObject> guard(context);
    const bool guarded = context != nullptr;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, guard, guarded, handler = std::move(handler)] {
                watcher->deleteLater();
                --m_pending;
                if (guarded && !guard)
                    return;
                handler(watcher->reply());
            });
}

void LogindPower::callManager(const QString &method, const QVariantList &args, QObject *context,
                              ReplyHandler handler)
{
    QDBusMessage msg = QDBusMessage::createMethodCall(kService, kPath, kManager, method);
    msg.setArguments(args);
    send(msg, context, std::move(handler));
}

bool LogindPower::accepted(const QDBusMessage &reply)
{
    if (reply.type() == QDBusMessage::ReplyMessage) {
        m_lastError.clear();
        return true;
    }
    if (!m_bus.isConnected())
        m_lastError = QStringLiteral("no system bus: %1").arg(m_bus.lastError().message());
    else
        m_lastError = reply.errorName().isEmpty() ? QStringLiteral("no reply")
                                                  : reply.errorName() + QStringLiteral(": ") + reply.errorMessage();
    return false;
}

void LogindPower::findOwnSession(QObject *context, std::function<void(const QString &id)> found)
{
    // Not in a session of its own (started from a service or a cron job):
    // the session the environment names is the one the user means.
    const auto fallback = [found] { found(qEnvironmentVariable("XDG_SESSION_ID")); };
    callManager(QStringLiteral("GetSessionByPID"), {QVariant::fromValue(quint32(::getpid()))}, context,
                [this, context, found, fallback](const QDBusMessage &reply) {
                    if (!accepted(reply) || reply.arguments().isEmpty())
                        return fallback();
                    const QString path = qvariant_cast<QDBusObjectPath>(reply.arguments().constFirst()).path();
                    if (path.isEmpty())
                        return fallback();
                    QDBusMessage get =
                        QDBusMessage::createMethodCall(kService, path, kProperties, QStringLiteral("Get"));
                    get.setArguments({kSession, QStringLiteral("Id")});
                    send(get, context, [found, fallback, path](const QDBusMessage &idReply) {
                        if (idReply.type() == QDBusMessage::ReplyMessage && !idReply.arguments().isEmpty()) {
                            const QString id =
                                qvariant_cast<QDBusVariant>(idReply.arguments().constFirst()).variant().toString();
                            if (!id.isEmpty())
                                return found(id);
                        }
                        const QString label = path.section(QLatin1Char('/'), -1);
                        if (label.isEmpty())
                            return fallback();
                        found(UnescapePathLabel(label));
                    });
                });
}

void LogindPower::endSession(SessionEnd how, bool force, QObject *context, Answer done)
{
    const LogindExitRequest request = LogindRequestFor(how, force);
    if (request.ownSession) {
        findOwnSession(context, [this, context, done, method = request.method](const QString &id) {
            if (id.isEmpty()) {
                m_lastError = QStringLiteral("this process belongs to no login session");
                return done(false);
            }
            callManager(method, {id}, context, [this, done](const QDBusMessage &reply) { done(accepted(reply)); });
        });
        return;
    }
    callManager(request.method, {request.interactive}, context,
                [this, done](const QDBusMessage &reply) { done(accepted(reply)); });
}

void LogindPower::suspend(bool hibernate, bool force, bool disableWakeEvents, QObject *context, Answer done)
{
    // logind always leaves the wake alarms armed; disableWakeEvents has no
    // equivalent and the program always passes false.
    Q_UNUSED(disableWakeEvents);
    m_waitingForResume = true;
    callManager(hibernate ? QStringLiteral("Hibernate") : QStringLiteral("Suspend"), {!force}, context,
                [this, done](const QDBusMessage &reply) {
                    const bool ok = accepted(reply);
                    if (!ok)
                        m_waitingForResume = false;
                    done(ok);
                });
}

void LogindPower::onPrepareForSleep(bool start)
{
    if (start || !m_waitingForResume)
        return;
    m_waitingForResume = false;
    Q_EMIT resumed();
}

void LogindPower::queryHibernationAllowed(QObject *context, Answer done)
{
    callManager(QStringLiteral("CanHibernate"), {}, context, [this, done](const QDBusMessage &reply) {
        done(accepted(reply) && !reply.arguments().isEmpty() &&
             reply.arguments().constFirst().toString() == QLatin1String("yes"));
    });
}

bool LogindPower::hibernationAllowedAtStartup()
{
    const QDBusMessage msg = QDBusMessage::createMethodCall(kService, kPath, kManager, QStringLiteral("CanHibernate"));
    const QDBusMessage reply = m_bus.call(msg, QDBus::Block, m_startupTimeoutMs);
    return accepted(reply) && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().toString() == QLatin1String("yes");
}

void LogindPower::setMonitorPower(bool on)
{
    ForceMonitorPower(on);
}

void LogindPower::setKeepAwake(bool on)
{
    m_keepAwakeWanted = on;
    if (!on) {
        // Closing our copy of the descriptor releases the lock; a lock still
        // on its way is dropped when it comes.
        m_inhibitLock = QDBusUnixFileDescriptor();
        return;
    }
    if (m_inhibitLock.isValid() || m_inhibitPending)
        return;
    m_inhibitPending = true;
    callManager(QStringLiteral("Inhibit"),
                {QStringLiteral("idle:sleep"), QStringLiteral("Zenkoro"), QStringLiteral("復帰状態維持"),
                 QStringLiteral("block")},
                nullptr, [this](const QDBusMessage &reply) {
                    m_inhibitPending = false;
                    if (!accepted(reply) || reply.arguments().isEmpty() || !m_keepAwakeWanted)
                        return;
                    const QDBusUnixFileDescriptor fd =
                        qvariant_cast<QDBusUnixFileDescriptor>(reply.arguments().constFirst());
                    if (fd.isValid())
                        m_inhibitLock = fd;
                });
}

}  // namespace zk
