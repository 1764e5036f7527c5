// The rules the windows forward to: where they open, the tray's texts, and
// the edits of the record behind the main window and its input form.
#include "core/job_edit.h"
#include "core/multi_edit.h"
#include "input/edit_form.h"
#include "shell/tray_text.h"
#include "shell/window_place.h"

#include <QtTest>

using namespace zk;

class TestWindowRules : public QObject {
    Q_OBJECT
private slots:
    void placeForStored()
    {
        // A 200x100 window; the work area 0,0 1000x800 is the only screen.
        const int t = kTwipsPerPixel;
        const struct {
            int left, top;
            QPoint expected;
        } cases[] = {
            {150 * t + 14, 0, {150, 0}},  // twips round down
            {-1, 90 * t, {399, 349}},     // none stored: centred
            {850 * t, 700 * t, {850, 700}},  // the centre still on the screen
            {950 * t, 760 * t, {399, 349}},  // the centre off the screen
        };
        const QRect screen(0, 0, 1000, 800);
        const auto onScreen = [&](QPoint p) { return screen.contains(p); };
        for (const auto &c : cases)
            QCOMPARE(PlaceForStored(c.left, c.top, QSize(200, 100), screen, onScreen), c.expected);
    }

    void formsStayOnTheScreen()
    {
        // A second screen to the right of the first: its own edges count.
        const QRect screen(1000, 0, 800, 600);
        QCOMPARE(PlaceAtPointer(QPoint(1100, 100), QSize(300, 200), screen), QPoint(1100, 100));
        QCOMPARE(PlaceAtPointer(QPoint(1700, 550), QSize(300, 200), screen), QPoint(1500, 400));
        QCOMPARE(PlaceAtPointer(QPoint(1100, 100), QSize(900, 700), screen), QPoint(1000, 0));

        // The list under its box, or above it where it would pass the bottom.
        const QRect box(1100, 300, 200, 20);
        QCOMPARE(PlaceUnderBox(box, QSize(200, 280), screen), QPoint(1100, 320));
        QCOMPARE(PlaceUnderBox(box, QSize(200, 281), screen), QPoint(1100, 19));
        QCOMPARE(PlaceUnderBox(QRect(1700, 300, 200, 20), QSize(200, 100), screen), QPoint(1600, 320));
    }

    void fitInArea()
    {
        // The work area of a 1280x800 screen with a 32 px panel at the top.
        const QRect area(0, 32, 1280, 768);
        QCOMPARE(FitInArea({100, 100}, {600, 500}, area), QRect(100, 100, 600, 500));  // fits where it is
        QCOMPARE(FitInArea({100, 300}, {600, 600}, area), QRect(100, 200, 600, 600));  // grown past the bottom
        QCOMPARE(FitInArea({100, 300}, {600, 929}, area), QRect(100, 32, 600, 768));   // taller than the area
        QCOMPARE(FitInArea({-50, 0}, {600, 500}, area), QRect(0, 32, 600, 500));       // above the panel
        QCOMPARE(FitInArea({10, 40}, {1400, 900}, area), QRect(0, 32, 1280, 768));     // larger both ways
    }

    void browseStartFolder()
    {
        const QStringList existing{"/opt/tools", "/opt/my tools", "/work/bin"};
        const auto start = [&](const char *command) {
            return BrowseStartFolder(QString::fromUtf8(command), QStringLiteral("/last"), QStringLiteral("/work"),
                                     [&](const QString &f) { return existing.contains(f); });
        };
        QCOMPARE(start(""), QStringLiteral("/last"));  // an empty box
        QCOMPARE(start("/opt/tools/run -x"), QStringLiteral("/opt/tools"));
        QCOMPARE(start("\"/opt/my tools/run\" -x"), QStringLiteral("/opt/my tools"));
        QCOMPARE(start("bin/run"), QStringLiteral("/work/bin"));  // relative
        QCOMPARE(start("/gone/run"), QStringLiteral("/last"));   // the folder missing
    }

