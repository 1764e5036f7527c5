#include "platform/linux/file_owner.h"

#include "settings/settings_file.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace zk {

FileOwner OwnerOf(const QString &path)
{
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {true, unsigned(st.st_uid), unsigned(st.st_gid)};
}

bool RestoreOwner(const QString &path, const FileOwner &owner)
{
    if (!owner.valid)
        return true;
    const FileOwner now = OwnerOf(path);
    if (!now.valid)
        return false;
    if (now.uid == owner.uid && now.gid == owner.gid)
        return true;
    return ::chown(QFile::encodeName(path).constData(), uid_t(owner.uid), gid_t(owner.gid)) == 0;
}

PathKind KindOf(const QString &path)
{
    if (path.isEmpty())
        return PathKind::Unknown;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT ? PathKind::Missing : PathKind::Unknown;
    if (S_ISREG(st.st_mode))
        return PathKind::Regular;
    if (S_ISDIR(st.st_mode))
        return PathKind::Directory;
    if (S_ISFIFO(st.st_mode))
        return PathKind::Fifo;
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return PathKind::Device;
    if (S_ISSOCK(st.st_mode))
        return PathKind::Socket;
    return PathKind::Unknown;
}

QString KindWords(PathKind kind)
{
    switch (kind) {
    case PathKind::Directory: return QCoreApplication::translate("FileKind", "ディレクトリ");
    case PathKind::Fifo: return QCoreApplication::translate("FileKind", "FIFO（名前付きパイプ）");
    case PathKind::Device: return QCoreApplication::translate("FileKind", "デバイス");
    case PathKind::Socket: return QCoreApplication::translate("FileKind", "ソケット");
    default: return {};
    }
}

bool IsBrokenLink(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    return !path.isEmpty() && ::lstat(name.constData(), &st) == 0 && S_ISLNK(st.st_mode) &&
           ::stat(name.constData(), &st) != 0;
}

}  // namespace zk
