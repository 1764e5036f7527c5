#pragma once

#include "core/ports/cpu_counters.h"

#include <QHash>
#include <QList>

namespace zk {

// Counters from a script: each read of a pid takes the next reading queued
// for it (the last one repeats); reads are recorded.
class FakeCpuCounters final : public CpuCounterSource {
public:
    QList<ProcessRow> rows;
    QHash<qint64, QList<CpuCounters>> readings;
    QList<qint64> reads;

    static CpuCounters at(double busy, double total, quint64 identity = 1) { return {true, busy, total, identity}; }

    QList<ProcessRow> processes() override { return rows; }
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
