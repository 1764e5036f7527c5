// The fields of the settings file's value line, as one table: where each
// field sits, which member it holds, how it is written and how it is read
// back, and the key --explain shows it under. The reader, the writer and
// --explain all run from this table.
#pragma once

#include "core/job.h"

#include <QJsonObject>
#include <QString>
#include <span>

namespace zk {

// How a field's text is stored.
enum class FieldLevel {
    Number,   // an integer member, written as its decimal number
    Raw,      // a text written as it is, cut at its first comma or CR LF
    Escaped,  // a text written with EscapeText, read with UnescapeText
};

// How a stored value is restored; a value the rule rejects leaves the member as it was.
enum class FieldRule {
    Text,             // the text as it is
    Check,            // check box: 0 and 1, 2 (grayed) held as 1, else rejected
    Index,            // option group or list index 0 .. param - 1
    Int32,            // any number that fits 32 bits
    NonNegative,      // a number that fits 32 bits and is >= 0
    Operation,        // index into the operation list, applied through its change handling
    Padded,           // the number, padded on the left to width param
    Floor,            // the text, or the number param when its value is below param
    Cleared,          // not stored: written empty, reading clears the member
    FolderOrDesktop,  // empty stands for the desktop folder
    RowOperation,     // an item of the multi row's operation list, or empty
    Reserved,         // no member: written empty, ignored on reading
};

// What a text is trimmed to before it is written.
enum class FieldTrim {
    None,
    Blanks,   // leading and trailing blanks
    Command,  // a one-line text: both ends; a multi-line text: only the start
};

// Which --explain object shows a field.
enum ExplainIn : unsigned char {
    ExplainNowhere = 0,
    ExplainInState = 1,  // ExplainState (the job settings)
    ExplainInFile = 2,   // ExplainSettingsFile
};

using FieldNumberRef = int &(*)(AppState &, int element);
using FieldTextRef = QString &(*)(AppState &, int element);

// One row: `count` fields at positions first, first + stride, ...; element i
// (0-based) of a repeated row is the member the reference gives for i.
struct SettingsField {
    int first = 0;
    int count = 1;
    int stride = 1;
    FieldNumberRef number = nullptr;  // set for FieldLevel::Number
    FieldTextRef text = nullptr;      // set for the text levels
    FieldLevel level = FieldLevel::Raw;
    FieldRule rule = FieldRule::Text;
    int param = 0;
    bool onlyWhenNotEmpty = false;  // an empty field leaves the member as it was
    FieldTrim trim = FieldTrim::None;
    bool multiRow = false;  // element i is multi row i (only existing rows are read)
    const char *explainKey = nullptr;
    const char *explainGroup = nullptr;  // repeated rows: array of objects under this key
    unsigned char explainIn = ExplainNowhere;

    constexpr int position(int element) const { return first + element * stride; }

    constexpr SettingsField times(int n, int step) const
    {
        SettingsField f = *this;
        f.count = n;
        f.stride = step;
        return f;
    }
    constexpr SettingsField shown(const char *key, unsigned char in) const
    {
        SettingsField f = *this;
        f.explainKey = key;
        f.explainIn = in;
        return f;
    }
    constexpr SettingsField grouped(const char *group) const
    {
        SettingsField f = *this;
        f.explainGroup = group;
        return f;
    }
    constexpr SettingsField whenNotEmpty() const
    {
        SettingsField f = *this;
        f.onlyWhenNotEmpty = true;
        return f;
    }
    constexpr SettingsField trimmed(FieldTrim t) const
    {
        SettingsField f = *this;
        f.trim = t;
        return f;
    }
    constexpr SettingsField ofMultiRow() const
    {
        SettingsField f = *this;
        f.multiRow = true;
        return f;
    }
};

// Every row of the value line; together they cover positions 1 ..
// kSettingsFieldCount, each once.
std::span<const SettingsField> SettingsFields();

// The row and element at a position; nullptr when no row has it.
struct FieldAt {
    const SettingsField *field = nullptr;
    int element = 0;
};
FieldAt SettingsFieldAt(int position);

// The keyed lines after the value line, in the order they are written;
// `section` starts a new section (after a separator line) when it changes.
enum class KeyedKind {
    Number,     // an integer member as its decimal number
    Text,       // a text with EscapeKeyedValue / UnescapeKeyedValue
    FirstLine,  // the application command up to its first line break (see field 49)
};

struct KeyedField {
    const char *key = nullptr;  // lower case; matched without regard to case
    int section = 1;
    KeyedKind kind = KeyedKind::Text;
    FieldNumberRef number = nullptr;  // set for KeyedKind::Number
    FieldTextRef text = nullptr;      // set for the text kinds
    const char *explainKey = nullptr;  // shown by ExplainSettingsFile
};

std::span<const KeyedField> KeyedFields();

// The values of the rows shown in `in`, under their --explain keys: a
// single field as its value, a repeated one as an array, a grouped one as an
// array of objects. Texts are strings, numbers integers. ExplainInFile
// also takes the keyed lines that have an --explain key.
QJsonObject ExplainSettingsFields(const AppState &state, unsigned char in);

}  // namespace zk
