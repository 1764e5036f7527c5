// Any file content: loading never crashes, and what was loaded is saved so
// that loading the saved bytes gives back the same values (load, save, load),
// and saving again gives the same bytes.
#include "settings/defaults.h"
#include "settings/settings_file.h"

#include <QRegularExpression>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace zk;

namespace {

const QString kDesktop = QStringLiteral("/home/u/Desktop");

[[noreturn]] void Fail(const char *what, const QByteArray &first, const QByteArray &second)
{
    std::fprintf(stderr, "property failed: %s\nfirst:  %s\nsecond: %s\n", what,
                 first.toPercentEncoding(" ,=/:[]").constData(), second.toPercentEncoding(" ,=/:[]").constData());
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
    // their outer spaces (the start trims them too).
    first.job.MonitorPhrase.remove(QRegularExpression(QStringLiteral("^ +| +$")));
    first.job.AppCommand.remove(QRegularExpression(QStringLiteral("^ +")));
    const std::pair<const char *, bool> same[] = {
        {"job", first.job == second.job},
        {"multi rows", first.MultiRows == second.MultiRows},
        {"weekly table", first.WeeklyResumeTable == second.WeeklyResumeTable},
        {"history", first.history == second.history},
        {"edit form", first.edit == second.edit},
        {"capture folder", first.CaptureFolder == second.CaptureFolder},
        {"program folder", first.LastProgramFolder == second.LastProgramFolder},
        {"window place", first.WindowLeft == second.WindowLeft && first.WindowTop == second.WindowTop},
    };
    for (const auto &[name, equal] : same)
        if (!equal)
            Fail(name, saved, savedAgain);
    return 0;
}
