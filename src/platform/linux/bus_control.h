// The program on the session bus: registers org.zenkoro.Zenkoro1.instance<PID>
// with the object /org/zenkoro/Zenkoro1 (interface org.zenkoro.Zenkoro1, the
// adaptor generated from org.zenkoro.Zenkoro1.xml) and announces changes of
// the run. It only maps: the status comes from `source`, and Stop() and
// Show() go out as Qt signals for the program to act on.
#pragma once

#include "core/run_status.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>

namespace zk {

inline constexpr const char *kBusServicePrefix = "org.zenkoro.Zenkoro1.instance";
inline constexpr const char *kBusObjectPath = "/org/zenkoro/Zenkoro1";
inline constexpr const char *kBusInterface = "org.zenkoro.Zenkoro1";

// True when a session bus is configured (DBUS_SESSION_BUS_ADDRESS, or the
// user's bus socket in XDG_RUNTIME_DIR). Without one nothing connects, so
// that no bus is started on demand.
bool SessionBusConfigured();

class BusControl : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString State READ state)
    Q_PROPERTY(QString Operation READ operation)
    Q_PROPERTY(QString TargetTime READ targetTime)
    Q_PROPERTY(QString ResumeTime READ resumeTime)
    Q_PROPERTY(qlonglong RemainingSeconds READ remainingSeconds)
public:
    explicit BusControl(std::function<RunStatus()> source, QObject *parent = nullptr);
    ~BusControl() override;

    // Registers the object and the name org.zenkoro.Zenkoro1.instance<pid>.
    // False (nothing stays registered) when the bus cannot be reached or the
    // name is taken; `error` says why.
    bool registerOn(const QDBusConnection &bus, qint64 pid, QString *error = nullptr);
    QString serviceName() const { return m_service; }

    QString state() const { return m_source().state; }
    QString operation() const { return m_source().operation; }
    QString targetTime() const { return m_source().targetTime; }
    QString resumeTime() const { return m_source().resumeTime; }
    qlonglong remainingSeconds() const { return m_source().remainingSeconds; }

public Q_SLOTS:
    // Compares the status with the one last announced and announces what
    // changed (StateChanged, PropertiesChanged).
    void refresh();

    // Called over the bus.
    void Stop();
    void Show();

Q_SIGNALS:
    // Relayed to the bus by the adaptor.
    void StateChanged(const QString &state);
    // For the program.
    void stopRequested();
    void showRequested();

private:
    std::function<RunStatus()> m_source;
    RunStatus m_announced;
    QDBusConnection m_bus{QString()};
    QString m_service;
    bool m_registered = false;
};

}  // namespace zk
