#pragma once

#include "core/clock.h"

namespace zk {

// A clock for tests: stands still until moved. Moving it (advance, set) is
// time passing, on the wall clock and the boot clock alike; stepWall sets
// the wall clock only, as a user or a time service does.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 12, 7), QTime(12, 0, 0))) : m_now(std::move(start)) {}
    QDateTime now() const override { return m_now; }
    qint64 bootMs() const override { return m_bootMs; }
    void set(const QDateTime &t)
    {
        m_bootMs += m_now.msecsTo(t);
        m_now = t;
    }
    void advanceMs(qint64 ms)
    {
        m_now = m_now.addMSecs(ms);
        m_bootMs += ms;
    }
    void advanceSecs(qint64 s) { advanceMs(s * 1000); }
    void stepWall(qint64 ms) { m_now = m_now.addMSecs(ms); }

private:
    QDateTime m_now;
    qint64 m_bootMs = 1000000;
};

}  // namespace zk
