// The time since the last user input as logind tells it: the session's
// IdleHint and IdleSinceHint, which the desktop sets once it finds the user
// idle. The desktop's own idle delay is not counted, so the time is never
// longer than the real one. The session is looked up at the first question,
// without waiting; its values are then kept up to date by the session's
// PropertiesChanged signals.
#pragma once

#include "core/ports/power_status.h"

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>
#include <functional>

namespace zk {

class LogindUserIdle final : public QObject, public UserIdle {
    Q_OBJECT
public:
    explicit LogindUserIdle(QObject *parent = nullptr);
    explicit LogindUserIdle(const QDBusConnection &bus, QObject *parent = nullptr);
    ~LogindUserIdle() override;

    // -1 until the session's hint is known (the first question starts the
    // lookup), or when it is idle since a time it does not tell.
    qint64 idleMilliseconds() override;

    // The session object the hint comes from ("" while not found).
    QString sessionPath() const { return m_path; }

Q_SIGNALS:
    // The hint changed.
    void hintChanged();

private Q_SLOTS:
    void onPropertiesChanged(const QString &interface, const QVariantMap &changed, const QStringList &invalidated);

private:
    void findSession();
    void askSession(const QString &method, const QVariant &arg, std::function<void()> otherwise);
    void useSession(const QString &path);
    void fetch();
    void apply(const QVariantMap &values);

    QDBusConnection m_bus;
    QString m_path;
    bool m_asked = false;
    bool m_known = false;
    bool m_idle = false;
    quint64 m_sinceUs = 0;           // wall clock, microseconds since the epoch
    quint64 m_sinceMonotonicUs = 0;  // CLOCK_MONOTONIC, microseconds; 0 = not given
};

// The first known answer of two sources (the X server, then logind).
class FirstKnownIdle final : public UserIdle {
public:
    FirstKnownIdle(UserIdle *first, UserIdle *second) : m_first(first), m_second(second) {}
    qint64 idleMilliseconds() override
    {
        const qint64 ms = m_first ? m_first->idleMilliseconds() : -1;
        return ms >= 0 || !m_second ? ms : m_second->idleMilliseconds();
    }

private:
    UserIdle *m_first;
    UserIdle *m_second;
};

}  // namespace zk
