// Conf.txt: layout, escaping, restore rules, keyed sections, encodings, safe saving;
// where it and the data files are.
#include "settings/defaults.h"
#include "settings/explain_settings.h"
#include "settings/settings_fields.h"
#include "core/multi_edit.h"
#include "settings/settings_file.h"
#include "shell/data_folder.h"
#include "support/file_size_limit.h"
#include "support/state_fields.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace zk;

Q_DECLARE_METATYPE(zk::SettingsFileStatus)

namespace {

const QString kDesktop = QStringLiteral("/home/taro/Desktop");
const QDateTime kNow(QDate(2026, 12, 6), QTime(20, 5, 0));

AppState Fresh()
{
    AppState s;
    SetDefaults(s, kNow, kDesktop);
    return s;
}

// A value line of `count` fields (each followed by a comma) with the given fields filled.
QString ValueLine(const QMap<int, QString> &fields, int count = kSettingsFieldCount)
{
    QString line;
    for (int n = 1; n <= count; ++n)
        line += fields.value(n) + QLatin1Char(',');
    return line;
}

QString WithKeyed(const QString &valueLine, const QStringList &keyed)
{
    QString text = valueLine + QStringLiteral("\r\n\r\n#--------\r\n\r\n");
    for (const QString &k : keyed)
        text += k + QStringLiteral("\r\n");
    return text;
}

// A settings file in a folder of its own that goes away with the test.
struct TempConf {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Conf.txt"));
};

bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray ReadBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool IsUtf8(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return !utf8.hasError();
}

// A state in which every stored value differs from its default.
AppState EveryFieldSet()
{
    AppState s = Fresh();
    zktest::StateField::Apply(
        s, {"WindowLeft=1440", "WindowTop=0", "Operation=4", "Topmost=0", "TimingMode=1", "Force=1",
            "DelayMinutes= 120", "ClockHour=23", "ClockMinute=7", "MultiEnabled=1", "MonitorEnabled=1",
            "MonitorKind=2", "MonitorPhrase=完了, [comma] 100%\r\n次[Cr]", "PhraseEvent=1", "CpuLowerLimit= 2.5",
            "CpuAverageSeconds= 40", "IdleSeconds= 90", "TrayIcon=1", "MinimizeAtStart=1", "CountdownSound=0",
            "CaptureFolder=/srv/cap,shots", "ResumeEnabled=1", "ResumeOnly=1", "ResumeKeepState=0",
            "ResumeYear=2027", "ResumeMonth=2", "ResumeDay=28", "ResumeHour=6", "ResumeMinute=59", "LaunchApp=0",
            "AppCommand=\"/opt/my app/run\" a,b c=d", "ResumeAtClock=0", "ResumeAfterMinutes= 25",
            "ResumeMonitorOn=0", "Reserved69=34", "LastProgramFolder=/opt/tools", "NoAlert=1", "ShowQuickButtons=1",
            "CaptureOnExit=1", "IeMonitor=1", "HistoryText=a=b\tc == d\tmulti\r\nline", "HistoryMax=25",
            "HistoryRows=12", "HistorySort=1", "HistoryOddColor=E0FFFF", "HistoryColors=/x=y:ff0000\t/sleep:00ff00"});
    s.job.ResumeWeekdays = {0, 1, 0, 1, 1, 0, 0};
    for (int r = 0; r < kWeeklyRowCount; ++r) {
        s.WeeklyResumeTable[r] = {QString::number(r + 1), QString::number(r * 7),
                                  QStringLiteral("app%1 --x,%2").arg(r).arg(r)};
    }
    const QStringList ops = MultiRowOperations(true);
    for (int r = 0; r < kMultiRowCount; ++r) {
        s.MultiRows[r] = {QString::number(r), QString::number(59 - r), ops[r % ops.size()],
                          QStringLiteral("cmd %1, [comma]\r\nline2").arg(r)};
    }
    s.edit = {9000, 3000, 1, 16};
    s.ActiveOddColor.clear();
    s.ActiveColors.clear();
    return s;
}

AppState Loaded(const QString &path, int multiRows = kMultiRowCount)
{
    AppState s = Fresh();
    LoadSettings(path, s, kDesktop, multiRows);
    return s;
}

void CompareStored(const AppState &got, const AppState &want)
{
    QCOMPARE(got.job, want.job);
    QCOMPARE(got.WeeklyResumeTable, want.WeeklyResumeTable);
    QCOMPARE(got.MultiRows, want.MultiRows);
    QCOMPARE(got.history, want.history);
    QCOMPARE(got.edit, want.edit);
    QCOMPARE(got.CaptureFolder, want.CaptureFolder);
    QCOMPARE(got.LastProgramFolder, want.LastProgramFolder);
    QCOMPARE(got.Reserved69, want.Reserved69);
    QCOMPARE(got.WindowLeft, want.WindowLeft);
    QCOMPARE(got.WindowTop, want.WindowTop);
}

QString StoredValue(AppState &a, const QString &what)
{
    return zktest::StateField(a, what).get();
}

}  // namespace

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void defaults()
    {
        AppState s;
        zktest::StateField::Apply(s, {"MultiEnabled=1", "ResumeAtClock=0", "ResumeAfterMinutes= 45", "ShowQuickButtons=1",
                                      "Force=1", "AppCommand=x", "HistoryText=keep\tme", "HistoryMax=3",
                                      "HistoryColors=/x:000000", "EditWidth=1", "Reserved69=99", "WindowLeft=100",
                                      "ResumeAppCommand=r"});
        s.job.ResumeWeekdays = {0, 0, 1, 0, 0, 0, 0};
        s.job.ExtendedMenu = 1;
        s.WeeklyResumeTable[3].Hour = QStringLiteral("5");
        s.MultiRows[7].Operation = QStringLiteral("復帰");
        s.cl.HideBeforeSuspend = true;
        s.cl.ResumeTime = kNow;
        SetDefaults(s, QDateTime(QDate(2027, 3, 4), QTime(5, 6, 7)), kDesktop);

        // Reset values.
        const JobSettings &j = s.job;
        QCOMPARE((QList<int>{j.Operation, j.Force, j.ExtendedMenu, j.ResumeKeepState, j.LaunchApp, j.CountdownSound,
                             s.Reserved69, s.WindowLeft, s.history.HistoryMax, s.history.HistoryRows}),
                 (QList<int>{0, 0, 0, 1, 1, 1, 12, -1, 10, 7}));
        QCOMPARE((QStringList{j.DelayMinutes, j.CpuLowerLimit, j.CpuAverageSeconds, j.IdleSeconds, j.AppCommand,
                              s.cl.ResumeAppCommand, s.history.HistoryOddColor}),
                 (QStringList{"  90", " 0.1", " 20", " 30", "", "", "FFFFE0"}));
        QCOMPARE(j.ResumeDateParts, (std::array<QString, 5>{"2027", "3", "4", "5", "6"}));
        QCOMPARE(s.CaptureFolder, kDesktop);
        QCOMPARE(s.cl.HideBeforeSuspend, false);
        QVERIFY(!s.cl.ResumeTime.isValid());
        QCOMPARE(s.history.HistoryColors, DefaultHistoryColors());
        QCOMPARE(s.edit, EditSettings());
        QCOMPARE(s.ActiveOddColor, s.history.HistoryOddColor);
        QCOMPARE(s.ActiveColors, s.history.HistoryColors);
        // Left alone.
        QCOMPARE((QList<int>{j.MultiEnabled, j.ResumeAtClock, j.ShowQuickButtons}), (QList<int>{1, 0, 1}));
        QCOMPARE((QStringList{j.ResumeAfterMinutes, s.WeeklyResumeTable[3].Hour, s.MultiRows[7].Operation,
                              s.history.HistoryText}),
                 (QStringList{" 45", "5", "復帰", "keep\tme"}));
        QCOMPARE(j.ResumeWeekdays, (std::array<int, 7>{0, 0, 1, 0, 0, 0, 0}));

        // The window's reset also ticks every weekday, empties the weekly
        // table and hides the immediate-action buttons.
        ResetToDefaults(s, kNow, kDesktop);
        QCOMPARE(j.ResumeWeekdays, (std::array<int, 7>{1, 1, 1, 1, 1, 1, 1}));
        QCOMPARE(s.WeeklyResumeTable[3], ResumeEntry());
        QCOMPARE((QList<int>{j.ShowQuickButtons, j.MultiEnabled, j.ResumeAtClock}), (QList<int>{0, 1, 0}));
        QCOMPARE(s.MultiRows[7].Operation, QStringLiteral("復帰"));
    }

    void roundTripEveryField()
    {
        const TempConf conf;
        const AppState want = EveryFieldSet();
        QVERIFY(SaveSettings(conf.path, want, kDesktop));

        AppState got = Fresh();
        QCOMPARE(LoadSettings(conf.path, got, kDesktop, kMultiRowCount), kSettingsFieldCount);
        CompareStored(got, want);

        // A second save of the loaded state writes the same bytes.
        const QString again = conf.dir.filePath(QStringLiteral("again.txt"));
        QVERIFY(SaveSettings(again, got, kDesktop));
        QCOMPARE(ReadBytes(again), ReadBytes(conf.path));
    }

    // Values the program can hold (typed, or read from a file) that come
    // back from a save unchanged; a read delay of "0.00001" or of twenty
    // digits is shown in plain decimals.
    void roundTripAwkwardValues()
    {
        const TempConf conf;
        AppState s = Fresh();
        zktest::StateField::Apply(s, {"CaptureFolder=", "HistoryText=  notepad a.txt\tcalc", "ClockHour=7\n",
                                      "DelayMinutes=0.00001", "ResumeAfterMinutes=100000000000000000000"});
        QVERIFY(SaveSettings(conf.path, s, kDesktop));
        CompareStored(Loaded(conf.path), s);
    }

    void valueLinePositions_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        // Fields 11, 24, 114 and 310 stay empty; field 7 is written trimmed.
        const std::pair<int, const char *> expected[] = {
            {1, "1440"}, {2, "0"}, {3, "4"}, {4, "0"}, {5, "1"}, {6, "1"}, {7, "120"}, {8, "23"}, {9, "7"},
            {10, "1"}, {11, ""}, {20, "1"}, {21, "2"},
            {22, "完了[comma] %JUGEMU_JUGEMU_GOKO_NO_comma% 100%[Cr]次%JUGEMU_JUGEMU_GOKO_NO_Cr%"}, {23, "1"}, {24, ""},
            {25, " 2.5"}, {26, " 40"}, {27, " 90"}, {30, "1"}, {31, "1"}, {32, "0"}, {33, "/srv/cap[comma]shots"},
            {40, "1"}, {41, "1"}, {42, "0"}, {43, "2027"}, {47, "59"}, {48, "0"},
            {49, "\"/opt/my app/run\" a[comma]b c=d"}, {50, "0"}, {51, " 25"}, {60, "0"}, {61, "0"}, {62, "0"},
            {63, "1"}, {68, "0"}, {69, "34"}, {70, "/opt/tools"}, {71, "1"}, {72, "1"}, {73, "1"}, {74, "1"},
            {80, "1"}, {87, "8"}, {97, "49"}, {101, "app1 --x[comma]1"}, {110, "0"}, {111, "59"}, {112, "復帰"},
            {113, "cmd 0[comma] %JUGEMU_JUGEMU_GOKO_NO_comma%[Cr]line2"}, {114, ""}, {300, "19"}, {302, "休止"},
            {292, "復帰"}, {310, ""}
        };
        for (const auto &[field, text] : expected)
            QTest::addRow("field %d", field) << field << QString::fromUtf8(text);
    }

    void valueLinePositions()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        const QString all = ComposeSettingsText(EveryFieldSet(), kDesktop);
        const QStringList pieces = all.left(all.indexOf(QStringLiteral("\r\n"))).split(QLatin1Char(','));
        QCOMPARE(pieces.size(), kSettingsFieldCount + 1);
        QCOMPARE(pieces.last(), QString());
        QCOMPARE(pieces[field - 1], text);
    }

    void fileStructure()
    {
        const TempConf conf;
        AppState s = EveryFieldSet();
        s.job.AppCommand = QStringLiteral("first line\r\nsecond = line\nthird");
        QVERIFY(SaveSettings(conf.path, s, kDesktop));
        const QByteArray bytes = ReadBytes(conf.path);
        // Every line break in the file is CR LF, and the bytes are UTF-8.
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
        QVERIFY(IsUtf8(bytes));
        QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.takeLast(), QString());
        const QStringList expectedRest{
            "", "#--------", "", "command/ap = first line", "command str = a=b\tc == d\tmulti[Cr]line",
            "command history max = 25", "command history rows = 12", "command history sort = 1",
            "command history odd color = E0FFFF", "command history colors = /x=y:ff0000\t/sleep:00ff00", "",
            "#--------", "", "edit width = 9000", "edit height = 3000", "edit mode = 1", "edit fontsize = 16"};
        QCOMPARE(lines.mid(1), expectedRest);
        QVERIFY(lines[0].contains(QStringLiteral("first line[Cr]second = line[Lf]third,")));
    }

    // The forms the Windows program writes and reads, and those of lone line
    // breaks (null: the text only has to come back). The marked percent form
    // carries what the plain escapes cannot.
    void escaping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("escaped");
        const QString holder = QStringLiteral("%JUGEMU_JUGEMU_GOKO_NO_");
        QTest::newRow("comma") << "a,b" << "a[comma]b";
        QTest::newRow("comma marker") << "[comma]" << holder + "comma%";
        QTest::newRow("crlf") << "a\r\nb" << "a[Cr]b";
        QTest::newRow("cr marker") << "[Cr]" << holder + "Cr%";
        QTest::newRow("both") << "x,[comma]\r\n[Cr]" << "x[comma]" + holder + "comma%[Cr]" + holder + "Cr%";
        QTest::newRow("lf") << "a\nb\r" << "a[Lf]b[CrOnly]";
        QTest::newRow("lf markers") << "[Lf][CrOnly]" << holder + "Lf%" + holder + "CrOnly%";
        QTest::newRow("marker and comma") << "[comma],[comma]" << QString();
        QTest::newRow("lf before crlf") << "\n\r\n\r\r\n" << QString();
        QTest::newRow("marker halves") << "[Cr[comma]]\r\n[Lf" << QString();
        QTest::newRow("placeholders") << "a " + holder + "Cr" + holder + "comma%,\n" + holder + "Lf%" << QString();
        QTest::newRow("percent forms") << "100%2C %25 %0A%" << QString();
    }

    void escaping()
    {
        QFETCH(QString, text);
        QFETCH(QString, escaped);
        const QString written = EscapeText(text);
        if (!escaped.isNull())
            QCOMPARE(written, escaped);
        QVERIFY2(!written.contains(QLatin1Char(',')) && !written.contains(QLatin1Char('\r')) &&
                     !written.contains(QLatin1Char('\n')),
                 qPrintable(written));
        QCOMPARE(UnescapeText(written), text);

        // Through a whole file in the phrase, the application, a weekly and a
        // multi row, the last folder and the history (a keyed line).
        const TempConf conf;
        const auto texts = [](AppState &a) {
            return std::array{&a.job.MonitorPhrase, &a.job.AppCommand, &a.WeeklyResumeTable[5].Application,
                              &a.MultiRows[19].Application, &a.LastProgramFolder, &a.history.HistoryText};
        };
        AppState s = Fresh();
        for (QString *t : texts(s))
            *t = text;
        QVERIFY(SaveSettings(conf.path, s, kDesktop));
        AppState got = Fresh();
        QCOMPARE(LoadSettings(conf.path, got, kDesktop, kMultiRowCount), kSettingsFieldCount);
        for (QString *t : texts(got))
            QCOMPARE(*t, text);
        QCOMPARE(got.edit, s.edit);
    }

    void restoreRules_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("expected");

        QTest::newRow("7 padded") << 7 << "90" << "DelayMinutes" << "  90";
        QTest::newRow("7 junk reads 0") << 7 << "abc" << "DelayMinutes" << "   0";
        QTest::newRow("7 sixteen digits stay plain") << 7 << "1000000000000000" << "DelayMinutes" << "1000000000000000";
        QTest::newRow("7 beyond a double is not 0") << 7 << QStringLiteral("1") + QString(400, QLatin1Char('0'))
                                                    << "DelayMinutes" << QStringLiteral("17976931348623157") + QString(292, QLatin1Char('0'));
        QTest::newRow("26 under 10") << 26 << "3" << "CpuAverageSeconds" << "10";
        QTest::newRow("26 ten kept") << 26 << " 10" << "CpuAverageSeconds" << " 10";
        QTest::newRow("1 negative ignored") << 1 << "-15" << "WindowLeft" << "500";
        QTest::newRow("1 zero") << 1 << "0" << "WindowLeft" << "0";
        QTest::newRow("2 half even") << 2 << "2.5" << "WindowTop" << "2";
        QTest::newRow("50 empty keeps") << 50 << "" << "ResumeAtClock" << "0";
        QTest::newRow("51 empty keeps") << 51 << "" << "ResumeAfterMinutes" << " 45";
        QTest::newRow("51 padded") << 51 << "5" << "ResumeAfterMinutes" << "  5";
        QTest::newRow("33 empty desktop") << 33 << "" << "CaptureFolder" << kDesktop;
        QTest::newRow("33 folder") << 33 << "D:\\cap[comma]x" << "CaptureFolder" << "D:\\cap,x";
        QTest::newRow("6 check 0") << 6 << "0" << "Force" << "0";
        QTest::newRow("6 check grayed") << 6 << "2" << "Force" << "1";
        QTest::newRow("6 check 3 rejected") << 6 << "3" << "Force" << "1";
        QTest::newRow("4 check -1 rejected") << 4 << "-1" << "Topmost" << "1";
        QTest::newRow("5 option rejected") << 5 << "2" << "TimingMode" << "1";
        QTest::newRow("21 option 2") << 21 << "2" << "MonitorKind" << "2";
        QTest::newRow("3 operation last") << 3 << "4" << "Operation" << "4";
        QTest::newRow("3 operation outside") << 3 << "5" << "Operation" << "2";
        QTest::newRow("3 clears resume") << 3 << "1" << "ResumeEnabled" << "0";
        QTest::newRow("24 empties process") << 24 << "" << "CpuProcess" << "";
        QTest::newRow("60 wins over 32") << 60 << "0" << "CountdownSound" << "0";
        QTest::newRow("69 reserved") << 69 << "-7" << "Reserved69" << "-7";
        QTest::newRow("69 overflow rejected") << 69 << "99999999999" << "Reserved69" << "12";
        QTest::newRow("8 text unchanged") << 8 << " 07 " << "ClockHour" << " 07 ";
        QTest::newRow("65 weekday") << 65 << "0" << "Wednesday" << "0";
    }

    void restoreRules()
    {
        QFETCH(int, field);
        QFETCH(QString, value);
        QFETCH(QString, what);
        QFETCH(QString, expected);

        // Values before the load that differ from what the field would give, so
        // that a kept or rejected value is visible.
        AppState full = Fresh();
        zktest::StateField::Apply(full, {"WindowLeft=500", "ResumeAtClock=0", "ResumeAfterMinutes= 45", "ResumeEnabled=1",
                                         "CpuProcess=firefox", "Force=1", "TimingMode=1", "MonitorKind=1", "Operation=2",
                                         "CaptureFolder=/elsewhere"});
        // A line that ends with the field under test (the fields before it are empty).
        QMap<int, QString> fields{{field, value}};
        if (field == 60)
            fields.insert(32, QStringLiteral("1"));
        QCOMPARE(ApplySettingsText(ValueLine(fields, field), full, kDesktop), field);

        QCOMPARE(StoredValue(full, what), expected);
    }

    void shortAndOverlongLines()
    {
        AppState before = Fresh();
        before.job.ResumeAtClock = 0;

        // Short: 8 fields; field 9 and beyond keep their values, keyed lines still count.
        AppState s = before;
        const QString shortText =
            WithKeyed(ValueLine({{3, "2"}, {6, "1"}, {7, "15"}, {8, "6"}}, 8), {"edit width = 1234"});
        QCOMPARE(ApplySettingsText(shortText, s, kDesktop), 8);
        QCOMPARE(s.job.ClockHour, QStringLiteral("6"));
        QCOMPARE(s.job.ClockMinute, before.job.ClockMinute);
        QCOMPARE(s.job.ResumeAtClock, 0);
        QCOMPARE(s.edit.EditWidth, 1234);

        // A line without its last comma: the last piece is field K + 1 and is not applied.
        AppState t = before;
        QCOMPARE(ApplySettingsText(QStringLiteral("10,20,3"), t, kDesktop), 2);
        QCOMPARE(t.WindowTop, 20);
        QCOMPARE(t.job.Operation, 0);

        // Overlong: everything from field 310 on is ignored.
        QMap<int, QString> many{{6, "1"}, {310, "junk"}};
        for (int n = 311; n <= 400; ++n)
            many.insert(n, QStringLiteral("1"));
        AppState u = before;
        QCOMPARE(ApplySettingsText(ValueLine(many, 400), u, kDesktop), 400);
        QCOMPARE(u.job.Force, 1);
        AppState v = before;
        ApplySettingsText(ValueLine({{6, "1"}}, 310), v, kDesktop);
        CompareStored(u, v);

        // Unused positions inside the multi rows are ignored.
        AppState w = before;
        ApplySettingsText(ValueLine({{114, "x"}, {119, "y"}, {124, "z"}}), w, kDesktop, kMultiRowCount);
        QCOMPARE(w.MultiRows, before.MultiRows);
    }

    void multiRowsExistingOnly()
    {
        QMap<int, QString> f;
        for (int r = 0; r < kMultiRowCount; ++r) {
            f.insert(110 + 10 * r, QString::number(r));
            f.insert(111 + 10 * r, QStringLiteral("30"));
            f.insert(112 + 10 * r, r % 2 ? QStringLiteral("復帰") : QStringLiteral("スリープ"));
            f.insert(113 + 10 * r, QStringLiteral("app%1[comma]x").arg(r));
        }
        const QString text = ValueLine(f);
        AppState s = Fresh();
        ApplySettingsText(text, s, kDesktop);  // start-up: only row 0 exists
        QCOMPARE(s.MultiRows[0], (MultiEntry{"0", "30", "スリープ", "app0,x"}));
        for (int r = 1; r < kMultiRowCount; ++r)
            QCOMPARE(s.MultiRows[r], MultiEntry());
        QCOMPARE(ApplyMultiRowsText(text, s), kSettingsFieldCount);
        for (int r = 0; r < kMultiRowCount; ++r) {
            QCOMPARE(s.MultiRows[r].Hour, QString::number(r));
            QCOMPARE(s.MultiRows[r].Application, QStringLiteral("app%1,x").arg(r));
        }
        // LoadMultiRows touches nothing but the rows.
        AppState t = Fresh();
        t.job.Force = 1;
        ApplyMultiRowsText(ValueLine({{6, "0"}, {110, "5"}}), t);
        QCOMPARE(t.job.Force, 1);
        QCOMPARE(t.MultiRows[0].Hour, QStringLiteral("5"));

        // "スタンバイ" is not an item of the row list on a system that says "スリープ".
        for (int r = 0; r < 3; ++r)
            t.MultiRows[r].Operation = QStringLiteral("休止");
        ApplyMultiRowsText(ValueLine({{112, "スタンバイ"}, {122, "reboot"}, {132, ""}, {142, "シャットダウン"}}), t);
        QCOMPARE((QStringList{t.MultiRows[0].Operation, t.MultiRows[1].Operation, t.MultiRows[2].Operation,
                              t.MultiRows[3].Operation}),
                 (QStringList{"休止", "休止", "", "シャットダウン"}));
    }

    void keyedSection_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("expected");
        QTest::newRow("capitals and blanks") << QStringList{"  Edit WIDTH   =  800"} << "EditWidth" << "800";
        QTest::newRow("trailing blanks stay") << QStringList{"command history sort = 1  "} << "HistorySort" << "1  ";
        QTest::newRow("leading blanks go") << QStringList{"command str =    a\tb"} << "HistoryText" << "a\tb";
        QTest::newRow("later wins") << QStringList{"edit mode = 1", "edit mode = 0", "edit mode = 1"} << "EditMode"
                                    << "1";
        QTest::newRow("numeric prefix") << QStringList{"edit fontsize = 10.5pt"} << "EditFontSize" << "10";
        QTest::newRow("numeric junk is 0") << QStringList{"command history max = many"} << "HistoryMax" << "0";
        QTest::newRow("unknown key") << QStringList{"edit widths = 5"} << "EditWidth" << "7665";
        QTest::newRow("no equals") << QStringList{"edit width 5"} << "EditWidth" << "7665";
        QTest::newRow("history with equals") << QStringList{"command str = a=b\tx==y"} << "HistoryText"
                                             << "a=b\tx==y";
        QTest::newRow("empty value") << QStringList{"command history odd color ="} << "HistoryOddColor" << "";
        QTest::newRow("ap overrides field 49") << QStringList{"command/ap = other.exe"} << "AppCommand"
                                               << "other.exe";
        QTest::newRow("value line not keyed") << QStringList{} << "EditWidth" << "7665";
    }

    void keyedSection()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, what);
        QFETCH(QString, expected);
        AppState s = Fresh();
        // Field 49 gives "from49.exe"; a value-line field holding "edit width = 1" is no key.
        const QString text = WithKeyed(ValueLine({{49, "from49.exe"}, {70, "edit width = 1"}}), lines);
        QCOMPARE(ApplySettingsText(text, s, kDesktop), kSettingsFieldCount);
        QCOMPARE(StoredValue(s, what), expected);
        QCOMPARE(s.ActiveOddColor, s.history.HistoryOddColor);
        QCOMPARE(s.ActiveColors, s.history.HistoryColors);
    }

    void multiLineAppCommand()
    {
        const TempConf conf;
        AppState s = Fresh();
        s.job.AppCommand = QStringLiteral("notepad.exe\r\nedit width = 1\r\ncommand history max = 3\nlast line");
        QVERIFY(SaveSettings(conf.path, s, kDesktop));
        const AppState got = Loaded(conf.path, 1);
        QCOMPARE(got.job.AppCommand, s.job.AppCommand);
        QCOMPARE(got.edit.EditWidth, 7665);
        QCOMPARE(got.history.HistoryMax, 10);
    }

    void oldCutAppCommandLine()
    {
        // The Windows program wrote the command raw, so its line breaks split the
        // keyed line; field 49 carries the whole text.
        const QString text = WithKeyed(ValueLine({{49, "a.exe[Cr]b = c[Cr]tail"}}),
                                       {"command/ap = a.exe", "b = c", "tail", "command history max = 4"});
        AppState s = Fresh();
        ApplySettingsText(text, s, kDesktop);
        QCOMPARE(s.job.AppCommand, QStringLiteral("a.exe\r\nb = c\r\ntail"));
        QCOMPARE(s.history.HistoryMax, 4);
    }

    void missingEmptyBinaryFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<SettingsFileStatus>("status");
        QTest::newRow("missing") << QByteArray() << SettingsFileStatus::Missing;
        QTest::newRow("empty") << QByteArray("") << SettingsFileStatus::Empty;
        QTest::newRow("binary") << QByteArray("1,2,\0\x01\xff,3,", 11) << SettingsFileStatus::Unreadable;
        QTest::newRow("too large") << QByteArray(kMaxSettingsFileSize + 1, ',') << SettingsFileStatus::Unreadable;
        QTest::newRow("directory") << QByteArray() << SettingsFileStatus::NotAFile;
        // Nobody writes to it: opening it for reading would wait for ever.
        QTest::newRow("fifo") << QByteArray() << SettingsFileStatus::NotAFile;
    }

    void missingEmptyBinaryFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(SettingsFileStatus, status);
        const TempConf conf;
        const QByteArray tag = QTest::currentDataTag();
        if (tag == "directory")
            QVERIFY(QDir().mkdir(conf.path));
        else if (tag == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(conf.path).constData(), 0600), 0);
        else if (tag != "missing")
            QVERIFY(WriteBytes(conf.path, bytes));

        AppState s = Fresh();
        s.history.HistoryOddColor = QStringLiteral("123456");
        s.ActiveOddColor.clear();
        s.ActiveColors.clear();
        AppState expected = s;
        SettingsFileStatus found = SettingsFileStatus::Read;
        QCOMPARE(LoadSettings(conf.path, s, kDesktop, 1, &found), 0);
        QCOMPARE(found, status);
        QCOMPARE(LoadMultiRows(conf.path, s), 0);
        CompareStored(s, expected);
        QCOMPARE(s.ActiveOddColor, QStringLiteral("123456"));
        QCOMPARE(s.ActiveColors, s.history.HistoryColors);
    }

    void shiftJisFixture()
    {
        // A Conf.txt as the Windows program writes it on a Japanese system
        // (code page 932, CR LF, the old escaping), made by our own script.
        const TempConf conf;
        QProcess py;
        py.start(QStringLiteral("/usr/bin/python3"),
                 {qEnvironmentVariable("ZK_SOURCE_DIR") + QStringLiteral("/tests/fixtures/make_windows_conf.py"), conf.path});
        QVERIFY(py.waitForFinished(60000));
        QVERIFY2(py.exitCode() == 0, py.readAllStandardError().constData());
        QVERIFY(!IsUtf8(ReadBytes(conf.path)));

        AppState s = Fresh();
        QCOMPARE(LoadSettings(conf.path, s, kDesktop), kSettingsFieldCount);
        QCOMPARE(LoadMultiRows(conf.path, s), kSettingsFieldCount);
        // The texts in code page 932, each at its escaping level.
        const JobSettings &j = s.job;
        QCOMPARE(s.OperationText(), QStringLiteral("スリープ"));
        QCOMPARE(j.DelayMinutes, QStringLiteral("   5"));
        QCOMPARE(j.MonitorPhrase, QStringLiteral("処理が完了しました,終了\r\n次の行"));
        QCOMPARE(s.CaptureFolder, QStringLiteral("C:\\Users\\太郎\\デスクトップ\\キャプチャ"));
        QCOMPARE(j.AppCommand, QStringLiteral("\"C:\\Program Files\\秀丸\\hidemaru.exe\" 日記～.txt"));
        QCOMPARE(s.LastProgramFolder, QStringLiteral("C:\\ツール"));
        QCOMPARE(s.WeeklyResumeTable[0], (ResumeEntry{"6", "30", "メモ帳.exe"}));
        QCOMPARE(s.MultiRows[1], (MultiEntry{"6", "30", "復帰", "\"C:\\アプリ\\起動.exe\" ①"}));
        QCOMPARE(s.history.HistoryText, QStringLiteral("メモ帳.exe\tcalc.exe"));
        QCOMPARE(s.history.HistoryColors, QStringLiteral("/スリープ:ff00ff"));
        QCOMPARE(s.edit, (EditSettings{8000, 2500, 1, 14}));

        // Saving it again writes UTF-8 that reads back to the same values.
        QVERIFY(SaveSettings(conf.path, s, kDesktop));
        QVERIFY(IsUtf8(ReadBytes(conf.path)));
        CompareStored(Loaded(conf.path), s);
    }

    void lfOnlyFile()
    {
        // A file edited with a Linux editor that turned CR LF into LF.
        const TempConf conf;
        QString text = WithKeyed(ValueLine({{6, "1"}, {49, "a[Cr]b"}}), {"edit width = 5000"});
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QVERIFY(WriteBytes(conf.path, text.toUtf8()));
        AppState s = Fresh();
        QCOMPARE(LoadSettings(conf.path, s, kDesktop), kSettingsFieldCount);
        QCOMPARE(s.job.Force, 1);
        QCOMPARE(s.job.AppCommand, QStringLiteral("a\r\nb"));
        QCOMPARE(s.edit.EditWidth, 5000);
    }

    void strayBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no such byte") << QByteArray("10,20,4,0,\xff,1,\r\n\r\nedit mode = 1\r\n");
        QTest::newRow("lead byte before comma") << QByteArray("10,20,4,0,\x82,1,\r\n\r\nedit mode = 1\r\n");
        QTest::newRow("lead byte at end") << QByteArray("10,20,4,0,,1,\r\n\r\nedit mode = 1\r\n\x82");
    }

    void strayBytes()
    {
        // Bytes that are neither UTF-8 nor code page 932 cost their own
        // character, not the file or the fields after them.
        QFETCH(QByteArray, bytes);
        const TempConf conf;
        QVERIFY(WriteBytes(conf.path, bytes));
        AppState s = Fresh();
        QCOMPARE(LoadSettings(conf.path, s, kDesktop), 6);
        QCOMPARE(s.job.Operation, 4);
        QCOMPARE(s.job.Force, 1);
        QCOMPARE(s.edit.EditMode, 1);
    }

    void failedSaveKeepsOldFile()
    {
        const TempConf conf;
        AppState old = EveryFieldSet();
        QVERIFY(SaveSettings(conf.path, old, kDesktop));
        const QByteArray before = ReadBytes(conf.path);

        // A file size limit below the file's size makes the write fail even for root.
        bool ok = true;
        QVERIFY(zktest::WithFileSizeLimit(64, [&] { ok = SaveSettings(conf.path, Fresh(), kDesktop); }));
        QVERIFY(!ok);
        QCOMPARE(ReadBytes(conf.path), before);
        // No temporary file is left beside it.
        QCOMPARE(QDir(conf.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Conf.txt")});
        QVERIFY(!SaveSettings(QString(), Fresh(), kDesktop));
    }

    void keepUnreadableAside()
    {
        QTemporaryDir dir;
        const QString real = dir.filePath(QStringLiteral("real.txt"));
        const QString link = dir.filePath(QStringLiteral("Conf.txt"));
        QVERIFY(QFile::link(real, link));
        QVERIFY(WriteBytes(real, QByteArray("first\0", 6)));
        // Two in the same second: the second does not replace the first.
        const QString first = KeepUnreadableAside(link, kNow);
        QCOMPARE(first, real + QStringLiteral(".unreadable-20261206-200500"));
        QVERIFY(WriteBytes(real, QByteArray("second\0", 7)));
        const QString second = KeepUnreadableAside(link, kNow);
        QCOMPARE(second, first + QStringLiteral("-2"));
        QCOMPARE(ReadBytes(first), QByteArray("first\0", 6));
        QCOMPARE(ReadBytes(second), QByteArray("second\0", 7));
        // The link stays, and the next save writes through it.
        QVERIFY(QFileInfo(link).isSymLink() && !QFileInfo::exists(real));
        QVERIFY(SaveSettings(link, EveryFieldSet(), kDesktop));
        QVERIFY(QFileInfo(link).isSymLink());
        CompareStored(Loaded(real), EveryFieldSet());
        QVERIFY(KeepUnreadableAside(dir.filePath(QStringLiteral("none")), kNow).isEmpty());
    }

    void modes()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("a/zenkoro"));
        const QString path = folder + QStringLiteral("/Conf.txt");
        QVERIFY(SaveSettings(path, Fresh(), kDesktop));
        const auto owner = QFile::ReadOwner | QFile::WriteOwner;
        const auto ownerDir = owner | QFile::ExeOwner;
        const auto othersAndGroup = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                                    QFile::WriteOther | QFile::ExeOther;
        QFile::Permissions p = QFileInfo(path).permissions();
        QCOMPARE(p & (owner | othersAndGroup | QFile::ExeOwner), owner);
        QCOMPARE(QFileInfo(folder).permissions() & (ownerDir | othersAndGroup), ownerDir);
        QCOMPARE(QFileInfo(dir.filePath("a")).permissions() & (ownerDir | othersAndGroup), ownerDir);

        // An existing file keeps the permissions its owner gave it.
        const auto shared = owner | QFile::ReadGroup | QFile::ReadOther;
        QVERIFY(QFile::setPermissions(path, shared));
        QVERIFY(SaveSettings(path, EveryFieldSet(), kDesktop));
        QCOMPARE(QFileInfo(path).permissions() & (owner | othersAndGroup | QFile::ExeOwner), shared);
    }

    void settingsFilePath_data()
    {
        QTest::addColumn<QString>("conf");
        QTest::addColumn<QString>("exeDir");
        QTest::addColumn<bool>("besideExists");
        QTest::addColumn<QString>("xdg");
        QTest::addColumn<QString>("expected");
        QTest::newRow("conf wins") << "/tmp/my.txt" << "/opt/zk" << true << "/x" << "/tmp/my.txt";
        QTest::newRow("beside exe") << "" << "/opt/zk" << true << "/x" << "/opt/zk/Conf.txt";
        QTest::newRow("beside exe trailing slash") << "" << "/opt/zk/" << true << "" << "/opt/zk/Conf.txt";
        QTest::newRow("xdg") << "" << "/opt/zk" << false << "/cfg" << "/cfg/zenkoro/Conf.txt";
        QTest::newRow("default") << "" << "/opt/zk" << false << "" << "/home/u/.config/zenkoro/Conf.txt";
        QTest::newRow("relative xdg ignored") << "" << "/opt/zk" << false << "cfg" << "/home/u/.config/zenkoro/Conf.txt";
    }

    void settingsFilePath()
    {
        QFETCH(QString, conf);
        QFETCH(QString, exeDir);
        QFETCH(bool, besideExists);
        QFETCH(QString, xdg);
        QFETCH(QString, expected);
        QStringList asked;
        const QString got = SettingsFilePath(conf, exeDir, xdg, QStringLiteral("/home/u"), [&](const QString &p) {
            asked << p;
            return besideExists && p == QDir(exeDir).filePath(QStringLiteral("Conf.txt"));
        });
        QCOMPARE(got, expected);
        if (!conf.isEmpty())
            QVERIFY(asked.isEmpty());
    }

    // Where the help texts and the sound are looked for.
    void dataFolder_data()
    {
        QTest::addColumn<QString>("programDir");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("expected");
        const QString probe = QStringLiteral("/command_line.txt");
        // The build folder: the texts are copied beside the program.
        QTest::newRow("beside the program wins")
            << "/home/u/zenkoro/build/src"
            << QStringList{"/home/u/zenkoro/build/src" + probe, "/usr/share/zenkoro" + probe}
            << "/home/u/zenkoro/build/src";
        // A package unpacked somewhere else: its own share folder, not the
        // one of an installed copy.
        QTest::newRow("unpacked tree before the prefix")
            << "/tmp/root/usr/bin"
            << QStringList{"/tmp/root/usr/share/zenkoro" + probe, "/usr/share/zenkoro" + probe}
            << "/tmp/root/usr/share/zenkoro";
        QTest::newRow("trailing slash") << "/opt/zk/bin/" << QStringList{"/opt/zk/share/zenkoro" + probe}
                                        << "/opt/zk/share/zenkoro";
        // A program copied elsewhere alone still finds the installed texts.
        QTest::newRow("the prefix last") << "/home/u/bin" << QStringList{"/usr/share/zenkoro" + probe}
                                         << "/usr/share/zenkoro";
        QTest::newRow("a folder without the probe does not count")
            << "/usr/bin" << QStringList{"/usr/bin/ding.wav", "/usr/share/zenkoro/command_ap.txt"} << QString();
        QTest::newRow("program at the root") << "/" << QStringList{"/share/zenkoro" + probe} << "/share/zenkoro";
    }
    void dataFolder()
    {
        QFETCH(QString, programDir);
        QFETCH(QStringList, files);
        QFETCH(QString, expected);
        const QSet<QString> existing(files.begin(), files.end());
        // Only clean paths (no "..", no "//") are known to exist.
        const auto exists = [&](const QString &p) { return existing.contains(p); };
        QCOMPARE(FindDataFolder(programDir, QStringLiteral("/usr/share/zenkoro"), exists), expected);
    }

    void dataFolderWithoutInstallPrefix()
    {
        QCOMPARE(FindDataFolder(QStringLiteral("/a/bin"), QString(), [](const QString &) { return false; }), QString());
        QCOMPARE(FindDataFolder(QString(), QStringLiteral("/usr/share/zenkoro"),
                                [](const QString &p) { return p == QStringLiteral("/usr/share/zenkoro/x.wav"); },
                                QStringLiteral("x.wav")),
                 QStringLiteral("/usr/share/zenkoro"));
    }

    // The field table: each position of the value line belongs to exactly
    // one row, and each row holds the member its level reads and writes.
    void fieldTableCoversEveryPositionOnce()
    {
        std::array<int, kSettingsFieldCount + 1> owners{};
        for (const SettingsField &f : SettingsFields()) {
            for (int i = 0; i < f.count; ++i) {
                const int n = f.position(i);
                QVERIFY2(n >= 1 && n <= kSettingsFieldCount, qPrintable(QString::number(n)));
                ++owners[n];
                QCOMPARE(SettingsFieldAt(n).field, &f);
                QCOMPARE(SettingsFieldAt(n).element, i);
            }
            if (f.rule == FieldRule::Reserved)
                continue;
            const bool number = f.level == FieldLevel::Number;
            QVERIFY2(number == (f.number != nullptr) && number != (f.text != nullptr),
                     qPrintable(QString::number(f.first)));
        }
        for (int n = 1; n <= kSettingsFieldCount; ++n)
            QVERIFY2(owners[n] == 1, qPrintable(QStringLiteral("field %1: %2 rows").arg(n).arg(owners[n])));
    }

    // What --explain shows of the settings: each value under its own name.
    void explainValues()
    {
        const TempConf conf;
        const AppState want = EveryFieldSet();
        QVERIFY(SaveSettings(conf.path, want, kDesktop));
        const QJsonObject o = ExplainSettingsFile(Loaded(conf.path));
        const QJsonArray multi = o.value("MultiRows").toArray();
        QCOMPARE(multi[19].toObject().value("Operation").toString(), want.MultiRows[19].Operation);
        const QJsonArray weekly = o.value("WeeklyResumeTable").toArray();
        QCOMPARE(weekly[7].toObject().value("Application").toString(), want.WeeklyResumeTable[7].Application);
        QCOMPARE(o.value("HistoryText").toString(), want.history.HistoryText);
        QCOMPARE(o.value("ActiveColors").toString(), want.history.HistoryColors);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
