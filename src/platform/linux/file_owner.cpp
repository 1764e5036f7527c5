#include "platform/file_owner.h"

#include "settings/settings_file.h"

#include <QFile>
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

bool SaveSettingsKeepingOwner(const QString &path, const AppState &state, const QString &desktopDir)
{
    const FileOwner owner = OwnerOf(path);
    if (!SaveSettings(path, state, desktopDir))
        return false;
    RestoreOwner(path, owner);
    return true;
}

}  // namespace zk
