#include "shell/data_folder.h"

#include <QDir>

namespace zk {

namespace {
QString Join(const QString &dir, const QString &name)
{
    return dir.endsWith(QLatin1Char('/')) ? dir + name : dir + QLatin1Char('/') + name;
}

// Clean, and ".." above the root is the root.
QString Clean(const QString &path)
{
    QString p = QDir::cleanPath(path);
    while (p.startsWith(QLatin1String("/../")))
        p.remove(0, 3);
    return p == QLatin1String("/..") ? QStringLiteral("/") : p;
}
}  // namespace

QString FindDataFolder(const QString &programDir, const QString &installDataDir,
                       const std::function<bool(const QString &)> &isFile, const QString &probe)
{
    QStringList candidates;
    if (!programDir.isEmpty()) {
        candidates << Clean(programDir);
        candidates << Clean(Join(programDir, QStringLiteral("../share/zenkoro")));
    }
    if (!installDataDir.isEmpty())
        candidates << Clean(installDataDir);
    for (const QString &dir : candidates) {
        if (isFile && isFile(Join(dir, probe)))
            return dir;
    }
    return QString();
}

}  // namespace zk
