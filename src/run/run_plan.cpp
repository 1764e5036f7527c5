#include "run/run_plan.h"

#include <QCoreApplication>

#include "core/crlf.h"
#include "core/datetime.h"
#include "core/text.h"
#include "settings/settings_file.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace zk {

namespace {

constexpr qint64 kMaxDelayMinutes = 14400;
constexpr qint64 kResumeMarginMs = 20000;
constexpr int kSelfRestartMaxMinutes = 60;

void refuse(RunPlan &p, const QString &title, const QString &text, const QString &focus, StopOrder stop)
{
    p.outcome = PlanOutcome::Refused;
    p.title = title;
    p.text = text;
    p.focusField = focus;
    p.stop = stop;
}

// The whole-number value of a resume box, or nullopt when the box does not
// hold a number.
std::optional<qint64> boxNumber(const QString &text)
{
    if (!IsNumeric(text))
        return std::nullopt;
    const double v = LeadingNumber(text);
    if (!std::isfinite(v) || std::fabs(v) > 1e6)
        return std::nullopt;
    return RoundHalfEven(v);
}

// A span of minutes in milliseconds, or nullopt when it reaches beyond
// about 30,000 years, further than any date the run can be given.
std::optional<qint64> minutesToMs(double minutes)
{
    constexpr double kMaxSpanMs = 1e15;
    const double ms = minutes * 60000.0;
    if (!(std::fabs(ms) <= kMaxSpanMs))
        return std::nullopt;
    return std::llround(ms);
}

// Date and time from the five resume boxes; months, days, hours and minutes
// beyond their range carry into the next unit.
QDateTime resumeFromBoxes(qint64 y, qint64 mo, qint64 d, qint64 h, qint64 mi)
{
    const QDate base = QDate(int(y), 1, 1).addMonths(int(mo - 1)).addDays(d - 1);
    return AtClock(base, h, mi);
}

// The value of the -time (or else -t) switch in an application's parameters.
QString timeSwitchValue(const QString &parameters)
{
    const QStringList elements = SplitParameters(QLatin1Char(' ') + parameters, QStringLiteral(" -"),
                                                 QStringLiteral("<"), QStringLiteral(">"));
    QString shortValue;
    bool haveShort = false;
    for (int i = 1; i < elements.size(); ++i) {
        const QStringList words = CollapseSpaces(elements[i]).split(QLatin1Char(' '));
        const QString name = words.value(0).toLower();
        const QString value = words.value(1);
        if (name == QLatin1String("time"))
            return value;
        if (name == QLatin1String("t") && !haveShort) {
            shortValue = value;
            haveShort = true;
        }
    }
    return shortValue;
}

QString isoOrEmpty(const QDateTime &t)
{
    return t.isValid() ? t.toString(Qt::ISODate) : QString();
}

}  // namespace

bool ExistingFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo fi(path);
    return fi.exists() && !fi.isDir();
}

QString StartCheckPath(const QString &path, const QString &programDir)
{
    if (programDir.isEmpty() || path.isEmpty() || QDir::isAbsolutePath(path))
        return path;
    return QDir(programDir).filePath(path);
}

int WarningLeadSeconds(const AppState &state)
{
    if (state.cl.PopupLeadSeconds >= 0)
        return std::min(state.cl.PopupLeadSeconds, 32767);
    return state.job.Force ? 30 : 15;
}

QString FormatRemaining(qint64 milliseconds)
{
    const qint64 total = milliseconds <= 0 ? 0 : (milliseconds + 500) / 1000;
    const qint64 days = total / 86400;
    if (days < 1)
        return FormatHms(total);
    //: Time left: %1 days, %2 hours:minutes:seconds.
    return QCoreApplication::translate("RunPlan", "%1日 %2").arg(QString::number(days), FormatHms(total % 86400));
}

