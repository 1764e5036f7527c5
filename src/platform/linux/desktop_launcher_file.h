// Writing a desktop launcher (.desktop file): the whole text or nothing,
// executable (a desktop runs no other launcher from its folder), and marked
// trusted through GIO's metadata where the gio tool exists, so that file
// managers run it without asking.
#pragma once

#include <QString>

namespace zk {

bool WriteDesktopLauncher(const QString &path, const QString &text);

}  // namespace zk
