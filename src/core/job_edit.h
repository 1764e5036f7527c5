// Edits of the job record that keep it consistent, shared by the window and
// the command line.
#pragma once

#include "core/job.h"

namespace zk {

// Selects operation `index`. On a change of index the resume box is cleared
// (it is re-allowed only for the suspend kinds, which the window decides).
// Returns true when the index changed.
bool SelectOperation(AppState &state, int index);

// Switches between minutes mode (0) and clock mode (1); entering either mode
// with both hour and minute empty fills in the current hour and minute.
void SetTimingMode(JobSettings &job, int index, const QDateTime &now);

}  // namespace zk

namespace zk {
// A resume date in the boxes that lies before today becomes today (time kept).
void FixResumeDate(JobSettings &job, const QDate &today);
}  // namespace zk
