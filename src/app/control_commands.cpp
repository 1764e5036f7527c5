#include "app/control_commands.h"

#include "platform/linux/bus_client.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace zk {

namespace {

void Print(std::FILE *f, const QString &text)
{
    std::fputs(text.toUtf8().constData(), f);
    std::fflush(f);
}

QJsonObject StatusObject(qint64 pid, const QVariantMap &properties)
{
    QJsonObject o = QJsonObject::fromVariantMap(properties);
    o.insert(QStringLiteral("pid"), pid);
    return o;
}

QString NoBusText(const QString &why)
{
    return QStringLiteral("zenkoro: cannot ask running copies: %1\n").arg(why);
}

}  // namespace

int StatusCommand(std::FILE *out, std::FILE *err)
{
    QString error;
    const std::optional<QDBusConnection> bus = ConnectSessionBusForControl(&error);
    if (!bus) {
        Print(err, NoBusText(error));
        return 1;
    }
    QStringList lines;
    for (const qint64 pid : ListRunningInstances(*bus, &error)) {
        // A copy that ended since the listing is left out.
        if (const std::optional<QVariantMap> properties = ReadInstance(*bus, pid))
            lines << QString::fromUtf8(QJsonDocument(StatusObject(pid, *properties)).toJson(QJsonDocument::Compact));
    }
    if (!error.isEmpty()) {
        Print(err, NoBusText(error));
        return 1;
    }
    Print(out, lines.isEmpty() ? QStringLiteral("[]\n") : QStringLiteral("[\n") + lines.join(QStringLiteral(",\n")) + QStringLiteral("\n]\n"));
    return 0;
}

int StopCommand(qint64 pid, std::FILE *out, std::FILE *err)
{
    QString error;
    const std::optional<QDBusConnection> bus = ConnectSessionBusForControl(&error);
    if (!bus) {
        Print(err, NoBusText(error));
        return 1;
    }
    const QList<qint64> pids = ListRunningInstances(*bus, &error);
    if (!error.isEmpty()) {
        Print(err, NoBusText(error));
        return 1;
    }
    if (pid == 0) {
        if (pids.isEmpty()) {
            Print(err, QStringLiteral("zenkoro: no running copy to stop\n"));
            return 1;
        }
        if (pids.size() > 1) {
            QString list = QStringLiteral("zenkoro: %1 copies are running; name one with --stop PID:\n").arg(pids.size());
            for (const qint64 p : pids) {
                const std::optional<QVariantMap> props = ReadInstance(*bus, p);
                list += QStringLiteral("  %1").arg(p);
                if (props)
                    list += QStringLiteral("  %1  %2  %3")
                                .arg(props->value(QStringLiteral("State")).toString(),
                                     props->value(QStringLiteral("Operation")).toString(),
                                     props->value(QStringLiteral("TargetTime")).toString());
                list += QLatin1Char('\n');
            }
            Print(err, list);
            return 2;
        }
        pid = pids.first();
    } else if (!pids.contains(pid)) {
        Print(err, QStringLiteral("zenkoro: no running copy with process id %1\n").arg(pid));
        return 1;
    }
    if (!StopInstance(*bus, pid, &error)) {
        Print(err, QStringLiteral("zenkoro: %1 did not take the stop: %2\n").arg(pid).arg(error));
        return 1;
    }
    Print(out, QStringLiteral("zenkoro: stopped %1\n").arg(pid));
    return 0;
}

}  // namespace zk
