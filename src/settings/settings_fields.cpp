#include "settings/settings_fields.h"

#include "settings/settings_file.h"

#include <QJsonArray>
#include <array>
#include <map>

namespace zk {

namespace {

#define ZK_NUMBER(expr) [](AppState &s, int i) -> int & { (void)i; return expr; }
#define ZK_TEXT(expr) [](AppState &s, int i) -> QString & { (void)i; return expr; }

constexpr SettingsField Number(int position, FieldNumberRef ref, FieldRule rule, int param = 0)
{
    SettingsField f;
    f.first = position;
    f.number = ref;
    f.level = FieldLevel::Number;
    f.rule = rule;
    f.param = param;
    return f;
}

constexpr SettingsField Text(int position, FieldTextRef ref, FieldLevel level, FieldRule rule = FieldRule::Text,
                             int param = 0)
{
    SettingsField f;
    f.first = position;
    f.text = ref;
    f.level = level;
    f.rule = rule;
    f.param = param;
    return f;
}

constexpr SettingsField Reserved(int first, int count = 1, int stride = 1)
{
    SettingsField f;
    f.first = first;
    f.rule = FieldRule::Reserved;
    return f.times(count, stride);
}

constexpr auto Raw = FieldLevel::Raw;
constexpr auto Escaped = FieldLevel::Escaped;
constexpr unsigned char State = ExplainInState;
constexpr unsigned char File = ExplainInFile;
constexpr unsigned char Both = ExplainInState | ExplainInFile;

// Positions 110 .. 309: multi row r at 110 + 10 r.
constexpr int kMultiFirst = 110;
constexpr int kMultiStride = 10;
constexpr int kMultiEnd = kMultiFirst + kMultiRowCount * kMultiStride;  // field 310

const std::array kFields{
    Number(1, ZK_NUMBER(s.WindowLeft), FieldRule::NonNegative),
    Number(2, ZK_NUMBER(s.WindowTop), FieldRule::NonNegative),
    Number(3, ZK_NUMBER(s.job.Operation), FieldRule::Operation).shown("Operation", State),
    Number(4, ZK_NUMBER(s.job.Topmost), FieldRule::Check).shown("Topmost", State),
    Number(5, ZK_NUMBER(s.job.TimingMode), FieldRule::Index, 2).shown("TimingMode", State),
    Number(6, ZK_NUMBER(s.job.Force), FieldRule::Check).shown("Force", State),
    Text(7, ZK_TEXT(s.job.DelayMinutes), Raw, FieldRule::Padded, 4)
        .trimmed(FieldTrim::Blanks)
        .shown("DelayMinutes", State),
    Text(8, ZK_TEXT(s.job.ClockHour), Raw).shown("ClockHour", State),
    Text(9, ZK_TEXT(s.job.ClockMinute), Raw).shown("ClockMinute", State),
    Number(10, ZK_NUMBER(s.job.MultiEnabled), FieldRule::Check).shown("MultiEnabled", Both),
    Reserved(11, 9),
    Number(20, ZK_NUMBER(s.job.MonitorEnabled), FieldRule::Check).shown("MonitorEnabled", State),
    Number(21, ZK_NUMBER(s.job.MonitorKind), FieldRule::Index, 3).shown("MonitorKind", State),
    Text(22, ZK_TEXT(s.job.MonitorPhrase), Escaped).trimmed(FieldTrim::Blanks).shown("MonitorPhrase", State),
    Number(23, ZK_NUMBER(s.job.PhraseEvent), FieldRule::Index, 2).shown("PhraseEvent", State),
    Text(24, ZK_TEXT(s.job.CpuProcess), Raw, FieldRule::Cleared).shown("CpuProcess", State),
    Text(25, ZK_TEXT(s.job.CpuLowerLimit), Raw).shown("CpuLowerLimit", State),
    Text(26, ZK_TEXT(s.job.CpuAverageSeconds), Raw, FieldRule::Floor, 10).shown("CpuAverageSeconds", State),
    Text(27, ZK_TEXT(s.job.IdleSeconds), Raw).shown("IdleSeconds", State),
    Reserved(28, 2),
    Number(30, ZK_NUMBER(s.job.TrayIcon), FieldRule::Check).shown("TrayIcon", State),
    Number(31, ZK_NUMBER(s.job.MinimizeAtStart), FieldRule::Check).shown("MinimizeAtStart", State),
    Number(32, ZK_NUMBER(s.job.CountdownSound), FieldRule::Check).shown("CountdownSound", State),
    Text(33, ZK_TEXT(s.CaptureFolder), Escaped, FieldRule::FolderOrDesktop).shown("CaptureFolder", File),
    Reserved(34, 6),
    Number(40, ZK_NUMBER(s.job.ResumeEnabled), FieldRule::Check).shown("ResumeEnabled", State),
    Number(41, ZK_NUMBER(s.job.ResumeOnly), FieldRule::Check).shown("ResumeOnly", State),
    Number(42, ZK_NUMBER(s.job.ResumeKeepState), FieldRule::Check).shown("ResumeKeepState", State),
    Text(43, ZK_TEXT(s.job.ResumeDateParts[i]), Raw).times(5, 1).shown("ResumeDateParts", State),
    Number(48, ZK_NUMBER(s.job.LaunchApp), FieldRule::Check).shown("LaunchApp", State),
    // The keyed line "command/ap" overrides it (see the reader).
    Text(49, ZK_TEXT(s.job.AppCommand), Escaped).trimmed(FieldTrim::Command).shown("AppCommand", State),
    Number(50, ZK_NUMBER(s.job.ResumeAtClock), FieldRule::Check).whenNotEmpty().shown("ResumeAtClock", State),
    Text(51, ZK_TEXT(s.job.ResumeAfterMinutes), Raw, FieldRule::Padded, 3)
        .whenNotEmpty()
        .shown("ResumeAfterMinutes", State),
    Reserved(52, 8),
    // The sound again; read after field 32, so this one wins.
    Number(60, ZK_NUMBER(s.job.CountdownSound), FieldRule::Check),
    Number(61, ZK_NUMBER(s.job.ResumeMonitorOn), FieldRule::Check).shown("ResumeMonitorOn", State),
    Number(62, ZK_NUMBER(s.job.ResumeWeekdays[i]), FieldRule::Check).times(7, 1).shown("ResumeWeekdays", State),
    Number(69, ZK_NUMBER(s.Reserved69), FieldRule::Int32).shown("Reserved69", File),
    Text(70, ZK_TEXT(s.LastProgramFolder), Escaped).shown("LastProgramFolder", File),
    Number(71, ZK_NUMBER(s.job.NoAlert), FieldRule::Check).shown("NoAlert", State),
    Number(72, ZK_NUMBER(s.job.ShowQuickButtons), FieldRule::Check).shown("ShowQuickButtons", Both),
    Number(73, ZK_NUMBER(s.job.CaptureOnExit), FieldRule::Check).shown("CaptureOnExit", State),
    Number(74, ZK_NUMBER(s.job.IeMonitor), FieldRule::Check).shown("IeMonitor", State),
    Reserved(75, 5),
    Text(80, ZK_TEXT(s.WeeklyResumeTable[i].Hour), Escaped)
        .times(kWeeklyRowCount, 1)
        .grouped("WeeklyResumeTable")
        .shown("Hour", File),
    Reserved(80 + kWeeklyRowCount, 10 - kWeeklyRowCount),
    Text(90, ZK_TEXT(s.WeeklyResumeTable[i].Minute), Escaped)
        .times(kWeeklyRowCount, 1)
        .grouped("WeeklyResumeTable")
        .shown("Minute", File),
    Reserved(90 + kWeeklyRowCount, 10 - kWeeklyRowCount),
    Text(100, ZK_TEXT(s.WeeklyResumeTable[i].Application), Escaped)
        .times(kWeeklyRowCount, 1)
        .grouped("WeeklyResumeTable")
        .shown("Application", File),
    Reserved(100 + kWeeklyRowCount, 10 - kWeeklyRowCount),
    Text(kMultiFirst, ZK_TEXT(s.MultiRows[i].Hour), Raw)
        .times(kMultiRowCount, kMultiStride)
        .ofMultiRow()
        .grouped("MultiRows")
        .shown("Hour", File),
    Text(kMultiFirst + 1, ZK_TEXT(s.MultiRows[i].Minute), Raw)
        .times(kMultiRowCount, kMultiStride)
        .ofMultiRow()
        .grouped("MultiRows")
        .shown("Minute", File),
    Text(kMultiFirst + 2, ZK_TEXT(s.MultiRows[i].Operation), Raw, FieldRule::RowOperation)
        .times(kMultiRowCount, kMultiStride)
        .ofMultiRow()
        .grouped("MultiRows")
        .shown("Operation", File),
    Text(kMultiFirst + 3, ZK_TEXT(s.MultiRows[i].Application), Escaped)
        .times(kMultiRowCount, kMultiStride)
        .ofMultiRow()
        .grouped("MultiRows")
        .shown("Application", File),
    Reserved(kMultiFirst + 4, kMultiRowCount, kMultiStride),
    Reserved(kMultiFirst + 5, kMultiRowCount, kMultiStride),
    Reserved(kMultiFirst + 6, kMultiRowCount, kMultiStride),
    Reserved(kMultiFirst + 7, kMultiRowCount, kMultiStride),
    Reserved(kMultiFirst + 8, kMultiRowCount, kMultiStride),
    Reserved(kMultiFirst + 9, kMultiRowCount, kMultiStride),
    Reserved(kMultiEnd, kSettingsFieldCount + 1 - kMultiEnd),
};

const std::array kKeyedFields{
    KeyedField{"command/ap", 1, KeyedKind::FirstLine, nullptr, ZK_TEXT(s.job.AppCommand), nullptr},
    KeyedField{"command str", 1, KeyedKind::Text, nullptr, ZK_TEXT(s.history.HistoryText), "HistoryText"},
    KeyedField{"command history max", 1, KeyedKind::Number, ZK_NUMBER(s.history.HistoryMax), nullptr, "HistoryMax"},
    KeyedField{"command history rows", 1, KeyedKind::Number, ZK_NUMBER(s.history.HistoryRows), nullptr,
               "HistoryRows"},
    KeyedField{"command history sort", 1, KeyedKind::Text, nullptr, ZK_TEXT(s.history.HistorySort), "HistorySort"},
    KeyedField{"command history odd color", 1, KeyedKind::Text, nullptr, ZK_TEXT(s.history.HistoryOddColor),
               "HistoryOddColor"},
    KeyedField{"command history colors", 1, KeyedKind::Text, nullptr, ZK_TEXT(s.history.HistoryColors),
               "HistoryColors"},
    KeyedField{"edit width", 2, KeyedKind::Number, ZK_NUMBER(s.edit.EditWidth), nullptr, "EditWidth"},
    KeyedField{"edit height", 2, KeyedKind::Number, ZK_NUMBER(s.edit.EditHeight), nullptr, "EditHeight"},
    KeyedField{"edit mode", 2, KeyedKind::Number, ZK_NUMBER(s.edit.EditMode), nullptr, "EditMode"},
    KeyedField{"edit fontsize", 2, KeyedKind::Number, ZK_NUMBER(s.edit.EditFontSize), nullptr, "EditFontSize"},
};

#undef ZK_NUMBER
#undef ZK_TEXT

}  // namespace

std::span<const SettingsField> SettingsFields()
{
    return kFields;
}

std::span<const KeyedField> KeyedFields()
{
    return kKeyedFields;
}

FieldAt SettingsFieldAt(int position)
{
    static const std::array<FieldAt, kSettingsFieldCount + 1> byPosition = [] {
        std::array<FieldAt, kSettingsFieldCount + 1> at{};
        for (const SettingsField &f : kFields)
            for (int i = 0; i < f.count; ++i)
                if (f.position(i) >= 1 && f.position(i) <= kSettingsFieldCount)
                    at[f.position(i)] = {&f, i};
        return at;
    }();
    if (position < 1 || position > kSettingsFieldCount)
        return {};
    return byPosition[position];
}

QJsonObject ExplainSettingsFields(const AppState &state, unsigned char in)
{
    // The references only pick a member; nothing is written through them here.
    AppState &s = const_cast<AppState &>(state);
    auto value = [&s](const SettingsField &f, int i) {
        return f.number ? QJsonValue(f.number(s, i)) : QJsonValue(f.text(s, i));
    };
    QJsonObject o;
    std::map<QString, QList<QJsonObject>> groups;
    for (const SettingsField &f : kFields) {
        if (!f.explainKey || !(f.explainIn & in))
            continue;
        const QString key = QString::fromLatin1(f.explainKey);
        if (f.explainGroup) {
            QList<QJsonObject> &rows = groups[QString::fromLatin1(f.explainGroup)];
            rows.resize(std::max<qsizetype>(rows.size(), f.count));
            for (int i = 0; i < f.count; ++i)
                rows[i].insert(key, value(f, i));
        } else if (f.count > 1) {
            QJsonArray a;
            for (int i = 0; i < f.count; ++i)
                a.append(value(f, i));
            o.insert(key, a);
        } else {
            o.insert(key, value(f, 0));
        }
    }
    if (in & ExplainInFile) {
        for (const KeyedField &k : kKeyedFields) {
            if (k.explainKey)
                o.insert(QString::fromLatin1(k.explainKey),
                         k.number ? QJsonValue(k.number(s, 0)) : QJsonValue(k.text(s, 0)));
        }
    }
    for (const auto &[group, rows] : groups) {
        QJsonArray a;
        for (const QJsonObject &r : rows)
            a.append(r);
        o.insert(group, a);
    }
    return o;
}

}  // namespace zk
