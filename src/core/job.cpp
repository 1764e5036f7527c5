#include "core/job.h"

#include <QCoreApplication>

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

QString OperationDisplayName(OperationKind kind)
{
    switch (kind) {
    //: An operation: power off the computer.
    case OperationKind::Shutdown: return QCoreApplication::translate("Operation", "シャットダウン");
    //: An operation: restart the computer.
    case OperationKind::Reboot: return QCoreApplication::translate("Operation", "再起動");
    //: An operation: end the user's session.
    case OperationKind::Logoff: return QCoreApplication::translate("Operation", "ログオフ");
    //: An operation: hibernate (suspend to disk).
    case OperationKind::Hibernate: return QCoreApplication::translate("Operation", "休止");
    //: An operation: sleep (suspend to RAM).
    case OperationKind::Sleep: return QCoreApplication::translate("Operation", "スリープ");
    }
    return QString();
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

QString MultiRowDisplayName(const QString &stored)
{
    if (IsWakeRowText(stored))
        //: A multi-schedule row entry: wake the computer up after the sleep before it.
        return QCoreApplication::translate("Operation", "復帰");
    const std::optional<OperationKind> kind = OperationFromText(stored);
    return kind ? OperationDisplayName(*kind) : stored;
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
    return QStringLiteral("Zenkoro ") + VersionText() + QStringLiteral(" - ") +
           //: Caption of the window that shows the generated command line.
           QCoreApplication::translate("Caption", "コマンドライン");
}

}  // namespace zk
