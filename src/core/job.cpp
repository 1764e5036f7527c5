#include "core/job.h"

namespace zk {

namespace {

// The one table between the kinds and the texts files and windows hold.
struct OperationName {
    OperationKind kind;
    QString text;
};
const std::array<OperationName, 6> &OperationNames()
{
    static const std::array<OperationName, 6> names{{
        {OperationKind::Shutdown, QStringLiteral("シャットダウン")},
        {OperationKind::Reboot, QStringLiteral("再起動")},
        {OperationKind::Logoff, QStringLiteral("ログオフ")},
        {OperationKind::Hibernate, QStringLiteral("休止")},
        {OperationKind::Sleep, QStringLiteral("スリープ")},
        {OperationKind::Sleep, QStringLiteral("スタンバイ")},  // read only
    }};
    return names;
}

}  // namespace

QString OperationText(OperationKind kind)
{
    for (const OperationName &n : OperationNames())
        if (n.kind == kind)
            return n.text;
    return QString();
}

std::optional<OperationKind> OperationFromText(const QString &text)
{
    for (const OperationName &n : OperationNames())
        if (n.text == text)
            return n.kind;
    return std::nullopt;
}

QStringList OperationListTexts()
{
    QStringList texts;
    for (const OperationKind k : kOperationKinds)
        texts << OperationText(k);
    return texts;
}

bool IsWakeRowText(const QString &text)
{
    return text == kWakeRowText;
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
