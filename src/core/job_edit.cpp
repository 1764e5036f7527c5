#include "core/job_edit.h"

namespace zk {

bool SelectOperation(AppState &state, int index)
{
    if (state.job.Operation == index)
        return false;
    state.job.Operation = index;
    state.job.ResumeEnabled = 0;
    return true;
}

void SetTimingMode(JobSettings &job, int index, const QDateTime &now)
{
    job.TimingMode = index != 0 ? 1 : 0;
    if (job.ClockHour.isEmpty() && job.ClockMinute.isEmpty()) {
        job.ClockHour = QString::number(now.time().hour());
        job.ClockMinute = QString::number(now.time().minute());
    }
}

}  // namespace zk

namespace zk {
void FixResumeDate(JobSettings &job, const QDate &today)
{
    auto &p = job.ResumeDateParts;
    if (p[0].isEmpty())
        return;
    const QDate d(int(p[0].toInt()), int(p[1].toInt()), int(p[2].toInt()));
    if (!d.isValid() || d < today) {
        p[0] = QString::number(today.year());
        p[1] = QString::number(today.month());
        p[2] = QString::number(today.day());
    }
}
}  // namespace zk
