#include "platform/linux/logind_power.h"

#include "platform/linux/x11_dpms.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>

#include <unistd.h>

namespace zk {

namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

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

LogindExitRequest MapExitFlags(quint32 flags)
{
    LogindExitRequest r;
    const bool force = (flags & ExitFlags::Force) != 0;
    const quint32 base = flags & ~ExitFlags::Force;
    r.interactive = !force;
    switch (base) {
    case ExitFlags::Logoff:
        r.kind = LogindExitRequest::Logoff;
        r.method = QStringLiteral("TerminateSession");
        r.description = QStringLiteral("log off");
        break;
    case ExitFlags::Shutdown:
    case ExitFlags::PowerOff:
    case ExitFlags::Shutdown | ExitFlags::PowerOff:
        r.kind = LogindExitRequest::PowerOff;
        r.method = QStringLiteral("PowerOff");
        r.description = QStringLiteral("power off");
        break;
    case ExitFlags::Reboot:
        r.kind = LogindExitRequest::Reboot;
        r.method = QStringLiteral("Reboot");
        r.description = QStringLiteral("reboot");
        break;
    default:
        r.kind = LogindExitRequest::Invalid;
        r.description = QStringLiteral("invalid");
        break;
    }
    if (force)
        r.description += QStringLiteral(", force");
    return r;
}

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

bool LogindPower::callManager(const QString &method, const QVariantList &args, QDBusMessage *reply)
{
    if (!m_bus.isConnected()) {
        m_lastError = QStringLiteral("no system bus: %1").arg(m_bus.lastError().message());
        return false;
    }
    QDBusMessage msg = QDBusMessage::createMethodCall(kService, kPath, kManager, method);
    msg.setArguments(args);
    const QDBusMessage answer = m_bus.call(msg, QDBus::Block, m_timeoutMs);
    if (answer.type() != QDBusMessage::ReplyMessage) {
        m_lastError = answer.errorName().isEmpty() ? QStringLiteral("no reply")
                                                   : answer.errorName() + QStringLiteral(": ") + answer.errorMessage();
        return false;
    }
    m_lastError.clear();
    if (reply)
        *reply = answer;
    return true;
}

QString LogindPower::ownSessionId()
{
    QDBusMessage reply;
    if (callManager(QStringLiteral("GetSessionByPID"), {QVariant::fromValue(quint32(::getpid()))}, &reply)
        && !reply.arguments().isEmpty()) {
        const QString path = qvariant_cast<QDBusObjectPath>(reply.arguments().constFirst()).path();
        if (!path.isEmpty()) {
            QDBusMessage get = QDBusMessage::createMethodCall(kService, path, kProperties, QStringLiteral("Get"));
            get.setArguments({kSession, QStringLiteral("Id")});
            const QDBusMessage idReply = m_bus.call(get, QDBus::Block, m_timeoutMs);
            if (idReply.type() == QDBusMessage::ReplyMessage && !idReply.arguments().isEmpty()) {
                const QString id = qvariant_cast<QDBusVariant>(idReply.arguments().constFirst()).variant().toString();
                if (!id.isEmpty())
                    return id;
            }
            const QString label = path.section(QLatin1Char('/'), -1);
            if (!label.isEmpty())
                return UnescapePathLabel(label);
        }
    }
    // Not in a session of its own (started from a service or a cron job):
    // the session the environment names is the one the user means.
    return qEnvironmentVariable("XDG_SESSION_ID");
}

bool LogindPower::exitSession(quint32 flags)
{
    const LogindExitRequest request = MapExitFlags(flags);
    switch (request.kind) {
    case LogindExitRequest::Invalid:
        m_lastError = QStringLiteral("unsupported exit flags %1").arg(flags);
        return false;
    case LogindExitRequest::Logoff: {
        const QString id = ownSessionId();
        if (id.isEmpty()) {
            m_lastError = QStringLiteral("this process belongs to no login session");
            return false;
        }
        return callManager(request.method, {id});
    }
    case LogindExitRequest::PowerOff:
    case LogindExitRequest::Reboot:
        return callManager(request.method, {request.interactive});
    }
    return false;
}

bool LogindPower::suspend(bool hibernate, bool force, bool disableWakeEvents)
{
    // logind always leaves the wake alarms armed; disableWakeEvents has no
    // equivalent and the program always passes false.
    Q_UNUSED(disableWakeEvents);
    m_waitingForResume = true;
    if (!callManager(hibernate ? QStringLiteral("Hibernate") : QStringLiteral("Suspend"), {!force})) {
        m_waitingForResume = false;
        return false;
    }
    return true;
}

void LogindPower::onPrepareForSleep(bool start)
{
    if (start || !m_waitingForResume)
        return;
    m_waitingForResume = false;
    Q_EMIT resumed();
}

bool LogindPower::hibernationAllowed()
{
    QDBusMessage reply;
    if (!callManager(QStringLiteral("CanHibernate"), {}, &reply) || reply.arguments().isEmpty())
        return false;
    return reply.arguments().constFirst().toString() == QLatin1String("yes");
}

void LogindPower::setMonitorPower(bool on)
{
    ForceMonitorPower(on);
}

void LogindPower::setKeepAwake(bool on)
{
    if (!on) {
        // Closing our copy of the descriptor releases the lock.
        m_inhibitLock = QDBusUnixFileDescriptor();
        return;
    }
    if (m_inhibitLock.isValid())
        return;
    QDBusMessage reply;
    if (!callManager(QStringLiteral("Inhibit"),
                     {QStringLiteral("idle:sleep"), QStringLiteral("Zenkoro"), QStringLiteral("復帰状態維持"),
                      QStringLiteral("block")},
                     &reply)
        || reply.arguments().isEmpty())
        return;
    const QDBusUnixFileDescriptor fd = qvariant_cast<QDBusUnixFileDescriptor>(reply.arguments().constFirst());
    if (fd.isValid())
        m_inhibitLock = fd;
}

}  // namespace zk
