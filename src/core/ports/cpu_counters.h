// The processor-time counters the CPU usage sampler reads, and the process list.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

namespace zk {

// One process: its executable's file name and its id.
struct ProcessRow {
    QString name;
    qint64 pid = 0;
    bool operator==(const ProcessRow &) const = default;
};

// Cumulative counters at one moment. The usage between two readings of the
// same thing is 100 * (busy1 - busy0) / (total1 - total0).
struct CpuCounters {
    bool valid = false;    // false: could not be read (a process: it has ended)
    double busy = 0;
    double total = 0;
    quint64 identity = 0;  // a process: when it started; a different value means another process
};

class CpuCounterSource {
public:
    virtual ~CpuCounterSource() = default;
    // Every process, in the order the system lists them, handed to done from
    // context's event loop, never before this returns. The list costs a look
    // at every process: it is made away from the caller's thread. Nothing is
    // handed over once context has gone.
    virtual void listProcesses(QObject *context, std::function<void(const QList<ProcessRow> &)> done) = 0;
    // The name the list gives process pid; empty when there is no such process.
    virtual QString processName(qint64 pid) = 0;
    // pid 0: the whole machine (busy and total time of all its processors).
    // Otherwise that process: busy = its processor time (user + system) and
    // total = a steady clock, both in seconds, so that one processor kept
    // busy for the whole window reads 100 and several read more.
    virtual CpuCounters read(qint64 pid) = 0;
};

}  // namespace zk
