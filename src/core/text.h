// Text helpers shared by the parser, the settings file and the generator.
#pragma once

#include <QString>
#include <QStringList>

namespace zk {

// The longest leading number of a text (leading blanks skipped); 0 when the
// text does not start with a number. A number too large for a double reads
// as the largest double of its sign, never as 0.
double LeadingNumber(const QString &text);
// Half-to-even rounding of a real number to an integer; values beyond the
// 64-bit range give its largest or smallest value.
qint64 RoundHalfEven(double value);
// LeadingNumber rounded half to even.
qint64 LeadingInt(const QString &text);
// True when the whole (trimmed) text is a number.
bool IsNumeric(const QString &text);
// True when the text starts with a number (after leading blanks), that is when
// LeadingNumber reads a number from it rather than the 0 of no number.
bool StartsWithNumber(const QString &text);
// A number as the program writes it into a box: plain decimal digits, never
// an exponent ("10", "1.5", "1000000000000000"), that LeadingNumber reads
// back as the same value. -0 is written "0".
QString NumberText(double value);

// Splits at every separator that stands outside open/close brackets (which nest).
QStringList SplitParameters(const QString &text, const QString &separator, const QString &open,
                            const QString &close);
// Every run of half- or full-width spaces reduced to its first space; trimmed of half-width spaces.
QString CollapseSpaces(const QString &text);
// The text without its leading blanks (spaces only, not tabs or line breaks).
QStringView TrimLeadingBlanks(QStringView text);

// Trimmed text without one enclosing open/close pair, trimmed again.
QString StripBrackets(const QString &text, const QString &open, const QString &close);
// 1 for "y", "Y", "yes", "YES"; 0 for anything else.
int YesNo(const QString &value);
// Program part of an application command: a quoted part with its quotes, or the first word.
QString CommandPart(const QString &text);
// Parameter part of an application command: the trimmed rest after the program part.
QString ParameterPart(const QString &text);
// Encloses text in double quotes when it holds a space and does not start with one.
QString QuoteIfSpaced(const QString &text);
// Right-aligns text in width characters with leading spaces; longer texts stay as they are.
QString PadLeft(const QString &text, int width);

// Half- and full-width spaces.
inline bool IsSpace(QChar c) { return c == QLatin1Char(' ') || c == QChar(0x3000); }

}  // namespace zk
