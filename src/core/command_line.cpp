#include "core/command_line.h"

#include "core/crlf.h"
#include "core/datetime.h"
#include "core/job_edit.h"
#include "core/text.h"

#include <QCoreApplication>
#include <QHash>

namespace zk {

namespace {

// A parameter that cannot be applied; ends the parse as a parameter error.
struct ParameterError {
    QList<UserMessage> messages;  // specific messages shown before the generic one
};

struct Element {
    QString name;
    QStringList words;  // value words
    QString value;      // rest text without one pair of angle brackets
};

Element SplitElement(const QString &element)
{
    Element e;
    const QStringList all = CollapseSpaces(element).split(QLatin1Char(' '));
    e.name = all.value(0);
    e.words = all.mid(1);
    e.words.removeAll(QString());
    // Leading blanks of the element are passed over before the name is cut off,
    // so "-  appear x" does not lose part of its value.
    int start = 0;
    while (start < element.size() && IsSpace(element[start]))
        ++start;
    const QString rest = element.mid(start + e.name.size());
    e.value = StripBrackets(rest, QStringLiteral("<"), QStringLiteral(">"));
    return e;
}

// A word the grammar does not know: a misspelt name must not leave the
// run to the settings it happens to find.
ParameterError UnknownParameter(const QString &word)
{
    return ParameterError{{{ProgramTitle(), QCoreApplication::translate("CommandLine", "「%1」は不明なパラメータです！").arg(word) + kCrLf + QCoreApplication::translate("CommandLine", "パラメーターエラー")}}};
}

// A parameter that needs a value and has none.
ParameterError MissingValue(const QString &name)
{
    return ParameterError{{{ProgramTitle(), QCoreApplication::translate("CommandLine", "「-%1」に値がありません！").arg(name) + kCrLf + QCoreApplication::translate("CommandLine", "パラメーターエラー")}}};
}

QString FirstWord(const Element &e)
{
    if (e.words.isEmpty())
        throw MissingValue(e.name);
    return e.words.first();
}

// The rest text of a parameter that needs one.
QString Value(const Element &e)
{
    if (e.value.isEmpty())
        throw MissingValue(e.name);
    return e.value;
}

class Parser {
public:
    Parser(AppState &state, const QDateTime &now, const ParseHooks &hooks, ParseResult &result)
        : m_state(state), m_now(now), m_hooks(hooks), m_result(result)
    {
    }

    void apply(const Element &e);

private:
    void selectOperation(OperationKind kind)
    {
        if (SelectOperation(m_state, int(kind)))
            m_result.caption = CaptionFor(m_state.OperationDisplayName());
    }
    void setDefaults()
    {
        const int before = m_state.job.Operation;
        if (m_hooks.setDefaults)
            m_hooks.setDefaults(m_state);
        if (m_state.job.Operation != before)
            m_result.caption = CaptionFor(m_state.OperationDisplayName());
    }
    void time(const Element &e);
    void resume(const Element &e);
    void ap(const Element &e);

