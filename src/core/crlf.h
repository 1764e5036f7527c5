// The line break of the program's messages and files.
#pragma once

#include <QString>

namespace zk {

inline const QString kCrLf = QStringLiteral("\r\n");

}  // namespace zk
