#include "core/whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zk {

bool WriteWholeFile(const QString &path, const QByteArray &bytes,
                    const std::function<QFileDevice::Permissions(QFileDevice::Permissions)> &permissions)
{
    if (path.isEmpty())
        return false;
    // A directory, FIFO, device or socket is never replaced by a file.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return false;
    const bool existed = info.exists();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (permissions &&
        !file.setPermissions(permissions(existed ? QFile::permissions(path) : file.permissions()))) {
        file.cancelWriting();
        return false;
    }
    // QSaveFile commits a file whose buffered bytes could not be written
    // (the error of the last flush does not stop the rename): flush and
    // check what really reached the temporary file first.
    if (file.write(bytes) != bytes.size() || !file.flush() || file.size() != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace zk
