// The editing rules of the multi schedule's rows in the main window: the
// order buttons, the selected row, which rows show an application box, and
// what ticking the multi box does to the monitor and resume boxes.
#pragma once

#include "core/job.h"

#include <QString>
#include <QStringList>
#include <array>

namespace zk {

using MultiRows = std::array<MultiEntry, kMultiRowCount>;

// The operation list of every row ("復帰" first), with "休止" only where
// hibernation is allowed. The settings file takes a row's text only from the
// full list.
QStringList MultiRowOperations(bool hibernationAllowed);

// Only "復帰" rows show their application box and browse button (the text stays).
bool MultiRowShowsApplication(const QString &operation);

// SelectedMultiRow from the frame's tag (an empty or foreign text is row 0).
int SelectedMultiRow(const QString &tag);

// Order_Multi: ▲ (up) or ▼ moves the selected row with its four texts and
// returns the new selected row; the first row up and the last row down
// stay (the selected row is returned unchanged).
int MoveMultiRow(MultiRows &rows, int selected, bool up);

// The first row shown while row `row` runs: four rows above it stay visible.
int MultiScrollRow(int row);

// The boxes the multi box remembers while it is ticked.
struct MultiToggleMemory {
    bool remembered = false;
    int monitor = 0;
    int resume = 0;
};

// OnMultiToggled (not while loading): ticked, the monitor and resume boxes
// are remembered, monitoring is switched on and resume off; cleared, the
// remembered values come back (nothing changes when nothing was remembered).
void ApplyMultiToggled(JobSettings &job, MultiToggleMemory &memory, bool ticked);

// The start button reads "開始" while the multi box is ticked (it starts the
// schedule) and "実行" for a single run.
QString StartButtonCaption(bool multi);

}  // namespace zk
