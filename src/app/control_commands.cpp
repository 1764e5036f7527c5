#include "app/control_commands.h"

#include <QCoreApplication>
#include "platform/linux/bus_client.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <algorithm>
#include <optional>

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

constexpr int kTimeoutSeconds = kBusCallTimeoutMs / 1000;

// The bus, or nullopt once the reason is on `err`.
std::optional<QDBusConnection> Connect(std::FILE *err)
{
    QString error;
    bool silent = false;
    std::optional<QDBusConnection> bus = ConnectSessionBusForControl(&error, &silent);
    if (!bus)
        Print(err, silent ? QCoreApplication::translate("ControlCommands", "zenkoro: セッション D-Bus バスが %1 秒以内に応答しませんでした。"
                                                                        "実行中の zenkoro に問い合わせられません。\n")
                                .arg(kTimeoutSeconds)
                          : NoBusText(error));
    return bus;
}

QString SilentText(const RunningCopy &copy)
{
    //: %1 process id, %2 its bus name, %3 seconds.
    return QCoreApplication::translate("ControlCommands", "zenkoro: プロセス %1 (%2) が %3 秒以内に応答しませんでした。")
        .arg(copy.pid)
        .arg(copy.service)
        .arg(kTimeoutSeconds);
}

}  // namespace

int StatusCommand(std::FILE *out, std::FILE *err)
{
    const std::optional<QDBusConnection> bus = Connect(err);
    if (!bus)
        return 1;
    QString error;
    const QList<RunningCopy> copies = ListRunningInstances(*bus, &error);
    if (!error.isEmpty()) {
        Print(err, NoBusText(error));
        return 1;
    }
    const QList<CopyReply> replies = ReadInstances(*bus, copies);
    QStringList lines;
    QString problems;
    for (qsizetype i = 0; i < copies.size(); ++i) {
        const CopyReply &r = replies.at(i);
        if (r.answer == CopyAnswer::Answered)
            lines << QString::fromUtf8(
                QJsonDocument(StatusObject(copies.at(i).pid, r.properties)).toJson(QJsonDocument::Compact));
        else if (r.answer == CopyAnswer::Silent)
            problems += SilentText(copies.at(i)) + QLatin1Char('\n');
        else if (r.answer != CopyAnswer::Gone)  // a copy that ended since the listing is left out
            problems += QStringLiteral("zenkoro: %1 (%2): %3\n").arg(copies.at(i).pid).arg(copies.at(i).service, r.error);
    }
    Print(out, lines.isEmpty() ? QStringLiteral("[]\n") : QStringLiteral("[\n") + lines.join(QStringLiteral(",\n")) + QStringLiteral("\n]\n"));
    if (!problems.isEmpty()) {
        Print(err, problems);
        return 1;
    }
    return 0;
}

int StopCommand(qint64 pid, std::FILE *out, std::FILE *err)
{
    const std::optional<QDBusConnection> bus = Connect(err);
    if (!bus)
        return 1;
    QString error;
    const QList<RunningCopy> copies = ListRunningInstances(*bus, &error);
    if (!error.isEmpty()) {
        Print(err, NoBusText(error));
        return 1;
    }
    RunningCopy target;
    if (pid == 0) {
        if (copies.isEmpty()) {
            Print(err, QStringLiteral("zenkoro: no running copy to stop\n"));
            return 1;
        }
        if (copies.size() > 1) {
            QString list = QStringLiteral("zenkoro: %1 copies are running; name one with --stop PID:\n").arg(copies.size());
            const QList<CopyReply> replies = ReadInstances(*bus, copies);
            for (qsizetype i = 0; i < copies.size(); ++i) {
                list += QStringLiteral("  %1").arg(copies.at(i).pid);
                const QVariantMap &props = replies.at(i).properties;
                if (replies.at(i).answer == CopyAnswer::Answered)
                    list += QStringLiteral("  %1  %2  %3")
                                .arg(props.value(QStringLiteral("State")).toString(),
                                     props.value(QStringLiteral("Operation")).toString(),
                                     props.value(QStringLiteral("TargetTime")).toString());
                list += QLatin1Char('\n');
            }
            Print(err, list);
            return 2;
        }
        target = copies.first();
    } else {
        const auto it = std::find_if(copies.begin(), copies.end(), [pid](const RunningCopy &c) { return c.pid == pid; });
        if (it == copies.end()) {
            Print(err, QStringLiteral("zenkoro: no running copy with process id %1\n").arg(pid));
            return 1;
        }
        target = *it;
    }
    const CopyReply stop = StopInstance(*bus, target);
    switch (stop.answer) {
    case CopyAnswer::Answered:
        Print(out, QStringLiteral("zenkoro: stopped %1\n").arg(target.pid));
        return 0;
    case CopyAnswer::NoRun:
        Print(err, QCoreApplication::translate("ControlCommands", "zenkoro: プロセス %1 は実行中ではないため、停止するものがありません。\n").arg(target.pid));
        return 1;
    case CopyAnswer::Silent:
        Print(err, SilentText(target) + QCoreApplication::translate("ControlCommands", "停止していません。\n"));
        return 1;
    case CopyAnswer::Gone:
    case CopyAnswer::Failed:
        break;
    }
    Print(err, QStringLiteral("zenkoro: %1 did not take the stop: %2\n").arg(target.pid).arg(stop.error));
    return 1;
}

}  // namespace zk
