#include "core/job_edit.h"

#include <QCoreApplication>

#include "core/text.h"

namespace zk {

QString SpinValue(const QString &text, int direction, int high, int low)
{
    const qint64 v = LeadingInt(text);
    if (direction == 0)
        return QString::number(v >= high ? low : v + 1);
    return QString::number(v <= low ? high : v - 1);
}

QString CorrectClockBox(const QString &text, int max)
{
    if (text.trimmed().isEmpty())
        return QStringLiteral("0");
    if (LeadingNumber(text) > max)
        return QString::number(max);
    return text;
}

QString DigitsOnly(const QString &text, bool keepLeadingBlanks, bool keepPoints)
{
    QString out;
    bool leading = true;
    for (const QChar c : text) {
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (keepPoints && c == QLatin1Char('.'))) {
            out += c;
            leading = false;
        } else if (leading && keepLeadingBlanks && c == QLatin1Char(' ')) {
            out += c;
        }
    }
    return out;
}

bool CpuAverageSecondsTooShort(const QString &text)
{
    return LeadingNumber(text) < kCpuAverageSecondsMin;
}

OperationTooltips TooltipsFor(const QString &op)
{
    OperationTooltips t;
    //: Tooltips: %1 is the operation's name (shut down, reboot, ...).
    t.minutesOption = QCoreApplication::translate("JobEdit", "%1処理開始までの時間を分で指定").arg(op);
    t.clockOption = QCoreApplication::translate("JobEdit", "%1処理開始の時刻を時分で指定。現在時刻より前は翌日扱い").arg(op);
    t.startButton = QCoreApplication::translate("JobEdit", "%1処理開始").arg(op);
    t.stopButton = QCoreApplication::translate("JobEdit", "%1処理中止").arg(op);
    t.minutesBox = QCoreApplication::translate("JobEdit", "%1までの時間を分単位で指定").arg(op);
    t.monitorBox = QCoreApplication::translate("JobEdit", "%1の実行を出力文言やCPU使用率・電源状態により監視します。").arg(op);
    t.phraseLabel = QCoreApplication::translate("JobEdit", "画面上に右の文言が表示された時 %1を実行します。空白は無効").arg(op);
    t.resumeOnlyBox = QCoreApplication::translate("JobEdit", "%1の設定は無視され、復帰のみ行います。").arg(op);
    return t;
}

QString PhraseBoxTooltip(int phraseEvent)
{
    return phraseEvent == 0
               ? QCoreApplication::translate("JobEdit", "画面上に、この文言が 「表示された時」 に終了処理を実行。ダブルクリックで入力フォームを表示")
               : QCoreApplication::translate("JobEdit", "画面上に、この文言が 「表示されなくなった時」 に終了処理を実行。ダブルクリックで入力フォームを表示");
}

bool SelectOperation(AppState &state, int index)
{
    if (state.job.Operation == index)
        return false;
    state.job.Operation = index;
    state.job.ResumeEnabled = 0;
    return true;
}

UserMessage HibernationDisabledMessage()
{
    //: Title of the message that hibernation is turned off.
    return {QCoreApplication::translate("JobEdit", "無効"), QCoreApplication::translate("JobEdit", "「休止」は無効となっています。\r\n"
                                                                  "[電源のオプション]から「休止」を有効にして下さい。")};
}

void SetResumeOnly(JobSettings &job, bool on, std::optional<OperationKind> operation)
{
    job.ResumeOnly = on ? 1 : 0;
    if (on)
        job.ResumeEnabled = 1;
    else
        DropUnusableResume(job, operation);
}

void DropUnusableResume(JobSettings &job, std::optional<OperationKind> operation)
{
    if (!ResumeUsable(operation, job.ResumeOnly != 0))
        job.ResumeEnabled = 0;
}

UserMessage EmptyMinutesMessage()
{
    //: Title of the message that a box is empty.
    return {QCoreApplication::translate("JobEdit", "未入力"), QCoreApplication::translate("JobEdit", "0 以上の整数を入力して下さい。")};
}

UserMessage SettingsSavedMessage()
{
    return {QStringLiteral("Zenkoro"), QCoreApplication::translate("JobEdit", "保存完了")};
}

UserMessage SettingsNotSavedMessage()
{
    return {QCoreApplication::translate("JobEdit", "書込みエラー"),
            QCoreApplication::translate("JobEdit", "設定値の保存に失敗しました！\r\n"
                                        "媒体が書込み不可、または、ファイル（Conf.txt）が読取専用になっていないか、確認してください。")};
}

