#include "core/job_edit.h"
#include "settings/settings_file.h"

#include <QtTest>

using namespace zk;

class TestJobEdit : public QObject {
    Q_OBJECT
private slots:
    void spinValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("high");
        QTest::addColumn<QString>("expected");
        QTest::newRow("hour up wraps 23 to 0") << "23" << 0 << 23 << "0";
        QTest::newRow("minute down wraps 0 to 59") << "0" << 1 << 59 << "59";
        QTest::newRow("hour up") << "7" << 0 << 23 << "8";
        QTest::newRow("empty reads 0, up") << "" << 0 << 23 << "1";
        QTest::newRow("above range up wraps") << "30" << 0 << 23 << "0";
        QTest::newRow("leading zero") << "09" << 0 << 59 << "10";
    }
    void spinValue()
    {
        QFETCH(QString, text);
        QFETCH(int, direction);
        QFETCH(int, high);
        QFETCH(QString, expected);
        QCOMPARE(SpinValue(text, direction, high, 0), expected);
    }

    void correctClockBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("max");
        QTest::addColumn<QString>("expected");
        QTest::newRow("25 hours gives 23") << "25" << 23 << "23";
        QTest::newRow("empty gives 0") << "" << 23 << "0";
        QTest::newRow("in range stays") << "07" << 23 << "07";
        QTest::newRow("max stays") << "59" << 59 << "59";
        QTest::newRow("60 minutes gives 59") << "60" << 59 << "59";
    }
    void correctClockBox()
    {
        QFETCH(QString, text);
        QFETCH(int, max);
        QFETCH(QString, expected);
        QCOMPARE(CorrectClockBox(text, max), expected);
    }

    void digitsOnly()
    {
        QCOMPARE(DigitsOnly(QStringLiteral("1７a2-3")), QStringLiteral("123"));  // full-width digits are not digits
        QCOMPARE(DigitsOnly(QStringLiteral("  9x0"), true), QStringLiteral("  90"));
        QCOMPARE(DigitsOnly(QStringLiteral("  9 0"), false), QStringLiteral("90"));
        QCOMPARE(DigitsOnly(QStringLiteral(" a1.5b-"), true, true), QStringLiteral(" 1.5"));  // the CPU lower limit
    }

    void resumeAllowed()
    {
        for (const OperationKind op : kOperationKinds)
            QCOMPARE(ResumeUsable(op, false), op == OperationKind::Sleep || op == OperationKind::Hibernate);
        QVERIFY(!ResumeUsable(std::nullopt, false));
        QVERIFY(ResumeUsable(OperationKind::Reboot, true));
    }

    // A settings file read at start-up goes through the operation list's check.
    void loadedOperationIsChecked_data()
    {
        QTest::addColumn<int>("previous");
        QTest::addColumn<int>("loaded");
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("message");
        QTest::newRow("hibernation refused: the default stays") << 0 << 3 << false << 0 << true;
        QTest::newRow("hibernation refused: sleep stays") << 4 << 3 << false << 4 << true;
        QTest::newRow("hibernation allowed") << 0 << 3 << true << 3 << false;
        QTest::newRow("sleep needs no permission") << 0 << 4 << false << 4 << false;
    }
    void loadedOperationIsChecked()
    {
        QFETCH(int, previous);
        QFETCH(int, loaded);
        QFETCH(bool, allowed);
        QFETCH(int, expected);
        QFETCH(bool, message);
        AppState s;
        s.job.Operation = previous;
        ApplySettingsText(QStringLiteral("-1,-1,%1,\r\n").arg(loaded), s, QString());
        QCOMPARE(s.job.Operation, loaded);
        const auto shown = KeepAllowedOperation(s, previous, [allowed] { return allowed; });
        QCOMPARE(s.job.Operation, expected);
        QCOMPARE(shown.has_value(), message);
        if (message)
            QCOMPARE(*shown, (UserMessage{"無効", "「休止」は無効となっています。\r\n[電源のオプション]から「休止」を有効にして下さい。"}));
    }

    void timingModeFillsOnlyWhenBothEmpty()
    {
        const QDateTime now(QDate(2026, 12, 7), QTime(9, 5, 30));
        JobSettings j;
        SetTimingMode(j, 1, now);
        QCOMPARE(j.TimingMode, 1);
        QCOMPARE(j.ClockHour, QStringLiteral("9"));
        QCOMPARE(j.ClockMinute, QStringLiteral("5"));

        JobSettings k;
        k.ClockMinute = QStringLiteral("30");
        SetTimingMode(k, 2, now);
        QCOMPARE(k.TimingMode, 1);
        QCOMPARE(k.ClockHour, QString());
        QCOMPARE(k.ClockMinute, QStringLiteral("30"));
        SetTimingMode(k, 0, now);
        QCOMPARE(k.TimingMode, 0);
    }

    void fixResumeDate()
    {
        const QDate today(2026, 12, 6);
        JobSettings j;
        j.ResumeDateParts = {"2020", "1", "2", "3", "4"};
        FixResumeDate(j, today);
        QCOMPARE(j.ResumeDateParts, (std::array<QString, 5>{"2026", "12", "6", "3", "4"}));
        j.ResumeDateParts = {"2027", "1", "2", "3", "4"};
        FixResumeDate(j, today);
        QCOMPARE(j.ResumeDateParts[0], QStringLiteral("2027"));
    }

    // Which operation each quick button runs.
    void quickButtons()
    {
        QList<int> indexes;
        for (const QuickButtonSpec &b : QuickButtons())
            indexes << b.index;
        QCOMPARE(indexes, (QList<int>{0, 1, 3, 4}));
    }

    void quickActionClearsMonitorAndResume()
    {
        AppState s;
        s.job.MonitorEnabled = 1;
        s.job.ResumeEnabled = 1;
        s.job.TimingMode = 1;
        s.job.DelayMinutes = QStringLiteral("  90");
        ApplyQuickAction(s, 4);
        QCOMPARE(s.job.Operation, 4);
        QCOMPARE(s.job.TimingMode, 0);
        QCOMPARE(s.job.DelayMinutes, QStringLiteral("   0"));
        QCOMPARE(s.job.Force, 1);
        QCOMPARE(s.job.MonitorEnabled, 0);
        QCOMPARE(s.job.ResumeEnabled, 0);
        QVERIFY(s.cl.AutoStart);
    }

    void resumeDateSpin_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("box");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QStringList>("after");
        const QStringList base{"2026", "12", "31", "23", "59"};
        QTest::newRow("year up") << base << 0 << 0 << QStringList{"2027", "12", "31", "23", "59"};
        QTest::newRow("year wraps to this year") << QStringList{"2027", "1", "1", "0", "0"} << 0 << 0
                                                 << QStringList{"2026", "1", "1", "0", "0"};
        QTest::newRow("month up wraps, day cut") << base << 1 << 0 << QStringList{"2026", "1", "31", "23", "59"};
        QTest::newRow("month to February cuts day") << QStringList{"2026", "1", "31", "8", "0"} << 1 << 0
                                                    << QStringList{"2026", "2", "28", "8", "0"};
        QTest::newRow("day wraps at month end") << base << 2 << 0 << QStringList{"2026", "12", "1", "23", "59"};
        QTest::newRow("day down wraps to 30 in November") << QStringList{"2026", "11", "1", "8", "0"} << 2 << 1
                                                          << QStringList{"2026", "11", "30", "8", "0"};
        QTest::newRow("empty year fills all") << QStringList{"", "", "", "", ""} << 3 << 0
                                              << QStringList{"2026", "12", "7", "9", "5"};
        QTest::newRow("empty own box, year set: nothing")
            << QStringList{"2026", "12", "", "8", "0"} << 2 << 0 << QStringList{"2026", "12", "", "8", "0"};
    }
    void resumeDateSpin()
    {
        QFETCH(QStringList, before);
        QFETCH(int, box);
        QFETCH(int, direction);
        QFETCH(QStringList, after);
        std::array<QString, 5> parts;
        for (int i = 0; i < 5; ++i)
            parts[i] = before[i];
        const bool changed = SpinResumeDate(parts, box, direction, QDateTime(QDate(2026, 12, 7), QTime(9, 5)));
        QStringList got;
        for (const auto &p : parts)
            got << p;
        QCOMPARE(got, after);
        QCOMPARE(changed, before != after);
    }
};

QTEST_GUILESS_MAIN(TestJobEdit)
#include "tst_job_edit.moc"
