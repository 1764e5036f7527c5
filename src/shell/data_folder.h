// Where the program's data files are (the help texts command_line.txt and
// command_ap.txt, the countdown sound): beside the program, as in the build
// folder or an unpacked copy; else ../share/zenkoro relative to the program,
// as in an installed tree wherever it was unpacked; else the share/zenkoro of
// the prefix the program was built for.
#pragma once

#include <QString>
#include <functional>

namespace zk {

inline constexpr const char *kDataProbeFile = "command_line.txt";

// The first of the three folders that holds `probe`; empty when none does.
// `isFile` answers for a path; the folders come back without a trailing "/".
QString FindDataFolder(const QString &programDir, const QString &installDataDir,
                       const std::function<bool(const QString &path)> &isFile,
                       const QString &probe = QString::fromLatin1(kDataProbeFile));

}  // namespace zk
