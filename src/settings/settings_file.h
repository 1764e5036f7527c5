// The settings file Conf.txt: one positional line of 310 comma-separated
// fields, then two keyed sections (history list, command input form).
#pragma once

#include "core/job.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace zk {

inline constexpr int kSettingsFieldCount = 310;

// Line breaks inside stored texts. CR LF is "[Cr]" as the Windows program
// wrote it; a lone LF (the usual line break on Linux) and a lone CR get their
// own markers so that no line break ever reaches the file raw.
QString EscapeCommaLevel(const QString &text);
QString UnescapeCommaLevel(const QString &text);
QString EscapeLineLevel(const QString &text);
QString UnescapeLineLevel(const QString &text);
// The placeholders a literal "[comma]", "[Cr]", "[Lf]" or "[CrOnly]" is
// stored as ("%JUGEMU_JUGEMU_GOKO_NO_comma%", ...).
QStringList EscapePlaceholders();
// Both levels: comma level then line level on writing, the reverse on reading.
QString EscapeText(const QString &text);
QString UnescapeText(const QString &text);

// Items of a multi row's operation list for a platform version.
QStringList MultiRowOperationItems(const PlatformVersion &v);

// Decodes the bytes of a settings file: UTF-8 (a BOM is skipped) or, when the
// bytes are not valid UTF-8, code page 932 (Shift-JIS as Windows writes it;
// bytes that fit neither become U+FFFD).
// No value for empty content or content with NUL bytes (treated as no file).
std::optional<QString> DecodeSettingsBytes(const QByteArray &bytes);

// The whole file text as SaveSettings writes it (CR LF line ends).
QString ComposeSettingsText(const AppState &state, const QString &desktopDir);

// Applies a decoded file text the way LoadSettings does. Fields 110 to 309 go
// to the first `existingMultiRows` multi rows only. Returns the number of
// commas in the value line.
int ApplySettingsText(const QString &text, AppState &state, const QString &desktopDir,
                      int existingMultiRows = 1);
// Applies only the multi rows (fields 110 to 309) of a decoded file text.
int ApplyMultiRowsText(const QString &text, AppState &state, int existingMultiRows = kMultiRowCount);

// Reads the file into the state. 0 when the file is missing, empty,
// unreadable or binary (then only ActiveOddColor/ActiveColors are reset from
// the stored colours); else the number of commas of the value line (310 for a
// complete file). At start-up only multi row 0 exists.
int LoadSettings(const QString &path, AppState &state, const QString &desktopDir,
                 int existingMultiRows = 1);
// Reads the value line again and fills only the multi rows; same result rule.
int LoadMultiRows(const QString &path, AppState &state, int existingMultiRows = kMultiRowCount);
// Writes the whole file through a temporary file renamed over the old one.
// A new file is created 0600 (its missing folders 0700); an existing file
// keeps its permissions. False when any step failed; the old file is then
// left as it was.
bool SaveSettings(const QString &path, const AppState &state, const QString &desktopDir);

// Where the settings file lives: the --conf value when given; else Conf.txt
// beside the executable when that file exists; else
// $XDG_CONFIG_HOME/zenkoro/Conf.txt, where an empty or relative
// XDG_CONFIG_HOME means ~/.config.
QString SettingsFilePath(const QString &confOption, const QString &exeDir, const QString &xdgConfigHome,
                         const QString &home, const std::function<bool(const QString &)> &fileExists);

}  // namespace zk
