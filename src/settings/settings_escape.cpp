// The escaping of texts in the settings file: commas, line breaks and the
// marked percent form for texts the plain escapes cannot carry.
#include "settings/settings_file.h"

#include "core/text.h"

#include <QList>
#include <algorithm>
#include <array>

namespace zk {

namespace {

const QString kComma = QStringLiteral("[comma]");
const QString kCommaHolder = QStringLiteral("%JUGEMU_JUGEMU_GOKO_NO_comma%");
// Leads a stored text written with percent escapes (see EscapeText).
const QString kPercentMark = QStringLiteral("%JUGEMU_JUGEMU_GOKO_NO_pct%");

// Line-level tokens: the written marker, the placeholder a literal marker
// becomes, and the line break the marker stands for.
struct LineToken {
    QString marker;
    QString holder;
    QString lineBreak;
};

const std::array<LineToken, 3> &LineTokens()
{
    static const std::array<LineToken, 3> tokens{{
        {QStringLiteral("[Cr]"), QStringLiteral("%JUGEMU_JUGEMU_GOKO_NO_Cr%"), QStringLiteral("\r\n")},
        {QStringLiteral("[Lf]"), QStringLiteral("%JUGEMU_JUGEMU_GOKO_NO_Lf%"), QStringLiteral("\n")},
        {QStringLiteral("[CrOnly]"), QStringLiteral("%JUGEMU_JUGEMU_GOKO_NO_CrOnly%"), QStringLiteral("\r")},
    }};
    return tokens;
}

// Walks the text once; at each position the first rule whose text starts
// there is replaced, so a replacement is never looked at again.
using ReplaceRule = std::pair<QString, QString>;

}  // namespace

QString EscapeCommaLevel(const QString &text)
{
    QString t = text;
    t.replace(kComma, kCommaHolder);
    t.replace(QLatin1Char(','), kComma);
    return t;
}

QString UnescapeCommaLevel(const QString &text)
{
    QString t = text;
    t.replace(kComma, QStringLiteral(","));
    t.replace(kCommaHolder, kComma);
    return t;
}

namespace {

QString ReplaceInOnePass(const QString &text, const QList<ReplaceRule> &rules)
{
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const QStringView rest = QStringView(text).mid(i);
        const auto rule = std::find_if(rules.begin(), rules.end(),
                                       [&](const ReplaceRule &r) { return rest.startsWith(r.first); });
        if (rule == rules.end()) {
            out += text[i++];
        } else {
            out += rule->second;
            i += rule->first.size();
        }
    }
    return out;
}

}  // namespace

QString EscapeLineLevel(const QString &text)
{
    // A literal marker becomes its placeholder, a line break its marker
    // (CR LF before a lone CR).
    static const QList<ReplaceRule> rules = [] {
        QList<ReplaceRule> r;
        for (const LineToken &t : LineTokens())
            r.append({t.marker, t.holder});
        for (const LineToken &t : LineTokens())
            r.append({t.lineBreak, t.marker});
        return r;
    }();
    return ReplaceInOnePass(text, rules);
}

QString UnescapeLineLevel(const QString &text)
{
    static const QList<ReplaceRule> rules = [] {
        QList<ReplaceRule> r;
        for (const LineToken &t : LineTokens()) {
            r.append({t.marker, t.lineBreak});
            r.append({t.holder, t.marker});
        }
        return r;
    }();
    return ReplaceInOnePass(text, rules);
}

QStringList EscapePlaceholders()
{
    QStringList holders{kCommaHolder};
    for (const LineToken &t : LineTokens())
        holders << t.holder;
    return holders;
}

namespace {

// The marked form's body: "%", ",", CR and LF as percent escapes, nothing else.
QString PercentEncode(const QString &text)
{
    static const QList<ReplaceRule> rules{{QStringLiteral("%"), QStringLiteral("%25")},
                                          {QStringLiteral(","), QStringLiteral("%2C")},
                                          {QStringLiteral("\r"), QStringLiteral("%0D")},
                                          {QStringLiteral("\n"), QStringLiteral("%0A")}};
    return ReplaceInOnePass(text, rules);
}

// Only the four escapes the writer makes are read as such; any other "%"
// stands for itself.
QString PercentDecode(const QString &text)
{
    static const QList<ReplaceRule> rules{{QStringLiteral("%25"), QStringLiteral("%")},
                                          {QStringLiteral("%2C"), QStringLiteral(",")},
                                          {QStringLiteral("%0D"), QStringLiteral("\r")},
                                          {QStringLiteral("%0A"), QStringLiteral("\n")}};
    return ReplaceInOnePass(text, rules);
}

QString UnescapeValueLineText(const QString &text)
{
    return UnescapeLineLevel(UnescapeCommaLevel(text));
}

QString UnescapeKeyedText(QStringView value)
{
    return UnescapeLineLevel(TrimLeadingBlanks(value).toString());
}

}  // namespace

QString MarkedText(const QString &text)
{
    return kPercentMark + PercentEncode(text);
}

QString EscapeText(const QString &text)
{
    const QString escaped = EscapeLineLevel(EscapeCommaLevel(text));
    if (!escaped.startsWith(kPercentMark) && UnescapeValueLineText(escaped) == text)
        return escaped;
    return MarkedText(text);
}

QString UnescapeText(const QString &text)
{
    if (text.startsWith(kPercentMark))
        return PercentDecode(text.mid(kPercentMark.size()));
    return UnescapeValueLineText(text);
}

QString EscapeKeyedValue(const QString &text)
{
    const QString escaped = EscapeLineLevel(text);
    if (!TrimLeadingBlanks(escaped).startsWith(kPercentMark) && UnescapeKeyedText(escaped) == text)
        return escaped;
    return MarkedText(text);
}

QString UnescapeKeyedValue(const QString &value)
{
    const QStringView v = TrimLeadingBlanks(value);
    if (v.startsWith(kPercentMark))
        return PercentDecode(v.sliced(kPercentMark.size()).toString());
    return UnescapeKeyedText(v);
}

}  // namespace zk
