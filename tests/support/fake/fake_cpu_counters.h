#pragma once

#include "core/ports/cpu_counters.h"

#include <QHash>
#include <QList>
#include <QTimer>

namespace zk {

// Counters from a script: each read of a pid takes the next reading queued
// for it (the last one repeats); reads are recorded.
class FakeCpuCounters final : public CpuCounterSource {
public:
    QList<ProcessRow> rows;
    QHash<qint64, QList<CpuCounters>> readings;
    QList<qint64> reads;
    int listings = 0;  // lists of every process made

    static CpuCounters at(double busy, double total, quint64 identity = 1) { return {true, busy, total, identity}; }

    // The rows, handed over from the event loop.
    void listProcesses(QObject *context, std::function<void(const QList<ProcessRow> &)> done) override
    {
        ++listings;
        QTimer::singleShot(0, context, [done, copy = rows] { done(copy); });
    }
    QString processName(qint64 pid) override
    {
        for (const ProcessRow &r : rows)
            if (r.pid == pid)
                return r.name;
        return QString();
    }
    CpuCounters read(qint64 pid) override
    {
        reads << pid;
        QList<CpuCounters> &q = readings[pid];
        if (q.isEmpty())
            return {};
        return q.size() > 1 ? q.takeFirst() : q.first();
    }
};

}  // namespace zk
