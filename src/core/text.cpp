#include "core/text.h"

#include <QLocale>
#include <cfloat>
#include <cmath>
#include <limits>

namespace zk {

QStringView TrimLeadingBlanks(QStringView text)
{
    qsizetype b = 0;
    while (b < text.size() && text[b] == QLatin1Char(' '))
        ++b;
    return text.sliced(b);
}

namespace {

// Length of the number at the start of s from index i; 0 when there is none.
int numberLength(const QString &s, int i)
{
    const int start = i;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        ++i;
    int digits = 0;
    while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        int j = i + 1;
        int frac = 0;
        while (j < s.size() && s[j].isDigit() && s[j].unicode() < 128) {
            ++j;
            ++frac;
        }
        if (frac > 0 || digits > 0) {
            digits += frac;
            i = j;
        }
    }
    return digits > 0 ? i - start : 0;
}

}  // namespace

double LeadingNumber(const QString &text)
{
    int i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const int len = numberLength(text, i);
    if (len == 0)
        return 0.0;
    bool ok = false;
    const double v = text.mid(i, len).toDouble(&ok);
    if (ok)
        return v;
    // Too many digits for a double: the value is beyond every limit, so it
    // stays the largest one of its sign rather than collapsing to 0. Too
    // small a fraction reads as 0.
    if (std::isinf(v))
        return v > 0 ? DBL_MAX : -DBL_MAX;
    return 0.0;
}

qint64 RoundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    // Beyond the integer range the result stays at the end of the range, on
    // the side of the value.
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (value >= kTwoTo63)
        return std::numeric_limits<qint64>::max();
    if (value < -kTwoTo63)
        return std::numeric_limits<qint64>::min();
    const double fl = std::floor(value);
    const double diff = value - fl;
    double r;
    if (diff > 0.5)
        r = fl + 1.0;
    else if (diff < 0.5)
        r = fl;
    else
        r = std::fmod(fl, 2.0) == 0.0 ? fl : fl + 1.0;
    if (r >= kTwoTo63)
        return std::numeric_limits<qint64>::max();
    return static_cast<qint64>(r);
}

qint64 LeadingInt(const QString &text)
{
    return RoundHalfEven(LeadingNumber(text));
}

bool IsNumeric(const QString &text)
{
    const QString t = text.trimmed();
    return !t.isEmpty() && numberLength(t, 0) == t.size();
}

bool StartsWithNumber(const QString &text)
{
    int i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    return numberLength(text, i) > 0;
}

QString NumberText(double value)
{
    if (std::isnan(value) || value == 0.0)
        return QStringLiteral("0");  // also -0, which would read as a separator
    if (std::isinf(value))
        value = value > 0 ? DBL_MAX : -DBL_MAX;
    // Plain digits, never an exponent, with as many digits as it takes for
    // the text to read back as the same value.
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QStringList SplitParameters(const QString &text, const QString &separator, const QString &open,
                            const QString &close)
{
    const QChar marker(1);
    QString built;
    built.reserve(text.size());
    int depth = 0;
    int i = 0;
    while (i < text.size()) {
        if (!open.isEmpty() && QStringView(text).mid(i).startsWith(open)) {
            built += open;
            ++depth;
            i += open.size();
        } else if (!close.isEmpty() && QStringView(text).mid(i).startsWith(close)) {
            built += close;
            --depth;
            i += close.size();
        } else if (!separator.isEmpty() && depth >= 1 && QStringView(text).mid(i).startsWith(separator)) {
            built += marker;
            i += separator.size();
        } else {
            built += text[i];
            ++i;
        }
    }
    QStringList parts = separator.isEmpty() ? QStringList{built} : built.split(separator);
    for (QString &p : parts)
        p.replace(marker, separator);
    return parts;
}

QString CollapseSpaces(const QString &text)
{
    QString out;
    out.reserve(text.size());
    bool inRun = false;
    for (const QChar c : text) {
        if (IsSpace(c)) {
            if (!inRun)
                out += c;
            inRun = true;
        } else {
            out += c;
            inRun = false;
        }
    }
    int b = 0;
    int e = out.size();
    while (b < e && out[b] == QLatin1Char(' '))
        ++b;
    while (e > b && out[e - 1] == QLatin1Char(' '))
        --e;
    return out.mid(b, e - b);
}

QString StripBrackets(const QString &text, const QString &open, const QString &close)
{
    QString t = text.trimmed();
    if (t.size() >= open.size() + close.size() && t.startsWith(open) && t.endsWith(close))
        t = t.mid(open.size(), t.size() - open.size() - close.size());
    return t.trimmed();
}

int YesNo(const QString &value)
{
    return (value == QLatin1String("y") || value == QLatin1String("Y") || value == QLatin1String("yes") ||
            value == QLatin1String("YES"))
               ? 1
               : 0;
}

QString CommandPart(const QString &text)
{
    const QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('"'))) {
        const int q = t.indexOf(QLatin1Char('"'), 1);
        return q < 0 ? t : t.left(q + 1);
    }
    const int sp = t.indexOf(QLatin1Char(' '));
    return sp < 0 ? t : t.left(sp);
}

QString ParameterPart(const QString &text)
{
    const QString t = text.trimmed();
    const int pos = t.startsWith(QLatin1Char('"')) ? t.indexOf(QLatin1Char('"'), 1) : t.indexOf(QLatin1Char(' '));
    return pos < 0 ? QString() : t.mid(pos + 1).trimmed();
}

QString QuoteIfSpaced(const QString &text)
{
    if (!text.startsWith(QLatin1Char('"')) && text.contains(QLatin1Char(' ')))
        return QLatin1Char('"') + text + QLatin1Char('"');
    return text;
}

QString PadLeft(const QString &text, int width)
{
    return text.size() >= width ? text : QString(width - text.size(), QLatin1Char(' ')) + text;
}

}  // namespace zk
