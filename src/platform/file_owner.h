// Owner and group of a file, so that a file rewritten by an administrator
// (a new file renamed over the old one) stays its user's file.
#pragma once

#include <QString>

namespace zk {

struct AppState;

struct FileOwner {
    bool valid = false;  // false: the file did not exist or could not be examined
    unsigned uid = 0;
    unsigned gid = 0;
};

// Owner and group of an existing file (symbolic links followed).
FileOwner OwnerOf(const QString &path);

// Gives the file the owner and group `owner` when it has others. True when
// the file ends with that owner (or `owner` is not valid: nothing to do).
bool RestoreOwner(const QString &path, const FileOwner &owner);

// SaveSettings (settings/settings_file.h), and a file rewritten by another
// user (an administrator scripting a user's settings) keeps its owner and
// group. False when the file could not be written.
bool SaveSettingsKeepingOwner(const QString &path, const AppState &state, const QString &desktopDir);

}  // namespace zk
