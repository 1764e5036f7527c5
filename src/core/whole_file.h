// Writing a file whole or not at all: the settings file, the screen capture
// and the desktop launcher all go through here.
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <functional>

namespace zk {

// Writes `bytes` as the whole content of `path`, through a temporary file in
// the same folder that is renamed over the old file only when every byte
// reached it (a full disk or a file-size limit is not always reported by the
// write itself: the flushed size is checked). On any failure the old file is
// left as it was and no temporary file stays; false.
//
// Only a regular file or a new path is written: a directory, FIFO, device
// or socket at `path` is left alone (false). A symbolic link stays a link and
// the file it leads to is written. `permissions`, when given, gets the
// permissions the file would have (an existing file's own, else the default
// of a new file) and returns the ones to give it; they are set before the
// file takes its place.
bool WriteWholeFile(const QString &path, const QByteArray &bytes,
                    const std::function<QFileDevice::Permissions(QFileDevice::Permissions)> &permissions = {});

}  // namespace zk