RunPlan PlanStart(const AppState &state, const QDateTime &now, const StartEnvironment &env)
{
    const JobSettings &j = state.job;
    const CommandLineValues &cl = state.cl;
    RunPlan p;
    p.startTime = now;

    // Target time.
    if (j.TimingMode == 0) {
        const double m = LeadingNumber(j.DelayMinutes);
        if (m < 0) {
            refuse(p, QCoreApplication::translate("RunPlan", "入力エラー"), QCoreApplication::translate("RunPlan", "0 以上の整数を入力して下さい。"),
                   QStringLiteral("cmbTime"), StopOrder::AfterMessage);
            return p;
        }
        if (m == 0)
            p.targetSpanMs = qint64(std::max(cl.ZeroTimeSeconds, 0)) * 1000;
        else if (m <= kMaxDelayMinutes)
            p.targetSpanMs = std::llround(m * 60000.0);
        if (p.targetSpanMs >= 0)
            p.targetTime = now.addMSecs(p.targetSpanMs);
        else {
            refuse(p, QCoreApplication::translate("RunPlan", "入力エラー"),
                   QCoreApplication::translate("RunPlan", "分後：%1以下の数値を入力").arg(kMaxDelayMinutes),
                   QStringLiteral("cmbTime"), StopOrder::AfterMessage);
            return p;
        }
    } else {
        const double h = LeadingNumber(j.ClockHour);
        const double mi = LeadingNumber(j.ClockMinute);
        const std::optional<qint64> ms = minutesToMs(h * 60.0 + mi);
        if (!ms) {
            refuse(p, QCoreApplication::translate("RunPlan", "入力エラー"), QCoreApplication::translate("RunPlan", "時刻の記述が不正です！"), QStringLiteral("txtH"),
                   StopOrder::AfterMessage);
            return p;
        }
        // The wall-clock time of today, else of tomorrow.
        QDateTime t = AtClockMs(now.date(), *ms);
        if (t.isValid() && t < now)
            t = AtClockMs(now.date().addDays(1), *ms);
        if (!t.isValid()) {
            refuse(p, QCoreApplication::translate("RunPlan", "入力エラー"), QCoreApplication::translate("RunPlan", "時刻の記述が不正です！"), QStringLiteral("txtH"),
                   StopOrder::AfterMessage);
            return p;
        }
        p.targetTime = t;
    }

    // Weekdays on which the action may run. A mask too short for the weekday
    // does not exclude it.
    {
        const int w = WeekdayNumber(p.targetTime.date());
        if (cl.ExecWeekMask.size() >= w && cl.ExecWeekMask.at(w - 1) == QLatin1Char('0')) {
            p.outcome = PlanOutcome::Skip;
            p.stop = StopOrder::None;
            p.showPopup = !j.NoAlert;
            //: %1 is the date, %2 the -exec_week value (seven 0/1 digits).
            p.popupText = QCoreApplication::translate("RunPlan", "予定日（%1）は exec_week %2 の指定により\r\n実行をパスします。")
                              .arg(FormatShortDate(p.targetTime), cl.ExecWeekMask);
            return p;
        }
    }

    // The watched phrase must not hold a placeholder of the settings file's
    // escaping (their shared prefix alone is an ordinary text).
    const QStringList placeholders = EscapePlaceholders();
    const auto holdsPlaceholder = [&](const QString &text) {
        return std::any_of(placeholders.begin(), placeholders.end(),
                           [&](const QString &h) { return text.contains(h); });
    };
    if (j.MonitorEnabled && j.MonitorKind == 0 && holdsPlaceholder(j.MonitorPhrase)) {
        refuse(p, QCoreApplication::translate("RunPlan", "入力文字エラー"), QCoreApplication::translate("RunPlan", "御客さん！ご冗談は止めて下さい！"),
               QStringLiteral("txt監視文言"), StopOrder::AfterMessage);
        return p;
    }

    // Resume time. A resume-only run always needs its date boxes.
    const bool needBoxes = j.ResumeEnabled && (j.ResumeOnly || j.ResumeAtClock);
    if (j.ResumeEnabled && (!j.ResumeDateParts[0].isEmpty() || j.ResumeOnly)) {
        if (needBoxes) {
            static const char *const names[] = {
                QT_TRANSLATE_NOOP("RunPlan", "年"), QT_TRANSLATE_NOOP("RunPlan", "月"),
                QT_TRANSLATE_NOOP("RunPlan", "日"), QT_TRANSLATE_NOOP("RunPlan", "時"),
                QT_TRANSLATE_NOOP("RunPlan", "分")};
            std::array<qint64, 5> v{};
            for (int i = 0; i < 5; ++i) {
                const auto n = boxNumber(j.ResumeDateParts[size_t(i)]);
                if (!n || (i == 0 && (*n < 1 || *n > 9999))) {
                    refuse(p, QCoreApplication::translate("RunPlan", "入力エラー"),
                           QCoreApplication::translate("RunPlan", "復帰予定日時の「%1」には数値を入力して下さい。")
                               .arg(QCoreApplication::translate("RunPlan", names[i])),
                           QStringLiteral("txtResume_") + QString::number(i), StopOrder::AfterMessage);
                    return p;
                }
                v[size_t(i)] = *n;
            }
            p.resumeTime = resumeFromBoxes(v[0], v[1], v[2], v[3], v[4]);
        } else {
            const std::optional<qint64> ms = minutesToMs(LeadingNumber(j.ResumeAfterMinutes));
            if (!ms) {
                refuse(p, QCoreApplication::translate("RunPlan", "入力エラー"), QCoreApplication::translate("RunPlan", "復帰までの時間が長過ぎます。"),
                       QStringLiteral("cmb復帰分"), StopOrder::AfterMessage);
                return p;
            }
            p.resumeTime = p.targetTime.addMSecs(*ms);
            p.resumeFollowsTarget = true;
        }
        if (j.ResumeOnly) {
            if (now.msecsTo(p.resumeTime) < kResumeMarginMs) {
                refuse(p, QCoreApplication::translate("RunPlan", "エラー発生"),
                       QCoreApplication::translate("RunPlan", "復帰予定日時は現在時刻(+1分)以降にして下さい！"), QString(),
                       StopOrder::BeforeMessage);
                return p;
            }
        } else if (p.targetTime.msecsTo(p.resumeTime) < kResumeMarginMs) {
            refuse(p, QCoreApplication::translate("RunPlan", "エラー発生"),
                   QCoreApplication::translate("RunPlan", "復帰予定日時は%1予定時刻(+1分)以降にして下さい！").arg(state.OperationDisplayName()),
                   QString(), StopOrder::BeforeMessage);
            return p;
        }

        // The application to start after the resume.
        QString app = j.AppCommand;
        app.replace(kCrLf, QStringLiteral(" "));
        if (j.LaunchApp && !app.trimmed().isEmpty()) {
            QString path = CommandPart(app);
            if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
                path = path.mid(1, path.size() - 2);
            else if (path.startsWith(QLatin1Char('"')))
                path = path.mid(1);
            const QString file = StartCheckPath(path, env.programDir);
            const bool exists = env.fileExists ? env.fileExists(file) : ExistingFile(file);
            if (!exists) {
                refuse(p, QCoreApplication::translate("RunPlan", "パスエラー"), QCoreApplication::translate("RunPlan", "記述されたパスは無効です。") + kCrLf + kCrLf + path,
                       QStringLiteral("txtExecAp"), StopOrder::None);
                return p;
            }
            if (!env.programName.isEmpty() && app.contains(env.programName, Qt::CaseInsensitive)) {
                const QString value = timeSwitchValue(ParameterPart(app));
                if (LeadingNumber(value) > kSelfRestartMaxMinutes) {
                    refuse(p, QCoreApplication::translate("RunPlan", "入力注意"),
                           QCoreApplication::translate("RunPlan", "%1のパラメーターの時間 time,t は %2以内にして下さい。")
                               .arg(env.programTitle, QString::number(kSelfRestartMaxMinutes)),
                           QString(), StopOrder::None);
                    return p;
                }
            }
        }
    }

    // Resume-only needs resume. A command-line start is refused too: without
    // a resume time there is nothing to wait for.
    if (j.ResumeOnly && (!j.ResumeEnabled || !p.resumeTime.isValid())) {
        refuse(p, QCoreApplication::translate("RunPlan", "矛盾"),
               QCoreApplication::translate("RunPlan", "「復帰」にチェックするか「復帰のみ」をオフにするかにして下さい。"), QString(),
               StopOrder::AfterMessage);
        return p;
    }

    // Weekday boxes of the resume, checked once the run has been armed.
    if (j.ResumeEnabled && p.resumeTime.isValid()) {
        const int w = WeekdayNumber(p.resumeTime.date());
        if (!j.resumeWeekday(w)) {
            if (!j.NoAlert) {
                p.resumeDay = ResumeDayRule::CancelRun;
                p.resumePopupText = QCoreApplication::translate("RunPlan", "復帰予定日は \r\n%1\r\n復帰無効曜日です。処理をキャンセルします。")
                                        .arg(FormatLongDate(p.resumeTime));
            } else {
                p.resumeDay = j.ResumeOnly ? ResumeDayRule::EndProgram : ResumeDayRule::DropResume;
            }
        }
    }
    // A suspend that is to wake the machine again needs a wake alarm: where
    // none can be armed, the run does not start (the machine would sleep on).
    if (!j.ResumeOnly && p.resumeTime.isValid() && p.resumeDay == ResumeDayRule::Allowed &&
        !env.wakeUnavailable.isEmpty() && state.operation() && IsSuspendOperation(*state.operation())) {
        const auto [title, text] = WakeRefusal(env.wakeUnavailable);
        refuse(p, title, text, QString(), StopOrder::AfterMessage);
        return p;
    }
    if (j.ResumeOnly) {
        p.targetTime = QDateTime();
        p.targetSpanMs = -1;
    }
    return p;
}