    void tooltip()
    {
        const QDate today(2026, 12, 7);
        const QDateTime t1430(today, QTime(14, 30, 12));
        const QDateTime tomorrow(today.addDays(1), QTime(6, 5));
        const struct {
            bool active, resume;
            QDateTime resumeTime, target;
            const char *expected;
        } cases[] = {
            {true, false, {}, t1430, "14時30分にシャットダウン"},
            {true, false, {}, tomorrow, "2026年12月08日 06時05分にシャットダウン"},
            {true, true, t1430, tomorrow, "14時30分に復帰"},
            {true, true, tomorrow, t1430, "2026年12月08日 06時05分に復帰"},
            {true, true, {}, t1430, "14時30分にシャットダウン"},  // resume without a time names the action
            {false, true, t1430, t1430, "Zenkoroシャットダウン 0.10 未実行"},
        };
        for (const auto &c : cases) {
            TrayTooltipInput in;
            in.runActive = c.active;
            in.resumeChecked = c.resume;
            in.resumeTime = c.resumeTime;
            in.targetTime = c.target;
            in.operationText = QStringLiteral("シャットダウン");
            in.windowTitle = QStringLiteral("Zenkoroシャットダウン 0.10");
            in.today = today;
            QCOMPARE(TrayTooltipText(in), QString::fromUtf8(c.expected));
        }
    }

    void cut()
    {
        const QString s63(63, QChar(0x3042));
        QCOMPARE(CutTrayTooltip(s63), s63);
        QCOMPARE(CutTrayTooltip(s63 + QStringLiteral("xyz")), s63);
        // A character outside the basic plane is not split.
        const QString emoji = QString::fromUcs4(U"\U0001F600");
        const QString s = QString(62, QLatin1Char('a')) + emoji + QStringLiteral("b");
        QCOMPARE(CutTrayTooltip(s), QString(62, QLatin1Char('a')));
    }

    void slide()
    {
        // Left edge reaches the screen's right edge after one second.
        QCOMPARE(TraySlideOffset(1000, 1920, 1000), 920);
        QCOMPARE(TraySlideOffset(1000, 1920, 0), 0);
        // Half-way in time only a quarter of the way (uniform acceleration).
        QCOMPARE(TraySlideOffset(1000, 1920, 500), 230);
        QCOMPARE(TraySlidePosition(QPoint(1000, 700), 1920, 1000), QPoint(1920, 1620));
    }

    void splash()
    {
        // "5" counts down one a second and closes on reaching "0".
        QString text = QStringLiteral("5");
        int ticks = 0;
        for (SplashTick t; !t.close && ticks < 10; ++ticks)
            text = (t = SplashCountdownTick(text)).secondsText;
        QCOMPARE((QStringList{QString::number(ticks), text}), (QStringList{"5", "0"}));
        // A count far below 0 closes at once rather than wrapping around.
        QVERIFY(SplashCountdownTick(QStringLiteral("-1") + QString(30, QLatin1Char('0'))).close);
        const SplashTick none = SplashCountdownTick(QString());
        QVERIFY(!none.close && none.secondsText.isEmpty());
    }

    void editRules()
    {
        AppState s;
        s.job.Operation = 4;
        s.job.ResumeEnabled = 1;
        QVERIFY(SelectOperation(s, 3));  // another suspend kind clears the resume box too
        QCOMPARE(s.job.ResumeEnabled, 0);
        s.job.ShowQuickButtons = 1;
        QVERIFY(QuickButtonsVisible(s.job));
        s.job.MultiEnabled = 1;  // the multi schedule hides them
        QVERIFY(!QuickButtonsVisible(s.job));
        QCOMPARE((QList<int>{StepEditFontSize(39, 1), StepEditFontSize(40, 1), StepEditFontSize(9, -1)}),
                 (QList<int>{40, 40, 9}));
    }

    void multiRows()
    {
        MultiRows rows;
        rows[0] = {"23", "30", "シャットダウン", ""};
        const MultiRows before = rows;
        QCOMPARE(MoveMultiRow(rows, 0, false), 1);
        QVERIFY(rows[1] == before[0] && rows[0] == before[1]);
        QCOMPARE(MoveMultiRow(rows, kMultiRowCount - 1, false), kMultiRowCount - 1);
        QCOMPARE(MoveMultiRow(rows, 0, true), 0);

        JobSettings j;
        j.ResumeEnabled = 1;
        MultiToggleMemory memory;
        ApplyMultiToggled(j, memory, true);
        QCOMPARE((QList<int>{j.MonitorEnabled, j.ResumeEnabled}), (QList<int>{1, 0}));
        ApplyMultiToggled(j, memory, false);  // the boxes come back
        QCOMPARE((QList<int>{j.MonitorEnabled, j.ResumeEnabled}), (QList<int>{0, 1}));
    }
};

QTEST_GUILESS_MAIN(TestWindowRules)
#include "tst_window_rules.moc"
