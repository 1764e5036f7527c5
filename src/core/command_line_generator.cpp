#include "core/command_line_generator.h"

#include "core/crlf.h"
#include "core/text.h"

#include <QCoreApplication>

#include <functional>
#include <optional>

namespace zk {

QString YesNoText(int value)
{
    return value == 1 ? QStringLiteral("y") : QStringLiteral("n");
}

QString OperationPiece(OperationKind kind)
{
    switch (kind) {
    case OperationKind::Shutdown: return QStringLiteral("-shutdown");
    case OperationKind::Reboot: return QStringLiteral("-reboot");
    case OperationKind::Logoff: return QStringLiteral("-logoff");
    case OperationKind::Hibernate: return QStringLiteral("-hibernation");
    case OperationKind::Sleep: return QStringLiteral("-standby");
    }
    return QString();
}

namespace {

const QString kSeparator = QStringLiteral(" -");
const QString kOpen = QStringLiteral("<");
const QString kClose = QStringLiteral(">");

// The parser reads the same numbers as the start and the resume boxes: hour
// and minute of a clock-time resume only from 0 to this.
constexpr qint64 kMaxResumeClockPart = 100000;

// A setting the command line cannot carry back; the text tells the user.
struct Refusal {
    QString text;
};

Refusal CannotWrite(const QString &reason)
{
    //: %1 is the reason, a clause such as "the watched phrase is empty".
    return Refusal{QCoreApplication::translate("CommandLineGenerator", "%1ため、コマンドラインを生成できません。").arg(reason)};
}

// The element the parser makes of the piece "-name written": nullopt when
// the piece does not come out as one parameter. Unless the piece ends the
// line it must also leave the angle-bracket depth at 0, as it found it: a
// depth left above 0 would swallow the parameters after it, one below 0
// would split the next bracketed value.
std::optional<QString> ElementOf(const QString &name, const QString &written, bool endsLine)
{
    const QString after = endsLine ? QString() : QStringLiteral(" -x <y -z> -w");
    const QString text = QLatin1Char(' ') + (QLatin1Char('-') + name + QLatin1Char(' ') + written + after).trimmed().toLower();
    const QStringList e = SplitParameters(text, kSeparator, kOpen, kClose);
    if (endsLine ? e.size() != 2 : (e.size() != 4 || e[2] != u"x <y -z>" || e[3] != u"w"))
        return std::nullopt;
    return e[1];
}

// The rest text of the parser: everything after the name, without one pair
// of enclosing angle brackets.
QString RestText(const QString &name, const QString &element)
{
    return StripBrackets(element.mid(name.size()), kOpen, kClose);
}

// The value words of the parser.
QStringList ValueWords(const QString &element)
{
    QStringList words = CollapseSpaces(element).split(QLatin1Char(' '));
    words.removeFirst();
    words.removeAll(QString());
    return words;
}

// A box's number as the run reads it, in plain digits. As a value word after
// a blank, a negative number would read as a new parameter.
QString WordNumber(const QString &box, const QString &label)
{
    const double v = LeadingNumber(box);
    if (v < 0)
        throw CannotWrite(QCoreApplication::translate("CommandLineGenerator", "「%1」の値 %2 が負の数の").arg(label, NumberText(v)));
    return NumberText(v);
}

// The phrase as the screen watcher searches for it: line breaks as blanks,
// runs of blanks reduced to one, letters compared without case.
QString WatchedText(QString phrase)
{
    phrase.replace(kCrLf, QStringLiteral(" "));
    return CollapseSpaces(phrase).toLower();
}

// An application command as the launch splits it.
QStringList LaunchedParts(QString command)
{
    command.replace(kCrLf, QStringLiteral(" "));
    return {CommandPart(command), ParameterPart(command)};
}

class Writer {
public:
    QStringList pieces;

    // Appends "-name" + " " + the first of `forms` the parser reads back as
    // `accepted` approves. When no form reads back among other parameters,
    // the end of the line is tried, which only one piece can take.
    void add(const QString &name, const QStringList &forms, const std::function<bool(const QString &)> &accepted,
             const Refusal &refusal)
    {
        for (const bool endsLine : {false, true}) {
            if (endsLine && !m_last.isEmpty())
                break;
            for (const QString &form : forms) {
                const std::optional<QString> element = ElementOf(name, form, endsLine);
                if (!element || !accepted(*element))
                    continue;
                const QString piece = QLatin1Char('-') + name + QLatin1Char(' ') + form;
                if (endsLine)
                    m_last = piece;
                else
                    pieces << piece;
                return;
            }
        }
        throw refusal;
    }

