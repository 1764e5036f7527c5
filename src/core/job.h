// The records of a run: the job settings the user edits, the values only the
// command line sets, and everything else the settings file carries.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace zk {

// The operations, in the order of the operation list (JobSettings::Operation
// is the index). The logic works with the kind; the texts below are what the
// settings file, the multi rows and the window hold.
enum class OperationKind { Shutdown = 0, Reboot = 1, Logoff = 2, Hibernate = 3, Sleep = 4 };

inline constexpr std::array<OperationKind, 5> kOperationKinds{
    OperationKind::Shutdown, OperationKind::Reboot, OperationKind::Logoff, OperationKind::Hibernate,
    OperationKind::Sleep};

// The stored and shown text of a kind: "シャットダウン", "再起動", "ログオフ",
// "休止", "スリープ".
QString OperationText(OperationKind kind);
// The text the user sees for a kind (translated; the Japanese source is the
// stored text). Never stored or compared.
QString OperationDisplayName(OperationKind kind);
// The kind a stored text names ("スタンバイ" is the older name of "スリープ");
// nothing for any other text.
std::optional<OperationKind> OperationFromText(const QString &text);
// The operation list's texts, in list order.
QStringList OperationListTexts();
// The operation at that place of the list (the stored index); nullopt outside it.
inline std::optional<OperationKind> OperationAt(int index)
{
    return (index >= 0 && index < int(kOperationKinds.size())) ? std::optional(kOperationKinds[size_t(index)])
                                                               : std::nullopt;
}

// A multi-schedule row's "復帰" entry: the wake-up after the sleep before it.
inline const QString kWakeRowText = QStringLiteral("復帰");
bool IsWakeRowText(const QString &text);
// What a multi row shows for its stored entry: the display name of an
// operation or of "復帰"; any other text as it is.
QString MultiRowDisplayName(const QString &stored);

// Whether the operation suspends the machine (sleep, hibernation), after
// which it can be woken again.
inline bool IsSuspendOperation(OperationKind kind)
{
    return kind == OperationKind::Sleep || kind == OperationKind::Hibernate;
}

// The stored integers of the timing and monitor choices, as the logic names them.
// JobSettings and Conf.txt keep the integers; the accessors below read them.
enum class TimingMode { Minutes = 0, Clock = 1 };
enum class MonitorKind { Phrase = 0, Cpu = 1, BatteryIdle = 2 };
enum class PhraseEvent { Appears = 0, Disappears = 1 };

// Derived monitor mode.
enum class MonitorMode { None, Appear, Disappear, CpuUtl, CpuProc, Battery };

// Every value one run uses. Numbers typed into boxes stay texts, as shown.
struct JobSettings {
    int Operation = 0;                       // list index of the operation list
    int TimingMode = 0;                      // 0 = minutes after the start, 1 = clock time
    QString DelayMinutes = QStringLiteral("  90");
    QString ClockHour;
    QString ClockMinute;
    int Force = 0;
    int MonitorEnabled = 0;
    int MonitorKind = 0;                     // 0 text, 1 CPU, 2 battery and idle input
    int PhraseEvent = 0;                     // 0 appears, 1 disappears
    QString MonitorPhrase;
    int IeMonitor = 0;
    QString CpuLowerLimit = QStringLiteral(" 0.1");
    QString CpuAverageSeconds = QStringLiteral(" 20");
    QString CpuProcess;                      // empty = the whole machine
    QString IdleSeconds = QStringLiteral(" 30");
    int MultiEnabled = 0;
    int ResumeEnabled = 0;
    int ResumeOnly = 0;
    int ResumeAtClock = 1;
    QString ResumeAfterMinutes = QStringLiteral(" 10");
    std::array<QString, 5> ResumeDateParts;  // year, month, day, hour, minute
    int ResumeKeepState = 1;
    int ResumeMonitorOn = 1;
    std::array<int, 7> ResumeWeekdays{1, 1, 1, 1, 1, 1, 1};  // [0] = Sunday .. [6] = Saturday
    int LaunchApp = 1;
    QString AppCommand;
    int Topmost = 1;
    int TrayIcon = 0;
    int MinimizeAtStart = 0;
    int CountdownSound = 1;
    int NoAlert = 0;
    int CaptureOnExit = 0;
    int ShowQuickButtons = 0;
    int ExtendedMenu = 0;

