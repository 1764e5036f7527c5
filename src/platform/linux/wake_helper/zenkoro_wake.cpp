// zenkoro-wake: arms one wake alarm for zenkoro and reports when it fired.
//
// An alarm that wakes the machine from a suspend (a CLOCK_REALTIME_ALARM
// timer) needs CAP_WAKE_ALARM. This small program is the only piece that
// holds it (as a file capability set when the package is installed), so that
// zenkoro itself runs without privileges.
//
//   zenkoro-wake --check   exit 0 when a wake alarm can be armed here, else
//                          print the reason and exit 1
//   zenkoro-wake SECONDS   arm the alarm for SECONDS since the epoch (UTC),
//                          print "armed SECONDS", wait; when the alarm fires
//                          print "fired" and exit 0
//
// It ends without firing as soon as its standard input is closed or a line
// "cancel" arrives, so it never outlives the zenkoro that started it. Errors
// are one line "error TEXT" and exit status 1. Plain C++, no Qt: it holds a
// capability, so it keeps to what it needs.
#include <sys/prctl.h>
#include <sys/timerfd.h>

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

int Fail(const char *what, int error)
{
    std::printf("error %s: %s\n", what, std::strerror(error));
    std::fflush(stdout);
    return 1;
}

bool ParseSeconds(const char *text, std::int64_t &out)
{
    if (!*text)
        return false;
    std::int64_t v = 0;
    for (const char *p = text; *p; ++p) {
        if (*p < '0' || *p > '9' || v > (INT64_MAX - 9) / 10)
            return false;
        v = v * 10 + (*p - '0');
    }
    out = v;
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    // Nothing this process starts may inherit anything from it.
    ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zenkoro-wake --check | zenkoro-wake SECONDS-SINCE-EPOCH\n");
        return 2;
    }
    const int fd = ::timerfd_create(CLOCK_REALTIME_ALARM, TFD_CLOEXEC);
    if (fd < 0)
        return Fail("timerfd_create(CLOCK_REALTIME_ALARM)", errno);
    if (std::strcmp(argv[1], "--check") == 0)
        return 0;

    std::int64_t due = 0;
    if (!ParseSeconds(argv[1], due) || due > std::int64_t(INT32_MAX) * 4) {
        std::fprintf(stderr, "zenkoro-wake: not a time: %s\n", argv[1]);
        return 2;
    }
    itimerspec spec{};
    // A due time already past fires at once; an all-zero value would disarm.
    spec.it_value.tv_sec = time_t(due > 0 ? due : 1);
    if (::timerfd_settime(fd, TFD_TIMER_ABSTIME, &spec, nullptr) != 0)
        return Fail("timerfd_settime", errno);
    std::printf("armed %lld\n", static_cast<long long>(due));
    std::fflush(stdout);

    std::string line;
    for (;;) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return Fail("poll", errno);
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t expirations = 0;
            if (::read(fd, &expirations, sizeof expirations) == ssize_t(sizeof expirations)) {
                std::printf("fired\n");
                std::fflush(stdout);
                return 0;
            }
        }
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            char buf[256];
            const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
            if (n <= 0)
                return 0;  // zenkoro ended or closed the pipe: cancelled
            line.append(buf, size_t(n));
            if (line.find("cancel") != std::string::npos)
                return 0;
            if (line.size() > 1024)
                line.erase(0, line.size() - 16);
        }
    }
}
