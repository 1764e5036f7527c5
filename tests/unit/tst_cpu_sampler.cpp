// The CPU usage sampler's rules over scripted counters.
#include "monitors/cpu_sampler.h"
#include "monitors/trigger.h"
#include "support/fake/fake_cpu_counters.h"

#include <QSignalSpy>
#include <QtTest>

using namespace zk;

Q_DECLARE_METATYPE(zk::CpuCounters)

namespace {

const QDateTime kStart(QDate(2026, 12, 7), QTime(12, 0, 0));

struct Rig {
    FakeCpuCounters fake;
    CpuSampler sampler{fake, 1};
};

}  // namespace

class TestCpuSampler : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void formatUsage()
    {
        const std::pair<double, const char *> cases[] = {
            {0.0, "  0"}, {5.5, "  5.5"}, {12.3456, " 12.345"}, {100.0 / 3, " 33.333"}, {100.0, "100"}, {-1.0, " -1"},
            {0.00005, "  0.000"},  // read back with a leading-number parse, an exponent would make 5
        };
        for (const auto &[x, text] : cases)
            QCOMPARE(FormatUsage(x), QString::fromLatin1(text));
    }

    void ringSlots()
    {
        // One slot at least, no exponent ("1e300" reads 1), a cap for a huge span.
        const std::pair<const char *, int> cases[] = {{"5", 3}, {" 20", 10}, {"21", 11}, {"0", 1},
                                                      {"abc", 1}, {"1e300", 1}, {"100000000000000000000", 1 << 20}};
        for (const auto &[seconds, count] : cases)
            QCOMPARE(CpuRingSlots(QString::fromLatin1(seconds)), count);
    }

    void ringAverage_data()
    {
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<QList<double>>("samples");
        QTest::addColumn<QString>("sample");
        QTest::addColumn<QString>("average");
        using L = QList<double>;
        QTest::newRow("empty slots count as 0") << "5" << L{9} << "  9" << "  3";
        QTest::newRow("full ring") << "5" << L{10, 10, 10.5} << " 10.5" << " 10.166";
        QTest::newRow("oldest overwritten") << "5" << L{6, 0, 0, 3} << "  3" << "  1";
        QTest::newRow("any negative sum") << "20" << L{0.5, -1} << " -1" << " -1";
        QTest::newRow("sum of exactly 0") << "5" << L{1, -1} << " -1" << "  0";
        QTest::newRow("gone after busy") << "5" << L{100, -1} << " -1" << " 33";
        QTest::newRow("the shown number is stored") << "2" << L{12.34567} << " 12.345" << " 12.345";
    }
    void ringAverage()
    {
        QFETCH(QString, seconds);
        QFETCH(QList<double>, samples);
        QFETCH(QString, sample);
        QFETCH(QString, average);
        CpuRing ring;
        ring.reset(seconds);
        for (double x : samples)
            ring.add(x);
        QCOMPARE(ring.sampleText(), sample);
        QCOMPARE(ring.averageText(), average);
    }

    void processSelector()
    {
        const QList<ProcessRow> rows = SortProcesses({{"notepad.exe", 30}, {"Explorer.exe", 412}, {"NOTEPAD.EXE", 7},
                                                      {"bash", 100000}, {"notepad.exe", 5}, {" sp ", 9}});
        const QStringList items{"    9  sp ", "100000 bash", "  412 Explorer.exe", "   30 notepad.exe",
                                "    7 NOTEPAD.EXE", "    5 notepad.exe"};
        QCOMPARE(ProcessSelectorItems(rows), items);
        // An item splits back into its id and the name as listed, blanks and all.
        QCOMPARE(SplitProcessSelector(items[0]).pidText, QStringLiteral("9"));
        QCOMPARE(SplitProcessSelector(items[0]).name, QStringLiteral(" sp "));
        QCOMPARE(SplitProcessSelector(QStringLiteral("? a b")).name, QStringLiteral("a b"));
        // The id's text and the name given, the id found and the name after.
        const std::tuple<const char *, const char *, qint64, const char *> cases[] = {
            {"?", "Notepad.exe", 30, "notepad.exe"},  // the first in sorted order, in its spelling
            {"7", "notepad.exe", 7, "notepad.exe"},
            {"8", "notepad.exe", 0, "notepad.exe"},
            {"?", "notepad", 0, "notepad"},
            {"9", " sp ", 9, " sp "},
            {"9", "sp ", 9, "sp "},  // the blanks at the ends only when no name is equal
            {"?", "SP", 9, " sp "},
        };
        for (const auto &[pidText, given, pid, nameAfter] : cases) {
            QString name = QString::fromUtf8(given);
            QCOMPARE(FindProcessId(rows, QString::fromUtf8(pidText), name), pid);
            QCOMPARE(name, QString::fromUtf8(nameAfter));
        }
    }

    // Whole machine: Δbusy / Δtotal, coloured against the limit.
    void wholeMachine_data()
    {
        QTest::addColumn<QString>("limit");
        QTest::addColumn<CpuCounters>("second");
        QTest::addColumn<QString>("sample");
        QTest::addColumn<QString>("average");
        QTest::addColumn<bool>("red");
        const CpuCounters first = FakeCpuCounters::at(100, 1000);
        QTest::newRow("idle") << " 0.1" << FakeCpuCounters::at(100, 1200) << "  0" << "  0" << true;
        QTest::newRow("half busy") << "20.0" << FakeCpuCounters::at(200, 1200) << " 50" << " 50" << false;
        QTest::newRow("equal to the limit is blue") << "50" << FakeCpuCounters::at(200, 1200) << " 50" << " 50" << false;
        QTest::newRow("unreadable counts as busy") << "20.0" << CpuCounters{} << "100" << "100" << false;
        QTest::newRow("time went nowhere") << "20.0" << first << "100" << "100" << false;
    }
    void wholeMachine()
    {
        QFETCH(QString, limit);
        QFETCH(CpuCounters, second);
        QFETCH(QString, sample);
        QFETCH(QString, average);
        QFETCH(bool, red);
        Rig r;
        r.fake.readings[0] = {FakeCpuCounters::at(100, 1000), second};
        r.sampler.begin(QStringLiteral("2"), limit, QString(), true);
        QVERIFY(WaitForSamples(r.sampler, 1));
        r.sampler.stop(false);
        QCOMPARE(r.sampler.sampleText(), sample);
        QCOMPARE(r.sampler.averageText(), average);
        QCOMPARE(r.sampler.averageColor(), red ? kColorAverageBelow : kColorAverageAbove);
        QVERIFY(r.fake.reads.size() == 2 && r.fake.reads.at(0) == 0);
    }

    // One process: its share of one processor, clamped to 0..100; -1 when it
    // is not there or ends during the window.
    void oneProcess_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<CpuCounters>("second");
        QTest::addColumn<QString>("sample");
        const CpuCounters first = FakeCpuCounters::at(10, 1000, 77);
        QTest::newRow("a quarter") << "   30 editor" << FakeCpuCounters::at(10.5, 1002, 77) << " 25";
        QTest::newRow("several processors") << "   30 editor" << FakeCpuCounters::at(13, 1002, 77) << "100";
        QTest::newRow("negative") << "   30 editor" << FakeCpuCounters::at(9, 1002, 77) << "  0";
        QTest::newRow("ended during the window") << "   30 editor" << CpuCounters{} << " -1";
        QTest::newRow("its id taken by another") << "   30 editor" << FakeCpuCounters::at(10, 1002, 78) << " -1";
        QTest::newRow("no such name") << "? viewer" << first << " -1";
        QTest::newRow("no blank") << "30" << first << " -1";
    }
    void oneProcess()
    {
        QFETCH(QString, selector);
        QFETCH(CpuCounters, second);
        QFETCH(QString, sample);
        Rig r;
        r.fake.rows = {{"editor", 30}, {"shell", 2}};
        r.fake.readings[30] = {FakeCpuCounters::at(10, 1000, 77), second};
        r.sampler.begin(QStringLiteral(" 20"), QStringLiteral(" 0.1"), selector, true);
        QVERIFY(WaitForSamples(r.sampler, 1));
        r.sampler.stop(false);
        QCOMPARE(r.sampler.sampleText(), sample);
        QVERIFY(!r.fake.reads.contains(0));  // never the whole machine
        // A process named by its id is looked at alone; "?" searches all.
        QCOMPARE(r.fake.listings, selector.startsWith(QLatin1Char('?')) ? 1 : 0);
    }

    void questionMarkSelectorIsRewritten()
    {
        Rig r;
        QSignalSpy rewritten(&r.sampler, &CpuSampler::selectorRewritten);
        r.fake.rows = {{"Notepad.exe", 812}, {"bash", 3}, {"notepad.exe", 40}};
        // A list that comes after the stop button finds nothing.
        r.sampler.begin(QStringLiteral("4"), QStringLiteral(" 0.1"), QStringLiteral("? notepad.exe"), true);
        QVERIFY(QTest::qWaitFor([&] { return r.fake.listings == 1; }, 5000));
        r.sampler.stop(true);
        QCoreApplication::processEvents();
        QCOMPARE(rewritten.size(), 0);
        r.fake.listings = 0;
        r.fake.readings[812] = {FakeCpuCounters::at(0, 0, 5), FakeCpuCounters::at(1, 2, 5)};
        r.sampler.begin(QStringLiteral("4"), QStringLiteral(" 0.1"), QStringLiteral("? notepad.exe"), true);
        QVERIFY(WaitForSamples(r.sampler, 3));
        r.sampler.stop(false);
        QCOMPARE(r.fake.listings, 1);  // found once, then named by its id
        QCOMPARE(rewritten.size(), 1);
        QCOMPARE(rewritten.first().at(0).toString(), QStringLiteral("  812 Notepad.exe"));
        QCOMPARE(r.sampler.processSelector(), QStringLiteral("  812 Notepad.exe"));
        QCOMPARE(QSet<qint64>(r.fake.reads.begin(), r.fake.reads.end()), QSet<qint64>{812});

        // The selector's entries come later, by a signal, sorted.
        QSignalSpy ready(&r.sampler, &CpuSampler::processListReady);
        r.sampler.requestProcessList();
        QVERIFY(ready.wait(5000));
        const QStringList sorted{"    3 bash", "  812 Notepad.exe", "   40 notepad.exe"};
        QCOMPARE(ready.first().at(0).toStringList(), sorted);
    }

    // " ---" while the first sample is taken is no average of 0: a span
    // already over does not make the condition hold before a sample is in.
    // The stop button during a sample: no sample is stored, the texts are
    // emptied, and the next start shows " start" again.
    void beforeTheFirstSample()
    {
        FakeCpuCounters fake;
        fake.readings[0] = {FakeCpuCounters::at(0, 0), FakeCpuCounters::at(0, 10)};
        CpuSampler sampler(fake, 60000);
        AppState state;
        state.job.MonitorEnabled = 1;
        state.job.MonitorKind = 1;
        state.job.CpuAverageSeconds = QStringLiteral("0");
        state.job.CpuLowerLimit = QStringLiteral(" 0.1");
        PlatformServices services;
        services.cpu = &sampler;
        std::unique_ptr<Trigger> trigger = MakeTrigger(MonitorKind::Cpu, state, services);
        trigger->start(kStart);
        const auto starts = [&] {
            return QTest::qWaitFor([&] { return sampler.sampleText() == QLatin1String(" start"); }, 5000);
        };
        QVERIFY(starts());
        QCOMPARE(sampler.shownAverageText(), QStringLiteral(" ---"));
        QCOMPARE(trigger->holds(kStart.addSecs(5)), std::optional<bool>(false));
        trigger->stop(true);
        QCOMPARE(sampler.sampleText(), QString());
        QCOMPARE(sampler.shownAverageText(), QString());
        QTest::qWait(50);
        QCOMPARE(fake.reads.size(), 1);
        sampler.begin(QStringLiteral("10"), QStringLiteral(" 0.1"), QString(), true);
        QVERIFY(starts());
    }
};

QTEST_GUILESS_MAIN(TestCpuSampler)
#include "tst_cpu_sampler.moc"
