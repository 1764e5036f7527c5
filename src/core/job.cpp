#include "core/job.h"

namespace zk {

QStringList BuildOperationList(const PlatformVersion &v)
{
    QStringList ops{kOpShutdown, kOpReboot, kOpLogoff};
    const int nt = v.ntMajor();
    if (nt >= 4) {
        ops << kOpHibernate;
        ops << (nt >= 6 ? kOpSleep : kOpStandby);
    }
    return ops;
}

QString DefaultHistoryColors()
{
    static const QStringList entries{
        QStringLiteral("/sound:ff0000"),          QStringLiteral("/capture:008000"),
        QStringLiteral("/standby-resume:ff00ff"), QStringLiteral("/hibernation-resume:ff00ff"),
        QStringLiteral("/sleep-resume:ff00ff"),   QStringLiteral("/shutdown:0000ff"),
        QStringLiteral("/reboot:0000ff"),         QStringLiteral("/logoff:0000ff"),
        QStringLiteral("/standby:0000ff"),        QStringLiteral("/sleep:0000ff"),
        QStringLiteral("/hibernation:0000ff"),    QStringLiteral("/standby:0000ff"),
    };
    return entries.join(QLatin1Char('\t'));
}

MonitorMode AppState::monitorMode() const
{
    if (!job.MonitorEnabled)
        return MonitorMode::None;
    switch (job.MonitorKind) {
    case 0: return job.PhraseEvent == 0 ? MonitorMode::Appear : MonitorMode::Disappear;
    case 1: return job.CpuProcess.isEmpty() ? MonitorMode::CpuUtl : MonitorMode::CpuProc;
    case 2: return MonitorMode::Battery;
    default: return MonitorMode::None;
    }
}

QString VersionText(int major, int minor, int revision)
{
    return QString::number(major) + QLatin1Char('.') + QString::number(minor) + QString::number(revision);
}

QString VersionText()
{
    return VersionText(ZK_VERSION_MAJOR, ZK_VERSION_MINOR, ZK_VERSION_PATCH);
}

QString CaptionFor(const QString &operationText)
{
    return QStringLiteral("Zenkoro") + operationText + QLatin1Char(' ') + VersionText();
}

QString CommandLineCaption()
{
    return QStringLiteral("Zenkoro ") + VersionText() + QStringLiteral(" - コマンドライン");
}

}  // namespace zk
