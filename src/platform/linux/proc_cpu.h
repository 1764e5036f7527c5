// Processor-time counters and the process list from /proc: /proc/stat for
// the whole machine, /proc/<pid>/stat for one process. The list of every
// process is made in a thread of its own.
#pragma once

#include "core/ports/cpu_counters.h"

#include <QObject>
#include <QThread>

namespace zk {

class ProcCpu final : public QObject, public CpuCounterSource {
    Q_OBJECT
public:
    explicit ProcCpu(QObject *parent = nullptr);
    ~ProcCpu() override;

    // Processes are named by their executable's file name (/proc/<pid>/exe);
    // where that cannot be read (another user's process), by the file name of
    // its first argument, or its command name when the first argument was
    // changed. Kernel threads and ended processes are left out.
    void listProcesses(QObject *context, std::function<void(const QList<ProcessRow> &)> done) override;
    QString processName(qint64 pid) override;
    CpuCounters read(qint64 pid) override;

    // The list made on the calling thread.
    static QList<ProcessRow> processes();

private:
    QThread m_thread;
    QObject *m_worker = nullptr;  // lives in m_thread
};

}  // namespace zk
