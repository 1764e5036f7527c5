// Any file content: loading never crashes, and what was loaded is saved so
// that loading the saved text gives back the same values (load, save, load).
#include "settings/defaults.h"
#include "settings/settings_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace zk;

namespace {

const QString kDesktop = QStringLiteral("/home/u/Desktop");

void Fail(const char *what, const QString &first, const QString &second)
{
    std::fprintf(stderr, "property failed: %s\nfirst:  %s\nsecond: %s\n", what, qPrintable(first), qPrintable(second));
    std::abort();
}

void Load(const QString &text, AppState &state)
{
    SetDefaults(state, QDateTime(QDate(2026, 12, 6), QTime(8, 0, 0)), kDesktop);
    ApplySettingsText(text, state, kDesktop, kMultiRowCount);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<QString> text = DecodeSettingsBytes(bytes);
    if (!text)
        return 0;
    AppState first;
    Load(*text, first);
    const QString saved = ComposeSettingsText(first, kDesktop);

    const std::optional<QString> again = DecodeSettingsBytes(saved.toUtf8());
    if (!again)
        Fail("saved text does not load", saved, QString());
    AppState second;
    Load(*again, second);
    const QString savedAgain = ComposeSettingsText(second, kDesktop);
    if (savedAgain != saved)
        Fail("values change in one save", saved, savedAgain);
    if (!(first.job == second.job) || first.MultiRows != second.MultiRows ||
        first.WeeklyResumeTable != second.WeeklyResumeTable || !(first.history == second.history) ||
        !(first.edit == second.edit) || first.CaptureFolder != second.CaptureFolder ||
        first.LastProgramFolder != second.LastProgramFolder || first.WindowLeft != second.WindowLeft ||
        first.WindowTop != second.WindowTop)
        Fail("loaded values differ after one save", saved, savedAgain);
    return 0;
}
