// Owner and group of a file, so that a file rewritten by an administrator
// (a new file renamed over the old one) stays its user's file; and what kind
// of thing a path names, so that only a regular file is ever rewritten.
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

// What a path names, symbolic links followed.
enum class PathKind {
    Missing,  // nothing (also a symbolic link that leads nowhere)
    Regular,
    Directory,
    Fifo,
    Device,   // character or block device
    Socket,
    Unknown,  // could not be examined (no access to its folder, a loop of links...)
};

PathKind KindOf(const QString &path);

// What a path names, in the words of the messages that refuse to write over
// it: "ディレクトリ", "FIFO（名前付きパイプ）", "デバイス", "ソケット"; empty for
// a regular file, nothing, or a path that could not be examined.
QString KindWords(PathKind kind);

// True when the path is a symbolic link that leads nowhere (also a loop of links).
bool IsBrokenLink(const QString &path);

}  // namespace zk
