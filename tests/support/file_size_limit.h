// Runs a function as on a nearly full disk: no file this process writes can
// grow past `bytes` (RLIMIT_FSIZE, with SIGXFSZ ignored meanwhile), so a
// write stops short or fails as when the disk fills up, also for root.
#pragma once

#include <csignal>
#include <sys/resource.h>
#include <utility>

namespace zktest {

template <typename F>
bool WithFileSizeLimit(rlim_t bytes, F &&function)
{
    struct rlimit saved {};
    if (::getrlimit(RLIMIT_FSIZE, &saved) != 0)
        return false;
    struct rlimit tiny = saved;
    tiny.rlim_cur = bytes;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    const bool limited = ::setrlimit(RLIMIT_FSIZE, &tiny) == 0;
    if (limited)
        std::forward<F>(function)();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    return limited;
}

}  // namespace zktest
