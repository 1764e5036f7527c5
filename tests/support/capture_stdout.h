// Runs a function with the process's standard output (file descriptor 1),
// or its standard error (2), sent to a temporary file and returns what it wrote.
#pragma once

#include <QByteArray>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>
#include <utility>

namespace zktest {

template <typename F>
QByteArray CaptureOutput(int fd, F &&function)
{
    QTemporaryFile file;
    if (!file.open())
        return QByteArrayLiteral("<cannot open a temporary file>");
    std::fflush(nullptr);
    const int saved = ::dup(fd);
    ::dup2(file.handle(), fd);
    std::forward<F>(function)();
    std::fflush(nullptr);
    ::dup2(saved, fd);
    ::close(saved);
    file.seek(0);
    return file.readAll();
}

template <typename F>
QByteArray CaptureStdout(F &&function) { return CaptureOutput(STDOUT_FILENO, std::forward<F>(function)); }

template <typename F>
QByteArray CaptureStderr(F &&function) { return CaptureOutput(STDERR_FILENO, std::forward<F>(function)); }

}  // namespace zktest
