#include "settings/settings_file.h"

#include "settings/settings_fields.h"

#include "core/crlf.h"
#include "core/job_edit.h"
#include "core/multi_edit.h"
#include "core/text.h"
#include "core/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace zk {

namespace {

// Position of the first CR or LF; -1 when the text has none.
qsizetype FirstBreak(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n'))
            return i;
    return -1;
}

const QString kSeparatorLine = QStringLiteral("#--------");

// Blanks only (the way the file's texts are trimmed), not tabs or line breaks.
QStringView TrimBlanks(QStringView text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b] == QLatin1Char(' '))
        ++b;
    while (e > b && text[e - 1] == QLatin1Char(' '))
        --e;
    return text.sliced(b, e - b);
}

QString TrimBlanks(const QString &text)
{
    return TrimBlanks(QStringView(text)).toString();
}

// A field written without escaping must not shift the fields after it or
// break the line: it is cut at its first comma or CR LF (which also keeps its
// leading-number value). A lone CR or LF is written as it is: the file's
// lines end with CR LF, and a field read from a file can hold one.
QString RawField(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool crLf = c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n');
        if (c == QLatin1Char(',') || crLf)
            return text.left(i);
    }
    return text;
}

// The numeric value of a field as an integer; no value when the number does
// not fit a 32-bit integer (a value no control accepts).
std::optional<int> FieldInt(const QString &text)
{
    const double v = LeadingNumber(text);
    if (!std::isfinite(v) || std::fabs(v) > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return int(RoundHalfEven(v));
}

// Check box: 0 and 1 as they are; 2 (the grayed state of a Windows check
// box) counts as ticked and is held as 1; anything else is rejected.
void ApplyCheck(const QString &text, int &target)
{
    const auto v = FieldInt(text);
    if (!v || *v < 0 || *v > 2)
        return;
    target = *v == 0 ? 0 : 1;
}

// Option group or list index: 0 .. count - 1, else rejected.
void ApplyIndex(const QString &text, int count, int &target)
{
    const auto v = FieldInt(text);
    if (!v || *v < 0 || *v >= count)
        return;
    target = *v;
}

// The lines of a decoded file, one after the other. The file's own line end
// is CR LF; a file with no CR LF at all (edited with a Linux editor) is split
// at LF. The lines are views into the text: a file of millions of lines costs
// no more than the text itself.
class LineReader {
public:
    explicit LineReader(QStringView text)
        : m_text(text), m_end(text.contains(kCrLf) ? QStringView(kCrLf) : QStringView(u"\n"))
    {
    }

    bool next(QStringView &line)
    {
        if (m_pos > m_text.size())
            return false;
        qsizetype end = m_text.indexOf(m_end, m_pos);
        if (end < 0)
            end = m_text.size();
        line = m_text.sliced(m_pos, end - m_pos);
        m_pos = end + m_end.size();
        return true;
    }

private:
    QStringView m_text;
    QStringView m_end;
    qsizetype m_pos = 0;
};

// The value line: its fields 1 .. kSettingsFieldCount (those it has) and the
// number of its commas. Fields beyond kSettingsFieldCount are ignored, so
// they are only counted.
struct ValueLine {
    QStringList fields;  // fields[n - 1] is field n
    int commas = 0;
};

ValueLine SplitValueLine(QStringView line)
{
    ValueLine v;
    qsizetype pos = 0;
    while (v.fields.size() < kSettingsFieldCount) {
        const qsizetype comma = line.indexOf(QLatin1Char(','), pos);
        if (comma < 0)
            break;
        v.fields.append(line.sliced(pos, comma - pos).toString());
        pos = comma + 1;
    }
    v.commas = int(v.fields.size() + line.sliced(pos).count(QLatin1Char(',')));
    return v;
}

// The keyed line of a key as it is written (lower case); nullptr for any other key.
const KeyedField *KeyedFieldOf(const QString &key)
{
    for (const KeyedField &k : KeyedFields())
        if (key == QLatin1StringView(k.key))
            return &k;
    return nullptr;
}

// Reads the keyed lines (every line after the value line).
void ApplyKeyedLines(LineReader &lines, AppState &s)
{
    static const qsizetype longestKey = [] {
        qsizetype n = 0;
        for (const KeyedField &k : KeyedFields())
            n = std::max<qsizetype>(n, qsizetype(std::strlen(k.key)));
        return n;
    }();
    // The AppCommand field 49 gave, before the keyed lines override it.
    const QString fromField = s.job.AppCommand;
    QStringView line;
    while (lines.next(line)) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QStringView keyText = TrimBlanks(line.first(eq));
        if (keyText.size() > longestKey)
            continue;
        const KeyedField *k = KeyedFieldOf(keyText.toString().toLower());
        if (!k)
            continue;
        // Everything after the first "=" is the value, so values holding "="
        // (history entries, colours) come back whole; a line with exactly one
        // "=" reads as it always did.
        const QStringView rawValue = line.sliced(eq + 1);
        const QString value = TrimLeadingBlanks(rawValue).toString();
        switch (k->kind) {
        case KeyedKind::Number:
            if (const auto x = FieldInt(value))
                k->number(s, 0) = *x;
            break;
        case KeyedKind::Text: k->text(s, 0) = UnescapeKeyedValue(rawValue.toString()); break;
        case KeyedKind::FirstLine: {
            // The keyed line carries only the first line of a multi-line
            // command; field 49 then keeps the whole text.
            const qsizetype cut = FirstBreak(fromField);
            if (cut >= 0 && fromField.left(cut) == value)
                k->text(s, 0) = fromField;
            else
                k->text(s, 0) = value;
            break;
        }
        }
    }
}

