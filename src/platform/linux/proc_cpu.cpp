#include "platform/linux/proc_cpu.h"

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace zk {

namespace {

// The whole content of a small file, or an empty array.
QByteArray ReadSmallFile(const char *path)
{
    QByteArray data;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return data;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        data.append(buf, n);
    }
    ::close(fd);
    return data;
}

QByteArray BaseName(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? path : path.mid(slash + 1);
}

QString ProcessName(qint64 pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%lld/exe", static_cast<long long>(pid));
    char target[4096];
    const ssize_t n = ::readlink(path, target, sizeof target - 1);
    if (n > 0) {
        QByteArray exe(target, n);
        if (exe.endsWith(" (deleted)"))
            exe.chop(10);
        return QString::fromLocal8Bit(BaseName(exe));
    }
    std::snprintf(path, sizeof path, "/proc/%lld/cmdline", static_cast<long long>(pid));
    QByteArray argv0 = ReadSmallFile(path);
    const qsizetype nul = argv0.indexOf('\0');
    if (nul >= 0)
        argv0.truncate(nul);
    if (argv0.isEmpty())
        return QString();  // a kernel thread, or a process that has ended
    const QByteArray name = BaseName(argv0);
    // The command name is the start of the executable's name, cut to 15
    // characters; a first argument that does not start with it was rewritten
    // ("sshd: user@pts/0").
    std::snprintf(path, sizeof path, "/proc/%lld/comm", static_cast<long long>(pid));
    const QByteArray comm = ReadSmallFile(path).trimmed();
    if (comm.isEmpty() || name.startsWith(comm))
        return QString::fromLocal8Bit(name);
    return QString::fromLocal8Bit(comm);
}

double MonotonicSeconds()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

}  // namespace

ProcCpu::ProcCpu(QObject *parent) : QObject(parent)
{
    m_thread.setObjectName(QStringLiteral("zk-process-list"));
    m_worker = new QObject;
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start(QThread::LowPriority);
}

ProcCpu::~ProcCpu()
{
    m_thread.quit();
    m_thread.wait();
}

void ProcCpu::listProcesses(QObject *context, std::function<void(const QList<ProcessRow> &)> done)
{
    QMetaObject::invokeMethod(m_worker, [this, to = QPointer<QObject>(context), done = std::move(done)] {
        const QList<ProcessRow> rows = processes();
        // Back in our thread, which waits for the list's thread before it
        // goes (a list still queued then goes with it); context is only
        // looked at there.
        QMetaObject::invokeMethod(
            this,
            [to, done, rows] {
                if (to)
                    done(rows);
            },
            Qt::QueuedConnection);
    });
}

QString ProcCpu::processName(qint64 pid)
{
    return pid > 0 ? ProcessName(pid) : QString();
}

QList<ProcessRow> ProcCpu::processes()
{
    QList<long> pids;
    if (DIR *dir = ::opendir("/proc")) {
        while (const dirent *e = ::readdir(dir)) {
            char *end = nullptr;
            const long pid = std::strtol(e->d_name, &end, 10);
            if (pid > 0 && end && *end == '\0')
                pids << pid;
        }
        ::closedir(dir);
    }
    std::sort(pids.begin(), pids.end());
    QList<ProcessRow> rows;
    rows.reserve(pids.size());
    for (long pid : pids) {
        const QString name = ProcessName(pid);
        if (!name.isEmpty())
            rows.append({name, pid});
    }
    return rows;
}

CpuCounters ProcCpu::read(qint64 pid)
{
    CpuCounters c;
    if (pid <= 0) {
        // "cpu  user nice system idle iowait irq softirq steal guest guest_nice";
        // guest time is already counted in user and nice.
        const QByteArray stat = ReadSmallFile("/proc/stat");
        if (!stat.startsWith("cpu "))
            return c;
        const QList<QByteArray> f = stat.left(stat.indexOf('\n')).simplified().split(' ');
        if (f.size() < 5)
            return c;
        double total = 0;
        for (qsizetype i = 1; i < f.size() && i <= 8; ++i)
            total += f[i].toDouble();
        const double idle = f[4].toDouble() + (f.size() > 5 ? f[5].toDouble() : 0.0);
        c.total = total;
        c.busy = total - idle;
        c.valid = total > 0;
        return c;
    }
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%lld/stat", static_cast<long long>(pid));
    const QByteArray stat = ReadSmallFile(path);
    c.total = MonotonicSeconds();
    // "pid (comm) state ppid ..." where comm may hold blanks and parentheses.
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return c;
    const QList<QByteArray> f = stat.mid(close + 2).split(' ');
    // After the command: state is field 0, utime 11, stime 12, starttime 19.
    if (f.size() < 20 || f[0] == "Z" || f[0] == "X")
        return c;  // ended (a zombie has no more processor time to spend)
    const double ticks = double(::sysconf(_SC_CLK_TCK));
    c.busy = (f[11].toDouble() + f[12].toDouble()) / ticks;
    c.identity = f[19].toULongLong();
    c.valid = ticks > 0;
    return c;
}

}  // namespace zk
