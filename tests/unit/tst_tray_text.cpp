#include "shell/tray_text.h"

#include <QtTest>

using namespace zk;

class TestTrayText : public QObject {
    Q_OBJECT
private slots:
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
        QString text = QStringLiteral("5");
        int ticks = 0;
        for (;;) {
            const SplashTick t = SplashCountdownTick(text);
            ++ticks;
            text = t.secondsText;
            if (t.close)
                break;
            QVERIFY(ticks < 10);
        }
        QCOMPARE(ticks, 5);
        QCOMPARE(text, QStringLiteral("0"));
        // A count far below 0 closes at once rather than wrapping around.
        QVERIFY(SplashCountdownTick(QStringLiteral("-1") + QString(30, QLatin1Char('0'))).close);
        const SplashTick none = SplashCountdownTick(QString());
        QVERIFY(!none.close);
        QCOMPARE(none.secondsText, QString());
    }
};

QTEST_GUILESS_MAIN(TestTrayText)
#include "tst_tray_text.moc"
