#include "platform/linux/logind_idle.h"
#include "platform/linux/logind_names.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QDateTime>

#include <algorithm>
#include <ctime>

#include <unistd.h>

namespace zk {

namespace {

using namespace logind;
constexpr int kCallTimeoutMs = 10000;

QVariant Plain(const QVariant &v)
{
    if (v.userType() == qMetaTypeId<QDBusVariant>())
        return v.value<QDBusVariant>().variant();
    return v;
}

}  // namespace

LogindUserIdle::LogindUserIdle(QObject *parent)
    : LogindUserIdle(QDBusConnection::systemBus(), parent)
{
}

LogindUserIdle::LogindUserIdle(const QDBusConnection &bus, QObject *parent) : QObject(parent), m_bus(bus) {}

LogindUserIdle::~LogindUserIdle()
{
    if (m_bus.isConnected() && !m_path.isEmpty())
        m_bus.disconnect(kService, m_path, kProperties, QStringLiteral("PropertiesChanged"), this,
                         SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
}

qint64 LogindUserIdle::idleMilliseconds()
{
    // Asked for the first time: the session is looked up now, and the answer
    // counts from then on.
    if (!m_asked && m_bus.isConnected()) {
        m_asked = true;
        findSession();
    }
    if (!m_known)
        return -1;
    if (!m_idle)
        return 0;
    // The monotonic time does not jump with the wall clock.
    if (m_sinceMonotonicUs != 0) {
        timespec ts{};
        if (::clock_gettime(CLOCK_MONOTONIC, &ts) == 0) {
            const qint64 nowUs = qint64(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
            return std::max<qint64>(0, (nowUs - qint64(m_sinceMonotonicUs)) / 1000);
        }
    }
    if (m_sinceUs == 0)
        return -1;
    return std::max<qint64>(0, QDateTime::currentMSecsSinceEpoch() - qint64(m_sinceUs / 1000));
}

void LogindUserIdle::askSession(const QString &method, const QVariant &arg, std::function<void()> otherwise)
{
    QDBusMessage msg = QDBusMessage::createMethodCall(kService, kPath, kManager, method);
    msg.setArguments({arg});
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(msg, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, otherwise = std::move(otherwise)] {
        watcher->deleteLater();
        const QDBusMessage reply = watcher->reply();
        const QString path = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
                                 ? qvariant_cast<QDBusObjectPath>(reply.arguments().constFirst()).path()
                                 : QString();
        if (path.isEmpty() || path == QLatin1String("/"))
            return otherwise();
        useSession(path);
    });
}

void LogindUserIdle::findSession()
{
    // This process's session; else the one the environment names (started
    // from a service); else the user's display session.
    askSession(QStringLiteral("GetSessionByPID"), QVariant::fromValue(quint32(::getpid())), [this] {
        const QString id = qEnvironmentVariable("XDG_SESSION_ID");
        const auto automatic = [this] { askSession(QStringLiteral("GetSession"), QStringLiteral("auto"), [] {}); };
        if (id.isEmpty())
            return automatic();
        askSession(QStringLiteral("GetSession"), id, automatic);
    });
}

void LogindUserIdle::useSession(const QString &path)
{
    m_path = path;
    m_bus.connect(kService, m_path, kProperties, QStringLiteral("PropertiesChanged"), this,
                  SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
    fetch();
}

void LogindUserIdle::fetch()
{
    QDBusMessage msg = QDBusMessage::createMethodCall(kService, m_path, kProperties, QStringLiteral("GetAll"));
    msg.setArguments({kSession});
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(msg, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QDBusMessage reply = watcher->reply();
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            apply(qdbus_cast<QVariantMap>(reply.arguments().constFirst()));
    });
}

void LogindUserIdle::apply(const QVariantMap &values)
{
    const auto hint = values.constFind(QStringLiteral("IdleHint"));
    const auto since = values.constFind(QStringLiteral("IdleSinceHint"));
    const auto monotonic = values.constFind(QStringLiteral("IdleSinceHintMonotonic"));
    if (hint == values.constEnd() && since == values.constEnd())
        return;
    if (hint != values.constEnd())
        m_idle = Plain(*hint).toBool();
    if (since != values.constEnd())
        m_sinceUs = Plain(*since).toULongLong();
    if (monotonic != values.constEnd())
        m_sinceMonotonicUs = Plain(*monotonic).toULongLong();
    // Both are needed before the time counts as known.
    if (hint != values.constEnd() && since != values.constEnd())
        m_known = true;
    Q_EMIT hintChanged();
}

void LogindUserIdle::onPropertiesChanged(const QString &interface, const QVariantMap &changed,
                                         const QStringList &invalidated)
{
    if (interface != kSession)
        return;
    if (invalidated.contains(QStringLiteral("IdleHint")) || invalidated.contains(QStringLiteral("IdleSinceHint")))
        return fetch();
    apply(changed);
}

}  // namespace zk