void ResetActiveColors(AppState &s)
{
    s.ActiveOddColor = s.history.HistoryOddColor;
    s.ActiveColors = s.history.HistoryColors;
}

// Reads the bytes of a settings file: at most kMaxSettingsFileSize + 1, so
// that a larger file is seen as one without reading all of it.
SettingsFileStatus ReadSettingsBytes(const QString &path, QByteArray &bytes)
{
    const QFileInfo info(path);
    if (!info.exists())
        return SettingsFileStatus::Missing;
    // Never open anything but a regular file: opening a FIFO waits for a writer.
    if (!info.isFile())
        return SettingsFileStatus::NotAFile;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return SettingsFileStatus::Unreadable;
    const qint64 limit = kMaxSettingsFileSize + 1;
    bytes.reserve(qsizetype(std::clamp<qint64>(f.size(), 0, limit)));
    char chunk[65536];
    while (bytes.size() < limit) {
        const qint64 n = f.read(chunk, std::min<qint64>(sizeof chunk, limit - bytes.size()));
        if (n < 0)
            return SettingsFileStatus::Unreadable;
        if (n == 0)
            break;
        bytes.append(chunk, qsizetype(n));
    }
    return bytes.isEmpty() ? SettingsFileStatus::Empty : SettingsFileStatus::Read;
}

// The file a path leads to: symbolic links followed, also to a file that is
// not there yet.
QString FinalPath(const QString &path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.filePath();
}

bool MakeFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return true;
    if (info.exists())
        return false;
    const QString parent = info.absolutePath();
    if (parent != info.absoluteFilePath() && !MakeFolder(parent))
        return false;
    QDir dir;
    return dir.mkdir(info.absoluteFilePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace

std::optional<QString> DecodeSettingsBytes(const QByteArray &bytes)
{
    if (bytes.isEmpty() || bytes.size() > kMaxSettingsFileSize || bytes.contains('\0'))
        return std::nullopt;
    {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError()) {
            if (text.startsWith(QChar(0xFEFF)))
                text.remove(0, 1);
            return text;
        }
    }
    // Not UTF-8: a file the Windows program wrote in code page 932.
    for (const char *name : {"windows-31j", "cp932", "Shift_JIS"}) {
        QStringDecoder sjis(name);
        if (!sjis.isValid())
            continue;
        return QString(sjis.decode(bytes));
    }
    return std::nullopt;
}