UserMessage ResetDefaultsQuestion()
{
    //: Title of the question before the default settings are restored.
    return {QCoreApplication::translate("JobEdit", "既定値"), QCoreApplication::translate("JobEdit", "既定値に戻します。よろしいですか？")};
}

int OperationAfterRefusal(int previous, int refused, int count)
{
    return (previous >= 0 && previous < count && previous != refused) ? previous : 0;
}

bool StartWaitsForMinutes(const JobSettings &job)
{
    return job.TimingMode == 0 && !job.MultiEnabled && job.DelayMinutes.trimmed().isEmpty();
}

std::optional<UserMessage> KeepAllowedOperation(AppState &state, int previous,
                                                const std::function<bool()> &hibernationAllowed)
{
    if (state.operation() != OperationKind::Hibernate || (hibernationAllowed && hibernationAllowed()))
        return std::nullopt;
    state.job.Operation = previous;
    return HibernationDisabledMessage();
}

void FixResumeDate(JobSettings &job, const QDate &today)
{
    auto &p = job.ResumeDateParts;
    if (p[0].isEmpty())
        return;
    const QDate d(int(p[0].toInt()), int(p[1].toInt()), int(p[2].toInt()));
    if (!d.isValid() || d < today) {
        p[0] = QString::number(today.year());
        p[1] = QString::number(today.month());
        p[2] = QString::number(today.day());
    }
}

void SetTimingMode(JobSettings &job, int index, const QDateTime &now)
{
    job.TimingMode = index != 0 ? 1 : 0;
    if (job.ClockHour.isEmpty() && job.ClockMinute.isEmpty()) {
        job.ClockHour = QString::number(now.time().hour());
        job.ClockMinute = QString::number(now.time().minute());
    }
}

QList<QuickButtonSpec> QuickButtons()
{
    return {
        //: Button: shut down now.
        {0, QCoreApplication::translate("JobEdit", "即終了"), QCoreApplication::translate("JobEdit", "シャットダウンを即実行")},
        //: Button: reboot now.
        {1, QCoreApplication::translate("JobEdit", "即 再起動"), QString()},
        //: Button: hibernate now.
        {3, QCoreApplication::translate("JobEdit", "即 休止"), QString()},
        //: Button: sleep now.
        {4, QCoreApplication::translate("JobEdit", "即 スタンバイ"), QCoreApplication::translate("JobEdit", "即 スリープ")},
    };
}

bool QuickButtonsVisible(const JobSettings &job)
{
    return job.ShowQuickButtons != 0 && job.MultiEnabled == 0;
}

void ApplyQuickAction(AppState &state, int operationIndex)
{
    JobSettings &j = state.job;
    j.Operation = operationIndex;
    j.TimingMode = 0;
    j.DelayMinutes = QStringLiteral("   0");
    j.Force = 1;
    j.MonitorEnabled = 0;
    j.ResumeEnabled = 0;
    state.cl.AutoStart = true;
}

std::array<QString, 5> ResumePartsFor(const QDateTime &t)
{
    return {QString::number(t.date().year()), QString::number(t.date().month()), QString::number(t.date().day()),
            QString::number(t.time().hour()), QString::number(t.time().minute())};
}

namespace {
int daysInMonthOf(const std::array<QString, 5> &parts)
{
    const int y = int(LeadingInt(parts[0]));
    const int m = int(LeadingInt(parts[1]));
    if (m < 1 || m > 12)
        return 31;
    const QDate d(y > 0 ? y : 2000, m, 1);
    return d.isValid() ? d.daysInMonth() : 31;
}
}  // namespace

bool SpinResumeDate(std::array<QString, 5> &parts, int box, int direction, const QDateTime &now)
{
    if (box < 0 || box > 4)
        return false;
    if (parts[box].trimmed().isEmpty()) {
        if (!parts[0].trimmed().isEmpty())
            return false;
        parts = ResumePartsFor(now);
        return true;
    }
    switch (box) {
    case 0: {
        const int year = now.date().year();
        parts[0] = SpinValue(parts[0], direction, year + 1, year);
        break;
    }
    case 1: parts[1] = SpinValue(parts[1], direction, 12, 1); break;
    case 2: parts[2] = SpinValue(parts[2], direction, daysInMonthOf(parts), 1); break;
    case 3: parts[3] = SpinValue(parts[3], direction, 23, 0); break;
    case 4: parts[4] = SpinValue(parts[4], direction, 59, 0); break;
    }
    if (box <= 1) {
        // A new month (or a new year in February) may have fewer days.
        const int last = daysInMonthOf(parts);
        if (!parts[2].trimmed().isEmpty() && LeadingInt(parts[2]) > last)
            parts[2] = QString::number(last);
    }
    return true;
}

}  // namespace zk
