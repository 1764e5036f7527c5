// Runs a function with the process's standard output (file descriptor 1)
// sent to a temporary file and returns what it wrote.
#pragma once

#include <QByteArray>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>
#include <utility>

namespace zktest {

template <typename F>
QByteArray CaptureStdout(F &&function)
{
    QTemporaryFile file;
    if (!file.open())
        return QByteArrayLiteral("<cannot open a temporary file>");
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    ::dup2(file.handle(), STDOUT_FILENO);
    std::forward<F>(function)();
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    file.seek(0);
    return file.readAll();
}

}  // namespace zktest