namespace {

// The stored text of element i of a field row.
QString WriteField(const SettingsField &f, int i, const AppState &state, const QString &desktopDir)
{
    // The references only pick a member; nothing is written through them here.
    AppState &s = const_cast<AppState &>(state);
    if (f.rule == FieldRule::Reserved || f.rule == FieldRule::Cleared)
        return {};
    if (f.level == FieldLevel::Number)
        return QString::number(f.number(s, i));
    QString text = f.text(s, i);
    switch (f.trim) {
    case FieldTrim::None: break;
    case FieldTrim::Blanks: text = TrimBlanks(text); break;
    case FieldTrim::Command:
        // A multi-line command (which comes back from its field, see the
        // keyed line) keeps the blanks at its end, as a one-line command
        // keeps them through the keyed line.
        text = FirstBreak(text) < 0 ? TrimBlanks(text) : TrimLeadingBlanks(text).toString();
        break;
    }
    if (f.rule == FieldRule::FolderOrDesktop) {
        // An empty field stands for the desktop directory: any other folder,
        // even an empty text, is written as something.
        if (text == desktopDir)
            return {};
        if (text.isEmpty())
            return MarkedText(text);
    }
    return f.level == FieldLevel::Escaped ? EscapeText(text) : RawField(text);
}

// Applies field n of the value line.
void ReadField(int n, const QString &v, AppState &s, const QString &desktopDir, int existingRows,
               const QStringList &operationItems)
{
    const FieldAt at = SettingsFieldAt(n);
    if (!at.field)
        return;  // field 310 and beyond
    const SettingsField &f = *at.field;
    const int i = at.element;
    if (f.multiRow && i >= existingRows)
        return;
    if (f.onlyWhenNotEmpty && v.isEmpty())
        return;
    switch (f.rule) {
    case FieldRule::Text: f.text(s, i) = f.level == FieldLevel::Escaped ? UnescapeText(v) : v; break;
    case FieldRule::Check: ApplyCheck(v, f.number(s, i)); break;
    case FieldRule::Index: ApplyIndex(v, f.param, f.number(s, i)); break;
    case FieldRule::Int32:
        if (const auto x = FieldInt(v))
            f.number(s, i) = *x;
        break;
    case FieldRule::NonNegative:
        if (const auto x = FieldInt(v); x && *x >= 0)
            f.number(s, i) = *x;
        break;
    case FieldRule::Operation:
        // Through the operation list's change handling, which clears the
        // resume box on a change; field 40 sets it again.
        if (const auto x = FieldInt(v); x && *x >= 0 && *x < int(kOperationKinds.size()))
            SelectOperation(s, *x);
        break;
    case FieldRule::Padded: {
        const double x = LeadingNumber(v);
        if (std::isfinite(x))
            f.text(s, i) = PadLeft(NumberText(x), f.param);
        break;
    }
    case FieldRule::Floor:
        f.text(s, i) = LeadingNumber(v) < f.param ? QString::number(f.param) : v;
        break;
    case FieldRule::Cleared: f.text(s, i).clear(); break;
    case FieldRule::FolderOrDesktop: f.text(s, i) = v.isEmpty() ? desktopDir : UnescapeText(v); break;
    case FieldRule::RowOperation:
        // The row's list takes only its own items (or nothing selected).
        if (v.isEmpty() || operationItems.contains(v))
            f.text(s, i) = v;
        break;
    case FieldRule::Reserved: break;
    }
}

}  // namespace

QString ComposeSettingsText(const AppState &s, const QString &desktopDir)
{
    QString out;
    for (int n = 1; n <= kSettingsFieldCount; ++n) {
        const FieldAt at = SettingsFieldAt(n);
        if (at.field)
            out += WriteField(*at.field, at.element, s, desktopDir);
        out += QLatin1Char(',');
    }
    out += kCrLf;
    auto section = [&out] {
        out += kCrLf;
        out += kSeparatorLine + kCrLf;
        out += kCrLf;
    };
    // The references only pick a member; nothing is written through them here.
    AppState &m = const_cast<AppState &>(s);
    int inSection = 0;
    for (const KeyedField &k : KeyedFields()) {
        if (k.section != inSection) {
            section();
            inSection = k.section;
        }
        QString value;
        switch (k.kind) {
        case KeyedKind::Number: value = QString::number(k.number(m, 0)); break;
        case KeyedKind::Text: value = EscapeKeyedValue(k.text(m, 0)); break;
        case KeyedKind::FirstLine: {
            // The command up to its first line break; field 49 holds the
            // whole text. Both without leading blanks, which the reader drops
            // from a keyed value.
            const QString app = TrimLeadingBlanks(k.text(m, 0)).toString();
            value = app.left(FirstBreak(app));
            break;
        }
        }
        out += QLatin1StringView(k.key) + QStringLiteral(" = ") + value + kCrLf;
    }
    return out;
}

QByteArray ComposeSettingsBytes(const AppState &state, const QString &desktopDir)
{
    return ComposeSettingsText(state, desktopDir).toUtf8();
}

int ApplySettingsText(const QString &text, AppState &state, const QString &desktopDir, int existingMultiRows)
{
    LineReader lines(text);
    QStringView first;
    lines.next(first);
    const ValueLine v = SplitValueLine(first);
    const QStringList items = MultiRowOperations(true);
    for (int n = 1; n <= v.fields.size(); ++n)
        ReadField(n, v.fields[n - 1], state, desktopDir, existingMultiRows, items);
    ApplyKeyedLines(lines, state);
    ResetActiveColors(state);
    return v.commas;
}

