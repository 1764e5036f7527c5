#pragma once

#include "core/ports/cpu_counters.h"
#include "monitors/cpu_sampler.h"

#include <QHash>
#include <QList>
#include <QTest>
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

// Runs until `count` more samples of `sampler` are in (each sample ends in a number).
inline bool WaitForSamples(CpuSampler &sampler, int count, int timeoutMs = 5000)
{
    int seen = 0;
    const QMetaObject::Connection c = QObject::connect(&sampler, &CpuSampler::textsChanged, [&](const QString &s) {
        if (!s.isEmpty() && s != QLatin1String(" start"))
            ++seen;
    });
    const bool ok = QTest::qWaitFor([&] { return seen >= count; }, timeoutMs);
    QObject::disconnect(c);
    return ok;
}

}  // namespace zk
