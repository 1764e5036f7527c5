// The command history and the rows of its drop-down list.
#include "input/command_history.h"

#include <QtTest>

using namespace zk;

namespace {

QStringList entries(const HistorySettings &h)
{
    return h.HistoryText.split(QLatin1Char('\t'));
}

QStringList texts(const HistoryList &l)
{
    QStringList t;
    for (const HistoryRow &r : l.rows)
        t << r.text;
    return t;
}

}  // namespace

class TestCommandHistory : public QObject {
    Q_OBJECT
private slots:
    void addKeepsNewestFirstOnceAndWithinTheLimit()
    {
        HistorySettings h;
        for (const char *c : {"a", "b", " a "})
            AddToHistory(h, QString::fromLatin1(c));
        QCOMPARE(entries(h), (QStringList{"a", "b"}));

        h.HistoryMax = 3;
        h.HistoryText = QStringLiteral("c\tb\ta");
        AddToHistory(h, QStringLiteral("d"));
        QCOMPARE(entries(h), (QStringList{"d", "c", "b"}));

        // Moving an entry to the head keeps the others up to the limit.
        h.HistoryMax = 2;
        h.HistoryText = QStringLiteral("b\ta");
        AddToHistory(h, QStringLiteral("a"));
        QCOMPARE(entries(h), (QStringList{"a", "b"}));

        // Case counts; a tab inside a command would split it in two.
        h.HistoryMax = 10;
        h.HistoryText = QStringLiteral("A");
        AddToHistory(h, QStringLiteral("x\ty"));
        QCOMPARE(entries(h), (QStringList{"x y", "A"}));

        // An empty box is an empty head; the next command takes its place.
        AddToHistory(h, QString());
        QCOMPARE(entries(h), (QStringList{"", "x y", "A"}));
        AddToHistory(h, QStringLiteral("z"));
        QCOMPARE(entries(h), (QStringList{"z", "x y", "A"}));

        // A lowered limit cuts at the next addition; one entry at the least.
        h.HistoryMax = 0;
        AddToHistory(h, QStringLiteral("q"));
        QCOMPARE(h.HistoryText, QStringLiteral("q"));
    }

    void menuStaysWithinItsLimits()
    {
        QCOMPARE(StepHistoryRows(20, 1), 20);
        QCOMPARE(StepHistoryRows(1, -1), 1);
        QCOMPARE(StepHistoryRows(7, 1), 8);
        QCOMPARE(StepHistoryMax(100, 1), 100);
        QCOMPARE(StepHistoryMax(1, -1), 1);
        // A file may hold numbers outside the menu's range.
        QCOMPARE(StepHistoryRows(500, -1), 20);
        QCOMPARE(StepHistoryMax(-3, 1), 1);

        QCOMPARE(ToggleHistorySort(QString(), 0), QStringLiteral("0"));
        QCOMPARE(ToggleHistorySort(QStringLiteral("0"), 1), QStringLiteral("1"));
        QCOMPARE(ToggleHistorySort(QStringLiteral("1"), 1), QString());
    }

    void colours()
    {
        QCOMPARE(ParseHistoryColor("0000ff"), std::optional(RunColor{255, 0, 0}));
        QCOMPARE(ParseHistoryColor("ff0000"), std::optional(RunColor{0, 0, 255}));
        QCOMPARE(ParseHistoryColor("FFFFE0"), std::optional(RunColor{224, 255, 255}));
        QCOMPARE(ParseHistoryColor("12345"), std::nullopt);
        QCOMPARE(ParseHistoryColor("xyzxyz"), std::nullopt);

        HistorySettings h;
        h.HistoryColors = DefaultHistoryColors();
        h.HistoryText = QStringLiteral("run /SHUTDOWN\tplain\tx /capture /sound\t\ty /capture");
        HistoryList l = OpenHistoryList(h, h.HistoryOddColor, h.HistoryColors, QStringLiteral("plain"));
        QCOMPARE(texts(l), (QStringList{"run /SHUTDOWN", "plain", "x /capture /sound", "y /capture"}));
        QCOMPARE(l.rows[0].textColor, std::optional(RunColor{255, 0, 0}));  // "/shutdown:0000ff"
        QCOMPARE(l.rows[1].textColor, std::nullopt);
        QCOMPARE(l.rows[2].textColor, std::optional(RunColor{0, 0, 255}));  // "/sound" is listed first
        QCOMPARE(l.rows[3].textColor, std::optional(RunColor{0, 128, 0}));
        QCOMPARE(l.current, 1);
        QCOMPARE(l.oddColor, std::optional(RunColor{224, 255, 255}));
        const QList<bool> odd{l.rows[0].oddBack, l.rows[1].oddBack, l.rows[2].oddBack, l.rows[3].oddBack};
        QCOMPARE(odd, (QList<bool>{false, true, false, true}));

        // Switched off from the menu; an entry without a word colours nothing.
        l = OpenHistoryList(h, QString(), QStringLiteral("\t:0000ff\t/CAP:ff0000"), QString());
        QCOMPARE(l.oddColor, std::nullopt);
        QVERIFY(!l.rows[1].oddBack);
        QCOMPARE(l.rows[0].textColor, std::nullopt);
        QCOMPARE(l.rows[2].textColor, std::optional(RunColor{0, 0, 255}));
        QCOMPARE(l.current, -1);
    }

    void sortedRowsDeleteExactlyTheEntryShown()
    {
        HistorySettings h;
        h.HistoryText = QStringLiteral("b\tC\ta\tB");
        h.HistorySort = QStringLiteral("0");
        HistoryList l = OpenHistoryList(h, QString(), QString(), QString());
        QCOMPARE(texts(l), (QStringList{"a", "b", "B", "C"}));  // equal without case: stored order
        RemoveHistoryEntry(h, l.rows[2]);
        QCOMPARE(h.HistoryText, QStringLiteral("b\tC\ta"));

        h.HistorySort = QStringLiteral("1");
        l = OpenHistoryList(h, QString(), QString(), QStringLiteral("a"));
        QCOMPARE(texts(l), (QStringList{"C", "b", "a"}));
        QCOMPARE(l.current, 2);
        RemoveHistoryEntry(h, l.rows[0]);
        QCOMPARE(h.HistoryText, QStringLiteral("b\ta"));

        // Empty entries go with the rebuild.
        h.HistoryText = QStringLiteral("\tx\t\ty");
        h.HistorySort.clear();
        l = OpenHistoryList(h, QString(), QString(), QString());
        RemoveHistoryEntry(h, l.rows[1]);
        QCOMPARE(h.HistoryText, QStringLiteral("x"));
    }

    void arrowKeys()
    {
        QCOMPARE(StepHistoryRow(-1, -1, 3), 0);
        QCOMPARE(StepHistoryRow(-1, 1, 3), 0);
        QCOMPARE(StepHistoryRow(0, -1, 3), 0);
        QCOMPARE(StepHistoryRow(1, 1, 3), 2);
        QCOMPARE(StepHistoryRow(2, 1, 3), 2);
        QCOMPARE(StepHistoryRow(-1, 1, 0), -1);
    }
};

QTEST_APPLESS_MAIN(TestCommandHistory)
#include "tst_command_history.moc"
