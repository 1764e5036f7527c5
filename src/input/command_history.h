// The command history of the application box and the rules of its drop-down
// list: recording a started command, the rows the list shows (sorted, with
// their colours), moving through them, deleting the row shown, and the
// limits of the list's menu.
#pragma once

#include "core/job.h"
#include "core/run_view.h"

#include <QList>
#include <QString>
#include <optional>

namespace zk {

// AddToHistory: the command (blanks at both ends removed, tabs as spaces) at
// the head of the history, an older equal entry dropped, at most HistoryMax
// entries (at least the new one). An empty command is kept as an empty head.
void AddToHistory(HistorySettings &history, const QString &command);

// Limits of the list's menu.
inline constexpr int kHistoryRowsMin = 1;
inline constexpr int kHistoryRowsMax = 20;
inline constexpr int kHistoryMaxMin = 1;
inline constexpr int kHistoryMaxMax = 100;
// "表示行数 ＋/－" and "記憶履歴数 ＋/－": one step, kept within the limits.
int StepHistoryRows(int rows, int delta);
int StepHistoryMax(int max, int delta);
// The sort items: ticking item 0 or 1 selects it ("0" ascending, "1"
// descending); ticking the selected one again turns sorting off.
QString ToggleHistorySort(const QString &sort, int item);
// The menu's captions with the current numbers.
QString HistoryRowsUpCaption(int rows);
QString HistoryMaxUpCaption(int max);

// A colour text of six hexadecimal digits, blue-green-red from the high
// byte down ("0000ff" is pure red); none for any other text.
std::optional<RunColor> ParseHistoryColor(const QString &bgr);

// One row of the open list.
struct HistoryRow {
    QString text;
    int stored = 0;  // position of the entry in HistoryText
    std::optional<RunColor> textColor;  // a word colour; none = the usual text colour
    bool oddBack = false;  // 2nd, 4th, 6th ... row: drawn in the odd-row colour
};

struct HistoryList {
    QList<HistoryRow> rows;
    int current = -1;  // row equal to the box's text, -1 = none
    std::optional<RunColor> oddColor;  // the odd-row colour in use; none = off
};

// The rows for an opening of the list: the stored entries that are not
// empty, sorted as HistorySort says (without regard to case, equal entries
// kept in their order), coloured by the first word of activeColors
// (TAB-separated "word:bbggrr") each contains without regard to case.
HistoryList OpenHistoryList(const HistorySettings &history, const QString &activeOddColor,
                            const QString &activeColors, const QString &boxText);

// The arrow keys: one row up or down, staying on the list; with no current
// row both give the first row. -1 for an empty list.
int StepHistoryRow(int current, int delta, int rowCount);

// The Delete key on a row: HistoryText without exactly that entry, the
// others joined by single TABs in their stored order.
void RemoveHistoryEntry(HistorySettings &history, const HistoryRow &row);

}  // namespace zk