    AppState &m_state;
    const QDateTime &m_now;
    const ParseHooks &m_hooks;
    ParseResult &m_result;
};

// Sets a check box from a y/n parameter: `bare` without a value word, else
// YesNo(first word), inverted for the "no_..." kinds.
void Flag(int &box, const Element &e, int bare, bool inverted)
{
    if (e.words.isEmpty())
        box = bare;
    else
        box = inverted ? 1 - YesNo(e.words.first()) : YesNo(e.words.first());
}

QString NumberWord(const QString &word)
{
    return NumberText(LeadingNumber(word));
}

void Parser::apply(const Element &e)
{
    JobSettings &j = m_state.job;
    CommandLineValues &cl = m_state.cl;
    const QString &n = e.name;

    if (n == u"auto" || n == u"a") {
        cl.AutoStart = true;
        setDefaults();
    } else if (n == u"multi") {
        j.MultiEnabled = 1;
    } else if (n == u"shutdown" || n == u"s") {
        selectOperation(OperationKind::Shutdown);
    } else if (n == u"reboot" || n == u"r") {
        selectOperation(OperationKind::Reboot);
    } else if (n == u"logoff" || n == u"l") {
        selectOperation(OperationKind::Logoff);
    } else if (n == u"hibernation" || n == u"h" || n == u"hidernation") {
        if (m_hooks.hibernationAllowed && m_hooks.hibernationAllowed())
            selectOperation(OperationKind::Hibernate);
    } else if (n == u"standby" || n == u"b") {
        selectOperation(OperationKind::Sleep);
    } else if (n == u"exec_week") {
        cl.ExecWeekMask = (FirstWord(e) + QStringLiteral("0000000")).left(7);
    } else if (n == u"force" || n == u"f") {
        j.Force = 1;
    } else if (n == u"time" || n == u"t") {
        time(e);
    } else if (n == u"appear" || n == u"disappear") {
        j.MonitorPhrase = Value(e);
        j.MonitorEnabled = 1;
        j.MonitorKind = 0;
        j.PhraseEvent = n == u"appear" ? 0 : 1;
    } else if (n == u"cpu_utl") {
        j.MonitorEnabled = 1;
        j.MonitorKind = 1;
        if (!e.words.isEmpty())
            j.CpuLowerLimit = NumberWord(e.words[0]);
        if (e.words.size() == 2)
            j.CpuAverageSeconds = NumberWord(e.words[1]);
    } else if (n == u"cpu_proc") {
        j.MonitorEnabled = 1;
        j.MonitorKind = 1;
        if (e.words.size() == 1)
            j.CpuProcess = QStringLiteral("? ") + e.words[0];
    } else if (n == u"battery") {
        j.MonitorEnabled = 1;
        j.MonitorKind = 2;
        if (e.words.size() == 1)
            j.IdleSeconds = NumberWord(e.words[0]);
    } else if (n == u"ap") {
        ap(e);
    } else if (n == u"resume") {
        resume(e);
    } else if (n == u"resume_ap") {
        j.AppCommand = e.value;
        cl.ResumeAppCommand = e.value;
    } else if (n == u"resume_ap_psw") {
        cl.HideBeforeSuspend = true;
    } else if (n == u"resume_only") {
        j.ResumeOnly = 1;
    } else if (n == u"resume_week") {
        const QString w = FirstWord(e);
        if (e.words.size() != 1)
            return;
        if (w.size() > 7)
            throw ParameterError{};
        for (int i = 0; i < w.size(); ++i) {
            if (w[i] == QLatin1Char('1'))
                j.setResumeWeekday(i + 1, 1);
            else if (w[i] == QLatin1Char('0'))
                j.setResumeWeekday(i + 1, 0);
        }
    } else if (n == u"resume_list") {
        if (m_hooks.applyWeeklyResumeList)
            m_hooks.applyWeeklyResumeList(m_state);
        // The list gives a clock time: a start must not take the minutes
        // after the action (a setting of the file) in its place.
        if (cl.ResumeTime.isValid())
            j.ResumeAtClock = 1;
    } else if (n == u"resume_nohold") {
        Flag(j.ResumeKeepState, e, 0, true);
    } else if (n == u"resume_recount") {
        const qint64 m = e.words.isEmpty() ? 1 : LeadingInt(e.words[0]);
        if (m > 0x7fffffff)
            throw ParameterError{};
        cl.ResumeRecountMinutes = int(std::max<qint64>(1, m));
    } else if (n == u"nodisp" || n == u"n") {
        cl.NoDisplay = true;
    } else if (n == u"topmost") {
        Flag(j.Topmost, e, 1, false);
    } else if (n == u"monitor_off") {
        Flag(j.ResumeMonitorOn, e, 0, true);
    } else if (n == u"minimize") {
        Flag(j.MinimizeAtStart, e, 1, false);
    } else if (n == u"tasktray") {
        Flag(j.TrayIcon, e, 1, false);
    } else if (n == u"no_beep") {
        Flag(j.CountdownSound, e, 0, true);
    } else if (n == u"ie") {
        Flag(j.IeMonitor, e, 1, false);
    } else if (n == u"capture") {
        Flag(j.CaptureOnExit, e, 1, false);
    } else if (n == u"nodisp_alert") {
        Flag(j.NoAlert, e, 1, false);
    } else if (n == u"popup_time") {
        const qint64 s = LeadingInt(FirstWord(e));
        // The lead time is a 16-bit value; anything beyond it cannot be honoured.
        if (s > 32767 || s < -32768)
            throw ParameterError{};
        cl.PopupLeadSeconds = int(s);
    } else if (n == u"zero_time") {
        const qint64 s = LeadingInt(FirstWord(e));
        if (s > 0x7fffffff || s < -0x7fffffff)
            throw ParameterError{};
        cl.ZeroTimeSeconds = int(s);
    } else {
        throw UnknownParameter(QLatin1Char('-') + n);
    }
}

void Parser::time(const Element &e)
{
    const QString w = FirstWord(e);
    const QStringList parts = w.split(QLatin1Char(':'));
    if (parts.size() == 1) {
        if (!IsNumeric(w))
            throw ParameterError{{{ProgramTitle(), QCoreApplication::translate("CommandLine", "時間が不正です！") + kCrLf + QCoreApplication::translate("CommandLine", "パラメーターエラー")}}};
        m_state.job.DelayMinutes = PadLeft(NumberWord(w), 4);
    } else if (parts.size() == 2) {
        if (!IsNumeric(parts[0]) || !IsNumeric(parts[1]))
            throw ParameterError{
                {{ProgramTitle(), QCoreApplication::translate("CommandLine", "時刻の記述が不正です！") + kCrLf + QCoreApplication::translate("CommandLine", "パラメーターエラー")}}};
        SetTimingMode(m_state.job, 1, m_now);
        m_state.job.ClockHour = NumberWord(parts[0]);
        m_state.job.ClockMinute = NumberWord(parts[1]);
    } else {
        // "8:30:00" is no time the run could keep to the second.
        throw ParameterError{
            {{ProgramTitle(), QCoreApplication::translate("CommandLine", "時刻の記述が不正です！") + kCrLf + QCoreApplication::translate("CommandLine", "パラメーターエラー")}}};
    }
}

void Parser::resume(const Element &e)
{
    const QString v = Value(e);
    JobSettings &j = m_state.job;
    if (!v.contains(QLatin1Char(':'))) {
        j.ResumeAtClock = 0;
        j.ResumeAfterMinutes = PadLeft(NumberWord(v), 3);
        j.ResumeEnabled = 1;
        return;
    }
    j.ResumeAtClock = 1;
    const QStringList parts = v.split(QLatin1Char(':'));
    const qint64 h = LeadingInt(parts.value(0));
    const qint64 m = LeadingInt(parts.value(1));
    if (h < 0 || m < 0 || h > 100000 || m > 100000)
        throw ParameterError{};
    QDateTime at = AtClock(m_now.date(), h, m);
    // Compared with the current moment: a time already passed today means
    // the same wall-clock time tomorrow.
    if (at < m_now)
        at = AtClock(m_now.date().addDays(1), h, m);
    m_state.cl.ResumeTime = at;
}

void Parser::ap(const Element &e)
{
    CommandLineValues &cl = m_state.cl;
    const QString v = Value(e);
    cl.ApPath = CommandPart(v);
    cl.ApParameters = ParameterPart(v);
    const bool ok = m_hooks.launch ? m_hooks.launch(cl.ApPath, cl.ApParameters) : false;
    if (!ok)
        throw ParameterError{{{ProgramTitle(), QCoreApplication::translate("CommandLine", "パラメーターエラー") + kCrLf + QStringLiteral("ap       = ") + cl.ApPath + kCrLf +
                                                   //: Label before the parameters of the program that could not be started.
                                                   QCoreApplication::translate("CommandLine", "パラメータ= ") + cl.ApParameters}}};
}

}  // namespace

QString ProgramTitle()
{
    return QStringLiteral("Zenkoro");
}

ParseResult ParseCommandLine(const QString &argumentText, AppState &state, const QDateTime &now,
                             const ParseHooks &hooks)
{
    ParseResult result;
    const QString text = QLatin1Char(' ') + argumentText.trimmed().toLower();
    const QStringList elements = SplitParameters(text, QStringLiteral(" -"), QStringLiteral("<"), QStringLiteral(">"));
    // Words before the first parameter belong to none: a parameter written
    // without its hyphen.
    const QString leading = elements.value(0).trimmed();
    if (elements.size() < 2 && leading.isEmpty())
        return result;

    result.parsed = true;
    result.caption = CommandLineCaption();
    Parser parser(state, now, hooks, result);
    for (int i = leading.isEmpty() ? 1 : 0; i < elements.size(); ++i) {
        const QString &raw = elements[i];
        try {
            if (i == 0)
                throw UnknownParameter(SplitElement(raw).name);
            parser.apply(SplitElement(raw));
        } catch (const ParameterError &err) {
            result.error = true;
            result.messages = err.messages;
            result.messages.append({ProgramTitle(), QCoreApplication::translate("CommandLine", "パラメータエラー") + kCrLf + raw.trimmed()});
            return result;
        }
    }

    // A clock resume time counts only when its weekday box is ticked.
    const QDateTime &rt = state.cl.ResumeTime;
    if (rt.isValid() && state.job.resumeWeekday(WeekdayNumber(rt.date())) == 1) {
        JobSettings &j = state.job;
        j.ResumeEnabled = 1;
        j.ResumeDateParts = {QString::number(rt.date().year()), QString::number(rt.date().month()),
                             QString::number(rt.date().day()), QString::number(rt.time().hour()),
                             QString::number(rt.time().minute())};
        j.AppCommand = state.cl.ResumeAppCommand;
    }
    return result;
}

QString JoinArguments(const QStringList &arguments)
{
    QStringList parts;
    parts.reserve(arguments.size());
    for (const QString &a : arguments) {
        const bool blank = a.contains(QLatin1Char(' ')) || a.contains(QLatin1Char('\t'));
        if (blank && !a.startsWith(QLatin1Char('<')) && !a.startsWith(QLatin1Char('"')))
            parts << QLatin1Char('"') + a + QLatin1Char('"');
        else
            parts << a;
    }
    return parts.join(QLatin1Char(' '));
}

}  // namespace zk
