#include "platform/linux/dry_run_power.h"

#include "platform/linux/exit_request.h"

#include <QDateTime>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace zk {

namespace {

const char *OnOff(bool on)
{
    return on ? "on" : "off";
}

const char *TrueFalse(bool value)
{
    return value ? "true" : "false";
}

}  // namespace

void PrintDryRunLine(const QString &text)
{
    const QByteArray line = QByteArrayLiteral("dry-run: ") + text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

DryRunPower::DryRunPower(std::function<SessionPower *(QObject *parent)> makeReal, QObject *parent)
    : DryRunPower(std::function<bool()>(), parent)
{
    m_makeReal = std::move(makeReal);
}

DryRunPower::DryRunPower(std::function<bool()> hibernationQuery, QObject *parent)
    : SessionPower(parent), m_hibernationQuery(std::move(hibernationQuery)), m_resumeTimer(new QTimer(this))
{
    m_resumeTimer->setSingleShot(true);
    m_resumeTimer->setInterval(1000);
    connect(m_resumeTimer, &QTimer::timeout, this, &SessionPower::resumed);
}

SessionPower *DryRunPower::real()
{
    if (!m_real && m_makeReal)
        m_real = m_makeReal(this);
    return m_real;
}

void DryRunPower::answerLater(QObject *context, Answer done, bool ok)
{
    QTimer::singleShot(0, context ? context : this, [done = std::move(done), ok] { done(ok); });
}

void DryRunPower::endSession(SessionEnd how, bool force, QObject *context, Answer done)
{
    const LogindExitRequest request = LogindRequestFor(how, force);
    const QString target = request.ownSession
                               ? QStringLiteral("org.freedesktop.login1.Manager.TerminateSession (own session)")
                               : QStringLiteral("org.freedesktop.login1.Manager.%1 interactive=%2")
                                     .arg(request.method, QLatin1String(TrueFalse(request.interactive)));
    PrintDryRunLine(QStringLiteral("ExitSession flags=%1 (%2) -> %3")
                        .arg(ExitFlagsNumber(how, force))
                        .arg(request.description, target));
    answerLater(context, std::move(done), true);
}

void DryRunPower::suspend(bool hibernate, bool force, bool disableWakeEvents, QObject *context, Answer done)
{
    PrintDryRunLine(QStringLiteral("Suspend hibernate=%1 force=%2 disableWake=%3 -> org.freedesktop.login1.Manager.%4 "
                                   "interactive=%5")
                        .arg(QLatin1String(TrueFalse(hibernate)), QLatin1String(TrueFalse(force)),
                             QLatin1String(TrueFalse(disableWakeEvents)),
                             hibernate ? QStringLiteral("Hibernate") : QStringLiteral("Suspend"),
                             QLatin1String(TrueFalse(!force))));
    answerLater(context, std::move(done), true);
    m_resumeTimer->start();
}

void DryRunPower::queryHibernationAllowed(QObject *context, Answer done)
{
    if (m_hibernationQuery)
        answerLater(context, std::move(done), m_hibernationQuery());
    else if (SessionPower *p = real())
        p->queryHibernationAllowed(context, std::move(done));
    else
        answerLater(context, std::move(done), false);
}

bool DryRunPower::hibernationAllowedAtStartup()
{
    if (m_hibernationQuery)
        return m_hibernationQuery();
    SessionPower *p = real();
    return p && p->hibernationAllowedAtStartup();
}

void DryRunPower::setMonitorPower(bool on)
{
    PrintDryRunLine(QStringLiteral("MonitorPower %1").arg(QLatin1String(OnOff(on))));
}

void DryRunPower::setKeepAwake(bool on)
{
    // The keep-awake phase renews the request every second; like the logind
    // lock it stands for, it is reported when it changes.
    if (m_keepAwake == int(on))
        return;
    m_keepAwake = int(on);
    PrintDryRunLine(QStringLiteral("KeepAwake %1").arg(QLatin1String(OnOff(on))));
}

int DryRunWakeTimer::arm(qint64 seconds)
{
    const int handle = m_nextHandle++;
    const QDateTime due = QDateTime::currentDateTime().addSecs(std::max<qint64>(seconds, 0));
    PrintDryRunLine(QStringLiteral("ArmWakeTimer seconds=%1 due=%2 -> handle %3")
                        .arg(seconds)
                        .arg(due.toOffsetFromUtc(due.offsetFromUtc()).toString(Qt::ISODate))
                        .arg(handle));
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::CoarseTimer);
    // QTimer takes at most about 24 days in one interval: re-arm until due.
    const qint64 dueMs = due.toMSecsSinceEpoch();
    auto rearm = [timer, dueMs] {
        const qint64 left = dueMs - QDateTime::currentMSecsSinceEpoch();
        timer->start(int(std::clamp<qint64>(left, 0, 24LL * 3600 * 1000)));
    };
    connect(timer, &QTimer::timeout, this, [this, handle, dueMs, rearm] {
        if (QDateTime::currentMSecsSinceEpoch() < dueMs) {
            rearm();
            return;
        }
        if (QTimer *t = m_timers.take(handle))
            t->deleteLater();
        Q_EMIT fired(handle);
    });
    m_timers.insert(handle, timer);
    rearm();
    return handle;
}

void DryRunWakeTimer::cancel(int handle)
{
    PrintDryRunLine(QStringLiteral("CancelWakeTimer handle=%1").arg(handle));
    if (QTimer *t = m_timers.take(handle)) {
        t->stop();
        t->deleteLater();
    }
}

}  // namespace zk
