// Generate a command line from any settings, parse it back: the parsed run is
// the same run, or no line was generated. A line that runs something else
// (another operation, another delay, options taken into a phrase) is a failure.
#include "core/command_line.h"
#include "core/command_line_generator.h"
#include "settings/defaults.h"
#include "support/same_run.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace zk;

namespace {

const QDateTime kNow(QDate(2026, 12, 6), QTime(8, 0, 0));
const QString kDesktop = QStringLiteral("/home/u/Desktop");

// Short texts built mostly from the characters the grammar gives meaning to.
QString Text(FuzzedDataProvider &in)
{
    static const char16_t kAlphabet[] = u" -<>\"'?,.0123456789aAtime　\r\n\t:/\\e+";
    const size_t n = in.ConsumeIntegralInRange<size_t>(0, 24);
    QString s;
    for (size_t i = 0; i < n; ++i) {
        if (in.ConsumeBool())
            s += QChar(kAlphabet[in.ConsumeIntegralInRange<size_t>(0, std::size(kAlphabet) - 2)]);
        else
            s += QChar(char16_t(in.ConsumeIntegralInRange<uint16_t>(0x20, 0x7e)));
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    AppState s;
    SetDefaults(s, kNow, kDesktop);
    JobSettings &j = s.job;
    j.Operation = in.ConsumeIntegralInRange<int>(0, int(kOperationKinds.size()) - 1);
    j.MonitorKind = in.ConsumeIntegralInRange<int>(0, 2);
    using J = JobSettings;
    for (int J::*f : {&J::TimingMode, &J::Force, &J::MonitorEnabled, &J::PhraseEvent, &J::ResumeEnabled,
                      &J::ResumeAtClock, &J::LaunchApp, &J::NoAlert, &J::TrayIcon, &J::CaptureOnExit, &J::ResumeOnly})
        j.*f = in.ConsumeIntegralInRange<int>(0, 1);
    for (QString J::*text : {&J::DelayMinutes, &J::ClockHour, &J::ClockMinute, &J::MonitorPhrase, &J::CpuLowerLimit,
                             &J::CpuAverageSeconds, &J::CpuProcess, &J::IdleSeconds, &J::ResumeAfterMinutes,
                             &J::AppCommand})
        j.*text = Text(in);
    j.ResumeDateParts = {QStringLiteral("2026"), QStringLiteral("12"), QStringLiteral("7"), Text(in), Text(in)};

    QString error;
    const QString line = BuildCommandLine(s, &error);
    if (line.isEmpty()) {
        if (error.isEmpty()) {
            std::fprintf(stderr, "property failed: no line and no reason\n");
            std::abort();
        }
        return 0;
    }
    AppState parsed = s;  // the same settings file, a new process
    parsed.cl = CommandLineValues();
    ParseHooks hooks;
    hooks.setDefaults = [](AppState &st) { SetDefaults(st, kNow, kDesktop); };
    hooks.launch = [](const QString &, const QString &) { return true; };
    hooks.hibernationAllowed = [] { return true; };
    const ParseResult result = ParseCommandLine(line, parsed, kNow, hooks);
    QString why;
    if (result.error || !zktest::SameRun(s, parsed, &why)) {
        std::fprintf(stderr, "property failed: %s\nline: %s\n", qPrintable(result.error ? QStringLiteral("parse error") : why),
                     qPrintable(line));
        std::abort();
    }
    return 0;
}