std::pair<QString, QString> WakeRefusal(const QString &reason)
{
    return {QCoreApplication::translate("RunPlan", "エラー発生"), QCoreApplication::translate("RunPlan", "復帰タイマーを設定できません。") + kCrLf + reason};
}

QJsonObject ExplainPlan(const RunPlan &plan)
{
    QJsonObject o;
    switch (plan.outcome) {
    case PlanOutcome::Start: {
        if (plan.resumeDay == ResumeDayRule::CancelRun || plan.resumeDay == ResumeDayRule::EndProgram) {
            o.insert(QStringLiteral("Outcome"), plan.resumeDay == ResumeDayRule::CancelRun ? QStringLiteral("refused")
                                                                                          : QStringLiteral("skip"));
            o.insert(QStringLiteral("Refusal"),
                     QJsonObject{{QStringLiteral("Title"), QString()}, {QStringLiteral("Text"), plan.resumePopupText}});
            break;
        }
        o.insert(QStringLiteral("Outcome"), QStringLiteral("start"));
        o.insert(QStringLiteral("TargetTime"), isoOrEmpty(plan.targetTime));
        o.insert(QStringLiteral("ResumeTime"),
                 plan.resumeDay == ResumeDayRule::DropResume ? QString() : isoOrEmpty(plan.resumeTime));
        break;
    }
    case PlanOutcome::Refused:
        o.insert(QStringLiteral("Outcome"), QStringLiteral("refused"));
        o.insert(QStringLiteral("Refusal"),
                 QJsonObject{{QStringLiteral("Title"), plan.title}, {QStringLiteral("Text"), plan.text}});
        break;
    case PlanOutcome::Skip:
        o.insert(QStringLiteral("Outcome"), QStringLiteral("skip"));
        o.insert(QStringLiteral("TargetTime"), isoOrEmpty(plan.targetTime));
        o.insert(QStringLiteral("Refusal"),
                 QJsonObject{{QStringLiteral("Title"), QStringLiteral("exec_week")}, {QStringLiteral("Text"), plan.popupText}});
        break;
    }
    return o;
}

QJsonObject ExplainPlan(const AppState &state, const QDateTime &now, const StartEnvironment &env)
{
    return ExplainPlan(PlanStart(state, now, env));
}

}  // namespace zk
