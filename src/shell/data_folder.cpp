#include "shell/data_folder.h"

#include <QDir>

namespace zk {

QString FindDataFolder(const QString &programDir, const QString &installDataDir,
                       const std::function<bool(const QString &)> &isFile, const QString &probe)
{
    QStringList candidates;
    if (!programDir.isEmpty()) {
        candidates << QDir::cleanPath(programDir);
        candidates << QDir::cleanPath(programDir + QStringLiteral("/../share/zenkoro"));
    }
    if (!installDataDir.isEmpty())
        candidates << QDir::cleanPath(installDataDir);
    for (const QString &dir : candidates) {
        if (isFile && isFile(dir + QLatin1Char('/') + probe))
            return dir;
    }
    return QString();
}

}  // namespace zk
