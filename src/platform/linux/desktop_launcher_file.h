// Writing a desktop launcher (.desktop file): the whole text or nothing,
// executable (a desktop runs no other launcher from its folder), and marked
// trusted through GIO's metadata where the gio tool exists, so that file
// managers run it without asking. Only a regular file (also through a
// symbolic link to one) or a new path is written.
#pragma once

#include <QString>

class QProcess;

namespace zk {

// What stands at a launcher path that is not written over, in words
// ("FIFO（名前付きパイプ）", "行き先のないシンボリックリンク", ...); empty for a
// regular file, a symbolic link to one, or nothing (a new file).
QString LauncherPathRefusal(const QString &path);

// Writes the launcher; false when nothing was written (the path is refused,
// or the text could not be written whole: an old file stays as it was).
bool WriteDesktopLauncher(const QString &path, const QString &text);

// Marks a launcher trusted with "gio set", without waiting for it. gio's own
// output never reaches stderr: a file system that keeps no GIO metadata has
// no such mark to give (the launcher works all the same), so that answer is
// dropped; any other failure is told in one line on stderr. Returns the
// running gio, which deletes itself when done; null without gio.
QProcess *MarkLauncherTrusted(const QString &path);

}  // namespace zk
