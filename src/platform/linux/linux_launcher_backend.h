// The launcher backend of the Linux desktop: processes start from an argument
// list (never through a shell), documents open with the default application
// of their MIME type (mimeapps.list and desktop entries), folders and
// addresses with xdg-open, windows are found and raised through the EWMH
// properties of an X11 window manager.
#pragma once

#include "core/ports/launcher_backend.h"

namespace zk {

class LinuxLauncherBackend final : public LauncherBackend {
public:
    qint64 startProcess(const QString &program, const QStringList &arguments, const QString &workingDir) override;
    bool isProcessAlive(qint64 pid) override;
    // A pidfd (pidfd_open, Linux 5.3) readable once the process has ended;
    // Unsupported where the kernel has no pidfd_open (or no descriptor is left).
    ProcessWatch watchProcess(qint64 pid, QObject *context, std::function<void()> ended) override;
    bool fileExists(const QString &path) override;
    bool isFolder(const QString &path) override;
    bool isExecutableFile(const QString &path) override;
    QString findExecutable(const QString &name) override;
    std::optional<QString> readTextFile(const QString &path) override;
    QString associatedCommand(const QString &path) override;
    bool openWithShell(const QString &target) override;
    std::optional<QString> environment(const QString &name) override;
    QString homeDir() override;
    bool activateProcessWindow(qint64 pid) override;
    QList<TopLevelWindow> topLevelWindows() override;
    bool placeWindow(quint64 handle, int left, int top, int right, int bottom) override;

    // The desktop file id of the default application for a MIME type, looked
    // up in the mimeapps.list files of the XDG folders; empty when none is installed.
    static QString defaultApplicationFor(const QString &mimeType);
    // Full path of an installed desktop file id; empty when none is found.
    static QString findDesktopFile(const QString &desktopId);
};

}  // namespace zk