int ApplyMultiRowsText(const QString &text, AppState &state, int existingMultiRows)
{
    LineReader lines(text);
    QStringView first;
    lines.next(first);
    const ValueLine v = SplitValueLine(first);
    const QStringList items = MultiRowOperations(true);
    for (int n = 1; n <= v.fields.size(); ++n) {
        const FieldAt at = SettingsFieldAt(n);
        if (at.field && at.field->multiRow)
            ReadField(n, v.fields[n - 1], state, QString(), existingMultiRows, items);
    }
    return v.commas;
}

std::optional<int> LoadSettingsBytes(const QByteArray &bytes, AppState &state, const QString &desktopDir,
                                     int existingMultiRows)
{
    const auto text = DecodeSettingsBytes(bytes);
    if (!text) {
        ResetActiveColors(state);
        return std::nullopt;
    }
    return ApplySettingsText(*text, state, desktopDir, existingMultiRows);
}

std::optional<int> LoadMultiRowsBytes(const QByteArray &bytes, AppState &state, int existingMultiRows)
{
    const auto text = DecodeSettingsBytes(bytes);
    if (!text)
        return std::nullopt;
    return ApplyMultiRowsText(*text, state, existingMultiRows);
}

int LoadSettings(const QString &path, AppState &state, const QString &desktopDir, int existingMultiRows,
                 SettingsFileStatus *status)
{
    QByteArray bytes;
    SettingsFileStatus found = ReadSettingsBytes(path, bytes);
    std::optional<int> commas;
    if (found == SettingsFileStatus::Read) {
        commas = LoadSettingsBytes(bytes, state, desktopDir, existingMultiRows);
        if (!commas)
            found = SettingsFileStatus::Unreadable;
    } else {
        ResetActiveColors(state);
    }
    if (status)
        *status = found;
    return commas.value_or(0);
}

int LoadMultiRows(const QString &path, AppState &state, int existingMultiRows)
{
    QByteArray bytes;
    if (ReadSettingsBytes(path, bytes) != SettingsFileStatus::Read)
        return 0;
    return LoadMultiRowsBytes(bytes, state, existingMultiRows).value_or(0);
}

bool SaveSettings(const QString &path, const AppState &state, const QString &desktopDir)
{
    if (path.isEmpty())
        return false;
    const QString target = FinalPath(path);
    const QFileInfo info(target);
    // A directory, FIFO, device or socket is never replaced by a file.
    if (info.exists() && !info.isFile())
        return false;
    if (!MakeFolder(info.absolutePath()))
        return false;
    // The file holds commands the program runs: a new one is for its owner only.
    const bool existed = info.exists();
    return WriteWholeFile(target, ComposeSettingsBytes(state, desktopDir), [existed](QFile::Permissions own) {
        return existed ? own : (QFile::ReadOwner | QFile::WriteOwner);
    });
}

QString KeepUnreadableAside(const QString &path, const QDateTime &now)
{
    const QString target = FinalPath(path);
    if (!QFileInfo(target).isFile())
        return {};
    const QString base = target + QStringLiteral(".unreadable-") + now.toString(QStringLiteral("yyyyMMdd-hhmmss"));
    for (int i = 1; i <= 100; ++i) {
        const QString aside = i == 1 ? base : base + QLatin1Char('-') + QString::number(i);
        const QFileInfo taken(aside);
        if (taken.exists() || taken.isSymLink())
            continue;
        if (QFile::rename(target, aside) || QFile::copy(target, aside))
            return aside;
        return {};
    }
    return {};
}

QString SettingsFilePath(const QString &confOption, const QString &exeDir, const QString &xdgConfigHome,
                         const QString &home, const std::function<bool(const QString &)> &fileExists)
{
    static const QString kFileName = QStringLiteral("Conf.txt");
    if (!confOption.isEmpty())
        return confOption;
    if (!exeDir.isEmpty()) {
        const QString beside = QDir(exeDir).filePath(kFileName);
        if (fileExists && fileExists(beside))
            return beside;
    }
    // XDG: a relative value is invalid and ignored.
    const QString base = (!xdgConfigHome.isEmpty() && QDir::isAbsolutePath(xdgConfigHome))
                             ? xdgConfigHome
                             : QDir(home).filePath(QStringLiteral(".config"));
    return QDir(QDir(base).filePath(QStringLiteral("zenkoro"))).filePath(kFileName);
}

}  // namespace zk
