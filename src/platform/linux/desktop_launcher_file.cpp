#include "platform/linux/desktop_launcher_file.h"

#include "core/whole_file.h"
#include "platform/linux/file_owner.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <cstdio>

namespace zk {

QString LauncherPathRefusal(const QString &path)
{
    if (IsBrokenLink(path))
        return QCoreApplication::translate("LauncherFile", "行き先のないシンボリックリンク");
    return KindWords(KindOf(path));
}

bool WriteDesktopLauncher(const QString &path, const QString &text)
{
    if (!LauncherPathRefusal(path).isEmpty())
        return false;
    const bool written = WriteWholeFile(path, text.toUtf8(), [](QFileDevice::Permissions p) {
        p |= QFileDevice::ExeOwner | QFileDevice::ExeUser;
        if (p & QFileDevice::ReadGroup)
            p |= QFileDevice::ExeGroup;
        if (p & QFileDevice::ReadOther)
            p |= QFileDevice::ExeOther;
        return p;
    });
    if (written)
        MarkLauncherTrusted(path);
    return written;
}

QProcess *MarkLauncherTrusted(const QString &path)
{
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty())
        return nullptr;
    auto *p = new QProcess;
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->setStandardInputFile(QProcess::nullDevice());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));  // its answer is read
    p->setProcessEnvironment(env);
    QObject::connect(p, &QProcess::finished, p, [p, path](int code, QProcess::ExitStatus status) {
        const QString said = QString::fromLocal8Bit(p->readAll()).trimmed();
        p->deleteLater();
        if (status == QProcess::NormalExit && code == 0)
            return;
        // No metadata on this file system: nothing the user has to know.
        if (said.contains(QLatin1String("not supported")))
            return;
        std::fprintf(stderr, "%s\n",
                     //: %1: the launcher file, %2: what the tool said.
                     qPrintable(QStringLiteral("zenkoro: ") +
                                QCoreApplication::translate("LauncherFile", "ランチャー %1 を信頼済みにできませんでした（ファイルマネージャーが実行前に確認することがあります）: %2")
                                    .arg(path, said)));
    });
    QObject::connect(p, &QProcess::errorOccurred, p, [p](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            p->deleteLater();
    });
    p->start(gio, {QStringLiteral("set"), path, QStringLiteral("metadata::trusted"), QStringLiteral("true")});
    return p;
}

}  // namespace zk
