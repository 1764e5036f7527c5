// The settings file Conf.txt: one positional line of 310 comma-separated
// fields, then two keyed sections (history list, command input form).
#pragma once

#include "core/job.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace zk {

inline constexpr int kSettingsFieldCount = 310;

// A settings file larger than this is not one (16 MiB).
inline constexpr qsizetype kMaxSettingsFileSize = 16 * 1024 * 1024;

// Escaping of stored texts. The comma level and the line level are the
// forms every settings file has used: "," is "[comma]" and CR LF is "[Cr]",
// with "%JUGEMU_JUGEMU_GOKO_NO_comma%" and "%JUGEMU_JUGEMU_GOKO_NO_Cr%" for
// those markers typed literally; a lone LF is "[Lf]" and a lone CR
// "[CrOnly]" (placeholders "%JUGEMU_JUGEMU_GOKO_NO_Lf%" and
// "%JUGEMU_JUGEMU_GOKO_NO_CrOnly%"), so that no line break reaches the file
// raw. These forms cannot carry a placeholder typed literally.
QString EscapeCommaLevel(const QString &text);
QString UnescapeCommaLevel(const QString &text);
QString EscapeLineLevel(const QString &text);
QString UnescapeLineLevel(const QString &text);
// The placeholders a literal "[comma]", "[Cr]", "[Lf]" or "[CrOnly]" is
// stored as ("%JUGEMU_JUGEMU_GOKO_NO_comma%", ...).
QStringList EscapePlaceholders();

// A stored text of the value line. Written in the forms above (comma level
// then line level) whenever they give the text back; a text they would change
// (a placeholder typed literally) is written instead as
// "%JUGEMU_JUGEMU_GOKO_NO_pct%" followed by the text with "%", ",", CR and LF
// as "%25", "%2C", "%0D" and "%0A". Reading undoes either form; a text without
// that leading marker reads exactly as it always did.
QString EscapeText(const QString &text);
QString UnescapeText(const QString &text);
// Always the marked form (an empty folder field is written so, to tell it
// from the desktop folder an empty field stands for).
QString MarkedText(const QString &text);
// The same for the value of a keyed line, which has only the line level and
// loses its leading blanks on reading: a text with leading blanks is written
// in the marked form too.
QString EscapeKeyedValue(const QString &text);
QString UnescapeKeyedValue(const QString &value);  // value: everything after the "="

// Decodes the bytes of a settings file: UTF-8 (a BOM is skipped) or, when the
// bytes are not valid UTF-8, code page 932 (Shift-JIS as Windows writes it).
// A byte that is no code page 932 character becomes U+001A (the code page's
// substitute character), a two-byte code it leaves unassigned U+FFFD, and a
// lead byte at the very end is dropped: each costs its own character only.
// No value for empty content, content with NUL bytes or content over
// kMaxSettingsFileSize (none of them is a settings file).
std::optional<QString> DecodeSettingsBytes(const QByteArray &bytes);

// The whole file text as SaveSettings writes it (CR LF line ends).
QString ComposeSettingsText(const AppState &state, const QString &desktopDir);
// The same as the bytes SaveSettings writes (UTF-8), without touching a file.
QByteArray ComposeSettingsBytes(const AppState &state, const QString &desktopDir);

// Applies a decoded file text the way LoadSettings does. Fields 110 to 309 go
// to the first `existingMultiRows` multi rows only. Returns the number of
// commas in the value line.
int ApplySettingsText(const QString &text, AppState &state, const QString &desktopDir,
                      int existingMultiRows = 1);
// Applies only the multi rows (fields 110 to 309) of a decoded file text.
int ApplyMultiRowsText(const QString &text, AppState &state, int existingMultiRows = kMultiRowCount);

// LoadSettings and LoadMultiRows on the bytes of a file, without touching a
// file. No value when the bytes are no settings text (DecodeSettingsBytes);
// then LoadSettingsBytes only resets ActiveOddColor/ActiveColors from the
// stored colours, as for a missing file.
std::optional<int> LoadSettingsBytes(const QByteArray &bytes, AppState &state, const QString &desktopDir,
                                     int existingMultiRows = 1);
std::optional<int> LoadMultiRowsBytes(const QByteArray &bytes, AppState &state,
                                      int existingMultiRows = kMultiRowCount);

// What the loader found at the settings path.
enum class SettingsFileStatus {
    Missing,     // nothing there
    NotAFile,    // a directory, FIFO, device or socket: not read
    Empty,       // a file without content
    Unreadable,  // a file that could not be read, or is no settings text
                 // (NUL bytes, over kMaxSettingsFileSize)
    Read,
};

// Reads the file into the state. 0 when it is missing, not a regular file,
// empty, unreadable or binary (then only ActiveOddColor/ActiveColors are reset
// from the stored colours); else the number of commas of the value line (310
// for a complete file). At start-up only multi row 0 exists. `status`, when
// given, receives what was found.
int LoadSettings(const QString &path, AppState &state, const QString &desktopDir, int existingMultiRows = 1,
                 SettingsFileStatus *status = nullptr);
// Reads the value line again and fills only the multi rows; same result rule.
int LoadMultiRows(const QString &path, AppState &state, int existingMultiRows = kMultiRowCount);
// Writes the whole file through a temporary file renamed over the old one.
// A symbolic link stays: the file it leads to is written. Only a regular
// file or a new path is written; a directory, FIFO, device or socket is left
// alone (false). A new file is created 0600 (its missing folders 0700); an
// existing file keeps its permissions. False when any step failed; the old
// file is then left as it was.
bool SaveSettings(const QString &path, const AppState &state, const QString &desktopDir);

// Moves a settings file that the loader could not read out of the way of a
// save: renamed to <file name>.unreadable-<yyyyMMdd-hhmmss> (of `now`) in its
// folder, or copied there when it cannot be renamed; "-2", "-3" ... follow
// when that name is taken. A symbolic link stays and the file it leads to is
// moved. Returns the new path; empty when nothing is there to keep or the file
// could be neither renamed nor copied.
QString KeepUnreadableAside(const QString &path, const QDateTime &now);

// Where the settings file lives: the --conf value when given; else Conf.txt
// beside the executable when that file exists; else
// $XDG_CONFIG_HOME/zenkoro/Conf.txt, where an empty or relative
// XDG_CONFIG_HOME means ~/.config.
QString SettingsFilePath(const QString &confOption, const QString &exeDir, const QString &xdgConfigHome,
                         const QString &home, const std::function<bool(const QString &)> &fileExists);

}  // namespace zk
