// Any argument text: the parser never crashes, never keeps a number in a form
// that reads back as another number, and a run it arms never starts earlier
// than the delay written on the command line, nor beyond the 14400-minute limit.
#include "core/command_line.h"
#include "run/run_plan.h"
#include "settings/defaults.h"

#include <QRegularExpression>
#include <cstdint>
#include <cstdlib>
#include <cstdio>

using namespace zk;

namespace {

const QDateTime kNow(QDate(2026, 12, 6), QTime(8, 0, 0));

// Whether the decimal text (after leading blanks) is a number above 14400,
// decided on the digits alone, without any floating-point conversion.
bool AboveLimit(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*0*(\\d*)"));
    const QString digits = number.match(text).captured(1);
    if (digits.size() != 5)
        return digits.size() > 5;
    return digits > QStringLiteral("14400") ||
           (digits == QStringLiteral("14400") && QRegularExpression(QStringLiteral("^\\s*\\d+\\.0*[1-9]")).match(text).hasMatch());
}

void Fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "property failed: %s: %s\n", what, qPrintable(detail));
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 4096)
        return 0;
    const QString args = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    AppState state;
    SetDefaults(state, kNow, QStringLiteral("/home/u/Desktop"));
    ParseHooks hooks;
    hooks.setDefaults = [](AppState &s) { SetDefaults(s, kNow, QStringLiteral("/home/u/Desktop")); };
    hooks.launch = [](const QString &, const QString &) { return true; };
    hooks.hibernationAllowed = [] { return true; };
    const ParseResult result = ParseCommandLine(args, state, kNow, hooks);
    if (result.error)
        return 0;

    // Numbers held as text stay plain decimal text.
    static const QRegularExpression notPlain(QStringLiteral("[eE][+-]?\\d|inf|nan"));
    for (const QString &value : {state.job.DelayMinutes, state.job.ResumeAfterMinutes})
        if (notPlain.match(value).hasMatch())
            Fail("number kept in exponent form", value);

    StartEnvironment env;
    env.fileExists = [](const QString &) { return true; };
    const RunPlan plan = PlanStart(state, kNow, env);
    const bool delayRun = state.job.TimingMode == 0 && !state.job.MonitorEnabled && plan.targetTime.isValid();
    if (plan.outcome == PlanOutcome::Start && delayRun) {
        if (AboveLimit(state.job.DelayMinutes))
            Fail("delay above 14400 minutes starts", state.job.DelayMinutes);
        static const QRegularExpression whole(QStringLiteral("^\\s*(\\d+)"));
        const int minutes = whole.match(state.job.DelayMinutes).captured(1).toInt();
        if (plan.targetTime < kNow.addSecs(qMax(0, minutes - 1) * 60) || plan.targetTime > kNow.addSecs(14400 * 60 + 60))
            Fail("target time outside the delay that was asked for", state.job.DelayMinutes + QStringLiteral(" -> ") +
                                                                  plan.targetTime.toString(Qt::ISODate));
    }
    return 0;
}
