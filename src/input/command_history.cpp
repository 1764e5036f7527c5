#include "input/command_history.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>

namespace zk {

namespace {

const QChar kTab = QLatin1Char('\t');

}  // namespace

void AddToHistory(HistorySettings &history, const QString &command)
{
    // A tab inside the command would split it into two entries.
    QString cur = command.trimmed();
    cur.replace(kTab, QLatin1Char(' '));
    QStringList kept{cur};
    // Counted in entries kept: a dropped duplicate or an empty old entry
    // leaves its place to the next one.
    for (const QString &old : history.HistoryText.split(kTab)) {
        if (kept.size() >= history.HistoryMax)
            break;
        if (!old.isEmpty() && old != cur)
            kept.append(old);
    }
    history.HistoryText = kept.join(kTab);
}

int StepHistoryRows(int rows, int delta)
{
    return std::clamp(rows + delta, kHistoryRowsMin, kHistoryRowsMax);
}

int StepHistoryMax(int max, int delta)
{
    return std::clamp(max + delta, kHistoryMaxMin, kHistoryMaxMax);
}

QString ToggleHistorySort(const QString &sort, int item)
{
    const QString picked = QString::number(item);
    return sort == picked ? QString() : picked;
}

QString HistoryRowsUpCaption(int rows)
{
    return //: Button that shows one more row of the history list; %1: the rows shown now.
    QCoreApplication::translate("CommandHistory", "表示行数 ＋　(%1)").arg(rows);
}

QString HistoryMaxUpCaption(int max)
{
    return //: Button that keeps one more entry in the history; %1: the entries kept now.
    QCoreApplication::translate("CommandHistory", "記憶履歴数 ＋ (%1)").arg(max);
}

std::optional<RunColor> ParseHistoryColor(const QString &bgr)
{
    const QString t = bgr.trimmed();
    if (t.size() != 6)
        return std::nullopt;
    bool ok = false;
    const uint v = t.toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return RunColor{int(v & 0xff), int((v >> 8) & 0xff), int((v >> 16) & 0xff)};
}

HistoryList OpenHistoryList(const HistorySettings &history, const QString &activeOddColor,
                            const QString &activeColors, const QString &boxText)
{
    struct WordColor {
        QString word;
        std::optional<RunColor> color;
    };
    QList<WordColor> words;
    if (!activeColors.isEmpty()) {
        for (const QString &entry : activeColors.split(kTab)) {
            const int colon = entry.lastIndexOf(QLatin1Char(':'));
            const QString word = colon < 0 ? entry : entry.left(colon);
            // An empty word would be found in every entry.
            if (!word.isEmpty())
                words.append({word, colon < 0 ? std::nullopt : ParseHistoryColor(entry.mid(colon + 1))});
        }
    }

    HistoryList list;
    if (!activeOddColor.isEmpty())
        list.oddColor = ParseHistoryColor(activeOddColor);
    const QStringList stored = history.HistoryText.split(kTab);
    for (int i = 0; i < stored.size(); ++i)
        if (!stored[i].isEmpty())
            list.rows.append({stored[i], i, std::nullopt, false});

    if (history.HistorySort == QLatin1String("0") || history.HistorySort == QLatin1String("1")) {
        const bool descending = history.HistorySort == QLatin1String("1");
        std::stable_sort(list.rows.begin(), list.rows.end(), [descending](const HistoryRow &a, const HistoryRow &b) {
            const int c = QString::compare(a.text, b.text, Qt::CaseInsensitive);
            return descending ? c > 0 : c < 0;
        });
    }

    for (int i = 0; i < list.rows.size(); ++i) {
        HistoryRow &row = list.rows[i];
        row.oddBack = i % 2 == 1 && list.oddColor.has_value();
        for (const WordColor &w : words) {
            if (row.text.contains(w.word, Qt::CaseInsensitive)) {
                row.textColor = w.color;
                break;
            }
        }
        if (list.current < 0 && row.text == boxText)
            list.current = i;
    }
    return list;
}

int StepHistoryRow(int current, int delta, int rowCount)
{
    if (rowCount <= 0)
        return -1;
    if (current < 0 || current >= rowCount)
        return 0;
    return std::clamp(current + delta, 0, rowCount - 1);
}

void RemoveHistoryEntry(HistorySettings &history, const HistoryRow &row)
{
    QStringList entries = history.HistoryText.split(kTab);
    int at = row.stored;
    if (at < 0 || at >= entries.size() || entries[at] != row.text)
        at = int(entries.indexOf(row.text));  // the history changed since the list opened
    if (at < 0)
        return;
    entries.removeAt(at);
    entries.removeAll(QString());
    history.HistoryText = entries.join(kTab);
}

}  // namespace zk
