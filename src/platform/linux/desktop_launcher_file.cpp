#include "platform/linux/desktop_launcher_file.h"

#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace zk {

bool WriteDesktopLauncher(const QString &path, const QString &text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    QFileDevice::Permissions p = QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser;
    if (p & QFileDevice::ReadGroup)
        p |= QFileDevice::ExeGroup;
    if (p & QFileDevice::ReadOther)
        p |= QFileDevice::ExeOther;
    if (!QFile::setPermissions(path, p))
        return false;
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (!gio.isEmpty())
        QProcess::startDetached(gio, {QStringLiteral("set"), path, QStringLiteral("metadata::trusted"), QStringLiteral("true")});
    return true;
}

}  // namespace zk
