#include "core/multi_edit.h"

#include <QCoreApplication>

#include <algorithm>
#include <utility>

namespace zk {

QStringList MultiRowOperations(bool hibernationAllowed)
{
    QStringList items{kWakeRowText};
    for (const OperationKind k : {OperationKind::Hibernate, OperationKind::Sleep, OperationKind::Logoff,
                                  OperationKind::Reboot, OperationKind::Shutdown})
        if (k != OperationKind::Hibernate || hibernationAllowed)
            items << OperationText(k);
    return items;
}

bool MultiRowShowsApplication(const QString &operation)
{
    return IsWakeRowText(operation);
}

int SelectedMultiRow(const QString &tag)
{
    bool ok = false;
    const int row = tag.trimmed().toInt(&ok);
    return ok && row >= 0 && row < kMultiRowCount ? row : 0;
}

int MoveMultiRow(MultiRows &rows, int selected, bool up)
{
    const int target = up ? selected - 1 : selected + 1;
    if (selected < 0 || selected >= kMultiRowCount || target < 0 || target >= kMultiRowCount)
        return selected;
    std::swap(rows[size_t(selected)], rows[size_t(target)]);
    return target;
}

int MultiScrollRow(int row)
{
    return std::max(0, row - 4);
}

void ApplyMultiToggled(JobSettings &job, MultiToggleMemory &memory, bool ticked)
{
    if (ticked) {
        memory = {true, job.MonitorEnabled, job.ResumeEnabled};
        job.MonitorEnabled = 1;
        job.ResumeEnabled = 0;
        return;
    }
    if (!memory.remembered)
        return;
    job.MonitorEnabled = memory.monitor;
    job.ResumeEnabled = memory.resume;
}

QString StartButtonCaption(bool multi)
{
    //: Start button while the multi-schedule box is ticked: start the schedule.
    return multi ? QCoreApplication::translate("MultiEdit", "開始")
                 //: Start button of a single run.
                 : QCoreApplication::translate("MultiEdit", "実行");
}

}  // namespace zk
