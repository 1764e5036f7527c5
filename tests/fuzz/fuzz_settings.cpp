// Any file content: loading never crashes, and what was loaded is saved so
// that loading the saved bytes gives back the same values (load, save, load),
// and saving again gives the same bytes.
#include "settings/defaults.h"
#include "settings/settings_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace zk;

namespace {

const QString kDesktop = QStringLiteral("/home/u/Desktop");

[[noreturn]] void Fail(const char *what, const QByteArray &first, const QByteArray &second)
{
    // Where the two first differ, with the bytes around it percent-encoded.
    qsizetype at = 0;
    while (at < first.size() && at < second.size() && first[at] == second[at])
        ++at;
    const qsizetype from = qMax<qsizetype>(0, at - 40);
    std::fprintf(stderr, "property failed: %s (at byte %lld)\nfirst:  %s\nsecond: %s\n", what, static_cast<long long>(at),
                 first.mid(from, 120).toPercentEncoding(" ,=/:[]").constData(),
                 second.mid(from, 120).toPercentEncoding(" ,=/:[]").constData());
    std::abort();
}

bool Load(const QByteArray &bytes, AppState &state)
{
    SetDefaults(state, QDateTime(QDate(2026, 12, 6), QTime(8, 0, 0)), kDesktop);
    return LoadSettingsBytes(bytes, state, kDesktop, kMultiRowCount).has_value();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    AppState first;
    if (!Load(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), first))
        return 0;
    const QByteArray saved = ComposeSettingsBytes(first, kDesktop);
    AppState second;
    if (!Load(saved, second))
        Fail("saved bytes do not load", saved, QByteArray());
    const QByteArray savedAgain = ComposeSettingsBytes(second, kDesktop);
    if (savedAgain != saved)
        Fail("values change in one save", saved, savedAgain);

    // The file keeps the watched phrase and the application command without
    // their outer blanks (the start trims them too).
    first.job.MonitorPhrase = first.job.MonitorPhrase.trimmed();
    while (first.job.AppCommand.startsWith(QLatin1Char(' ')))
        first.job.AppCommand.remove(0, 1);
    if (!(first.job == second.job) || first.MultiRows != second.MultiRows ||
        first.WeeklyResumeTable != second.WeeklyResumeTable || !(first.history == second.history) ||
        !(first.edit == second.edit) || first.CaptureFolder != second.CaptureFolder ||
        first.LastProgramFolder != second.LastProgramFolder || first.WindowLeft != second.WindowLeft ||
        first.WindowTop != second.WindowTop)
        Fail("loaded values differ after one save", saved, savedAgain);
    return 0;
}