    // Weekday box for weekday number w, 1 = Sunday .. 7 = Saturday.
    int resumeWeekday(int w) const { return (w >= 1 && w <= 7) ? ResumeWeekdays[w - 1] : 0; }
    void setResumeWeekday(int w, int v) { if (w >= 1 && w <= 7) ResumeWeekdays[w - 1] = v; }

    zk::TimingMode timing() const { return TimingMode != 0 ? zk::TimingMode::Clock : zk::TimingMode::Minutes; }
    // Any other stored value is no kind (it never triggers).
    zk::MonitorKind monitorKind() const { return static_cast<zk::MonitorKind>(MonitorKind); }
    zk::PhraseEvent phraseEvent() const { return PhraseEvent != 0 ? zk::PhraseEvent::Disappears : zk::PhraseEvent::Appears; }

    bool operator==(const JobSettings &) const = default;
};

// Values only the command line sets.
struct CommandLineValues {
    bool AutoStart = false;
    QString ExecWeekMask;                    // seven 0/1 characters, Sunday first; empty = every day
    bool NoDisplay = false;
    int PopupLeadSeconds = -1;
    int ZeroTimeSeconds = 5;
    bool HideBeforeSuspend = false;
    int ResumeRecountMinutes = 0;
    QString ApPath;
    QString ApParameters;
    QString ResumeAppCommand;
    QDateTime ResumeTime;                    // invalid = none

    bool operator==(const CommandLineValues &) const = default;
};

// One row of the weekly resume table; index 0 = default row, 1 = Sunday .. 7 = Saturday.
struct ResumeEntry {
    QString Hour;
    QString Minute;
    QString Application;
    bool operator==(const ResumeEntry &) const = default;
};

// One row of the multi schedule.
struct MultiEntry {
    QString Hour;
    QString Minute;
    QString Operation;
    QString Application;
    bool operator==(const MultiEntry &) const = default;
};

inline constexpr int kMultiRowCount = 20;
inline constexpr int kWeeklyRowCount = 8;

// History drop-down list and command input form values.
struct HistorySettings {
    QString HistoryText;                     // entries joined by TAB, newest first
    int HistoryMax = 10;
    int HistoryRows = 7;
    QString HistorySort;
    QString HistoryOddColor = QStringLiteral("FFFFE0");
    QString HistoryColors;                   // see DefaultHistoryColors()
    bool operator==(const HistorySettings &) const = default;
};

QString DefaultHistoryColors();

struct EditSettings {
    int EditWidth = 7665;
    int EditHeight = 2205;
    int EditMode = 0;
    int EditFontSize = 12;
    bool operator==(const EditSettings &) const = default;
};

// Everything the program holds between start and exit.
struct AppState {
    JobSettings job;
    CommandLineValues cl;
    std::array<ResumeEntry, kWeeklyRowCount> WeeklyResumeTable;
    std::array<MultiEntry, kMultiRowCount> MultiRows;
    HistorySettings history;
    EditSettings edit;
    QString ActiveOddColor;
    QString ActiveColors;
    QString CaptureFolder;
    QString LastProgramFolder;
    int Reserved69 = 12;
    int WindowLeft = -1;                     // twips; negative = centred
    int WindowTop = -1;

    AppState() { history.HistoryColors = DefaultHistoryColors(); }

    // The selected operation (nothing when the index is outside the list).
    std::optional<OperationKind> operation() const {
        return OperationAt(job.Operation);
    }
    // Its text ("" when the index is outside the list).
    QString OperationText() const {
        const auto kind = operation();
        return kind ? zk::OperationText(*kind) : QString();
    }
    // Its text as shown to the user ("" when the index is outside the list).
    QString OperationDisplayName() const {
        const auto kind = operation();
        return kind ? zk::OperationDisplayName(*kind) : QString();
    }
    MonitorMode monitorMode() const;
};

// "Zenkoro" version text: major "." minor revision, with nothing between minor and revision.
QString VersionText(int major, int minor, int revision);
QString VersionText();

// Window caption for an operation text: "Zenkoro" + op + " " + version.
QString CaptionFor(const QString &operationText);
// Caption after a command line was parsed.
QString CommandLineCaption();

}  // namespace zk
