// The program on the session bus: registers org.zenkoro.Zenkoro1.instance_<N>
// with the object /org/zenkoro/Zenkoro1 (interface org.zenkoro.Zenkoro1, the
// adaptor generated from org.zenkoro.Zenkoro1.xml) and announces changes of
// the run. It only maps: the status comes from `source`, Stop() asks the
// stop handler, and Show() goes out as a Qt signal for the program to act on.
#pragma once

#include "run/run_status.h"
#include "platform/linux/session_bus.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusPendingCall>
#include <QObject>
#include <QString>
#include <functional>

namespace zk {

// The name of a copy is this prefix and its connection's unique name
// (":1.42" gives org.zenkoro.Zenkoro1.instance_1_42): never the same for two
// copies, even with the same process id in different PID namespaces. Who
// runs it is the bus's answer to GetConnectionUnixProcessID.
inline constexpr const char *kBusServicePrefix = "org.zenkoro.Zenkoro1.instance_";
inline constexpr const char *kBusObjectPath = "/org/zenkoro/Zenkoro1";
inline constexpr const char *kBusInterface = "org.zenkoro.Zenkoro1";
// Stop()'s error when the copy has no run to stop.
inline constexpr const char *kBusNoRunError = "org.zenkoro.Zenkoro1.Error.NoRun";

// The well-known name for the connection with this unique name.
QString ServiceNameFor(const QString &uniqueName);

class BusControl : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_PROPERTY(QString State READ state)
    Q_PROPERTY(QString Operation READ operation)
    Q_PROPERTY(QString TargetTime READ targetTime)
    Q_PROPERTY(QString ResumeTime READ resumeTime)
    Q_PROPERTY(qlonglong RemainingSeconds READ remainingSeconds)
public:
    explicit BusControl(std::function<RunStatus()> source, QObject *parent = nullptr);
    ~BusControl() override;

    // Registers the object at once and the name once the bus has answered
    // `hello` (the connection's Hello). Never waits: registered() or
    // unavailable() tells the outcome; the calls have `timeoutMs` each.
    void registerOn(const QDBusConnection &bus, const QDBusPendingCall &hello, int timeoutMs);
    QString serviceName() const { return m_service; }

    // What Stop() does: true when there was something to stop. Otherwise the
    // caller gets kBusNoRunError.
    void setStopHandler(std::function<bool()> stop) { m_stop = std::move(stop); }

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
    void showRequested();
    void registered(const QString &service);
    void unavailable(const QString &why);

private:
    void requestName(const QString &uniqueName, int timeoutMs);
    void fail(const QString &why);

    std::function<RunStatus()> m_source;
    std::function<bool()> m_stop;
    RunStatus m_announced;
    QDBusConnection m_bus{QString()};
    QString m_service;
    bool m_objectRegistered = false;
    bool m_registered = false;
};

}  // namespace zk