    QString line() const
    {
        QString text = (m_last.isEmpty() ? pieces : pieces + QStringList{m_last}).join(QLatin1Char(' '));
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        return text;
    }

private:
    QString m_last;  // the piece that reads back only at the end of the line
};

QString Bracketed(const QString &value)
{
    return QStringLiteral("< ") + value + QStringLiteral(" >");
}

void WritePhrase(Writer &w, const JobSettings &j)
{
    const QString name = j.PhraseEvent == 0 ? QStringLiteral("appear") : QStringLiteral("disappear");
    const QString watched = WatchedText(j.MonitorPhrase);
    if (watched.isEmpty())
        throw CannotWrite(QCoreApplication::translate("CommandLineGenerator", "監視文言が空の"));
    w.add(name, {j.MonitorPhrase, Bracketed(j.MonitorPhrase)},
          [&](const QString &element) { return WatchedText(RestText(name, element)) == watched; },
          CannotWrite(QCoreApplication::translate("CommandLineGenerator", "監視文言「%1」は「<」「>」の組み合わせや前後の空白がコマンドラインでは元に戻らない")
                          .arg(j.MonitorPhrase)));
}

void WriteCpu(Writer &w, const JobSettings &j)
{
    w.pieces << QStringLiteral("-cpu_utl ") + WordNumber(j.CpuLowerLimit, //: Name of the box with the CPU usage limit.
                                             QCoreApplication::translate("CommandLineGenerator", "下限")) + QLatin1Char(' ') +
                    WordNumber(j.CpuAverageSeconds, //: Name of the box with the seconds the CPU usage is averaged over.
                               QCoreApplication::translate("CommandLineGenerator", "平均時間"));
    if (j.CpuProcess.isEmpty())
        return;
    // The parser takes exactly one word and finds the process by that name,
    // without regard to case.
    const QString process = ParameterPart(j.CpuProcess.trimmed());
    w.add(QStringLiteral("cpu_proc"), {process},
          [&](const QString &element) { return ValueWords(element) == QStringList{process.toLower()}; },
          CannotWrite(QCoreApplication::translate("CommandLineGenerator", "監視プロセス「%1」はコマンドラインに一語で書けない").arg(j.CpuProcess)));
}

// Hour or minute box of a clock-time resume as a whole number the parser
// and the start both accept.
QString ResumeClockPart(const QString &box, const QString &unit)
{
    if (!IsNumeric(box))
        throw CannotWrite(QCoreApplication::translate("CommandLineGenerator", "復帰予定日時の「%1」が数値でない").arg(unit));
    const qint64 v = LeadingInt(box);
    if (v < 0 || v > kMaxResumeClockPart)
        throw CannotWrite(QCoreApplication::translate("CommandLineGenerator", "復帰予定日時の「%1」が 0 から %2 の範囲にない")
                              .arg(unit, QString::number(kMaxResumeClockPart)));
    return QString::number(v);
}

void WriteResume(Writer &w, const JobSettings &j)
{
    if (j.ResumeAtClock == 1) {
        w.pieces << QStringLiteral("-resume ") + ResumeClockPart(j.ResumeDateParts[3],
                                                                  //: Name of the hour box.
                                                                  QCoreApplication::translate("CommandLineGenerator", "時")) +
                        QLatin1Char(':') + ResumeClockPart(j.ResumeDateParts[4],
                                        //: Name of the minute box.
                                        QCoreApplication::translate("CommandLineGenerator", "分"));
    } else {
        // The box's padding stays, in front of the number the run reads.
        const QString &box = j.ResumeAfterMinutes;
        qsizetype blanks = 0;
        while (blanks < box.size() && box[blanks] == QLatin1Char(' '))
            ++blanks;
        const QString value = box.left(blanks) + NumberText(LeadingNumber(box));
        const QString name = QStringLiteral("resume");
        w.add(name, {value, Bracketed(value)},
              [&](const QString &element) {
                  const QString back = RestText(name, element);
                  return !back.contains(QLatin1Char(':')) && LeadingNumber(back) == LeadingNumber(box);
              },
              CannotWrite(QCoreApplication::translate("CommandLineGenerator", "「分後に復帰」の値がコマンドラインでは元に戻らない")));
    }

    if (j.LaunchApp != 1 || j.AppCommand.isEmpty())
        return;
    const QString &app = j.AppCommand;
    // The parser reads the whole line in lower case; a program and its
    // arguments are not the same in lower case.
    if (app != app.toLower())
        throw CannotWrite(QCoreApplication::translate("CommandLineGenerator", "復帰時に実行するプログラム「%1」に大文字があり、コマンドラインでは小文字で読まれる")
                              .arg(app));
    const QString name = QStringLiteral("resume_ap");
    const QStringList launched = LaunchedParts(app);
    w.add(name, {Bracketed(app), app},
          [&](const QString &element) { return LaunchedParts(RestText(name, element)) == launched; },
          CannotWrite(QCoreApplication::translate("CommandLineGenerator", "復帰時に実行するプログラム「%1」は「<」「>」の組み合わせがコマンドラインでは元に戻らない")
                          .arg(app)));
}

QString Build(const AppState &state)
{
    const JobSettings &j = state.job;
    Writer w;
    w.pieces << QStringLiteral("-auto");

    if (j.MultiEnabled == 1) {
        w.pieces << QStringLiteral("-multi");
    } else {
        if (const auto kind = state.operation())
            w.pieces << OperationPiece(*kind);

        if (j.TimingMode == 1) {
            // The minute follows a colon, not a blank: it may be negative.
            w.pieces << QStringLiteral("-time ") + WordNumber(j.ClockHour, QCoreApplication::translate("CommandLineGenerator", "時")) + QLatin1Char(':') +
                            NumberText(LeadingNumber(j.ClockMinute));
        } else {
            w.pieces << QStringLiteral("-time ") + WordNumber(j.DelayMinutes,
                                                                       //: Name of the minutes-after-start box.
                                                                       QCoreApplication::translate("CommandLineGenerator", "分後"));
        }

        if (j.Force == 1)
            w.pieces << QStringLiteral("-force");

        if (j.MonitorEnabled == 1) {
            switch (j.MonitorKind) {
            case 0: WritePhrase(w, j); break;
            case 1: WriteCpu(w, j); break;
            case 2: w.pieces << QStringLiteral("-battery ") + WordNumber(j.IdleSeconds,
                                                  //: Name of the box with the seconds without input.
                                                  QCoreApplication::translate("CommandLineGenerator", "秒間入力無い時に実行")); break;
            default: break;
            }
        }

        if (j.ResumeEnabled == 1)
            WriteResume(w, j);
    }

    auto option = [&w](bool written, const char *piece, int value) {
        if (written)
            w.pieces << QLatin1String(piece) + QLatin1Char(' ') + YesNoText(value);
    };
    option(j.NoAlert == 1, "-nodisp_alert", j.NoAlert);
    option(j.MinimizeAtStart == 1, "-minimize", j.MinimizeAtStart);
    option(j.TrayIcon == 1, "-tasktray", j.TrayIcon);
    option(j.CaptureOnExit == 1, "-capture", j.CaptureOnExit);
    option(j.IeMonitor == 1, "-ie", j.IeMonitor);
    if (j.ResumeOnly == 1)
        w.pieces << QStringLiteral("-resume_only");
    option(j.Topmost == 0, "-topmost", j.Topmost);
    option(j.CountdownSound == 0, "-no_beep", 1 - j.CountdownSound);
    option(j.ResumeMonitorOn == 0, "-monitor_off", 1 - j.ResumeMonitorOn);
    option(j.ResumeKeepState == 0, "-resume_nohold", 1 - j.ResumeKeepState);
    return w.line();
}

}  // namespace

QString BuildCommandLine(const AppState &state, QString *error)
{
    try {
        const QString line = Build(state);
        if (error)
            error->clear();
        return line;
    } catch (const Refusal &r) {
        if (error)
            *error = r.text;
        return QString();
    }
}

}  // namespace zk
