#include "monitors/phrase_match.h"

#include "core/crlf.h"
#include "core/text.h"

#include <algorithm>

namespace zk {

namespace {

// Marks for characters taken literally inside quotes (private-use code points).
constexpr QChar kMarkQuote(0xE000);
constexpr QChar kMarkDelimiter(0xE001);
constexpr QChar kMarkLineBreak(0xE002);

const QString kFullWidthSpace = QStringLiteral("\u3000");

}  // namespace

QStringList SplitQuoted(const QString &text, QChar delimiter, bool removeQuotes)
{
    QString marked;
    marked.reserve(text.size());
    bool inQuotes = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            if (!inQuotes && i > 0 && text[i - 1] == u'"')
                marked += kMarkQuote;
            else
                marked += c;
            inQuotes = !inQuotes;
        } else if (inQuotes && c == delimiter) {
            marked += kMarkDelimiter;
        } else if (inQuotes && c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            marked += kMarkLineBreak;
            ++i;
        } else {
            marked += c;
        }
    }
    if (removeQuotes)
        marked.remove(u'"');
    QStringList parts = marked.split(delimiter);
    for (QString &p : parts) {
        p.replace(kMarkQuote, u'"');
        p.replace(kMarkDelimiter, delimiter);
        p.replace(kMarkLineBreak, kCrLf);
    }
    return parts;
}

QString PhraseSpec(const QString &phraseBoxText)
{
    QString spec = phraseBoxText;
    spec.replace(kCrLf, QStringLiteral(" "));
    return CollapseSpaces(spec);
}

bool TitlePassesFilter(const QStringList &words, const QString &title)
{
    if (words.size() >= 3)
        return false;
    if (words.size() == 2 && words[1] != u'*' && !title.contains(words[1], Qt::CaseInsensitive))
        return false;
    return true;
}

bool TitleMatches(const QStringList &words, const QString &title)
{
    return words[0] == u'*' || title.contains(words[0], Qt::CaseInsensitive);
}

QString ChildMatch(const QStringList &words, const ChildText &child)
{
    const QString &word = words[0];
    QString text = child.text;
    text.replace(kCrLf, kFullWidthSpace);
    // Positions count from 1 as in the excerpt rule: from up to 5 characters
    // before the word, the word's length plus 10.
    const qsizetype found = text.indexOf(word, 0, Qt::CaseInsensitive);
    if (found >= 0 && !word.isEmpty()) {
        const qsizetype pos = found + 1;
        const qsizetype start = std::max<qsizetype>(1, pos - 5);
        QString excerpt = text.mid(start - 1, word.size() + 10);
        excerpt.replace(word, kFullWidthSpace + QStringLiteral("【") + word + QStringLiteral("】") + kFullWidthSpace,
                        Qt::CaseInsensitive);
        return excerpt;
    }
    for (const QString &value : child.inputValues) {
        if (value.contains(word, Qt::CaseInsensitive))
            return QStringLiteral("Value=【") + word + QStringLiteral("】");
    }
    return QString();
}

PhraseMatch FindPhrase(const QString &spec, bool includeBrowser, WindowTextSource &source)
{
    PhraseMatch match;
    if (spec.isEmpty())
        return match;
    const QStringList words = SplitQuoted(spec, u' ', true);
    if (words.size() >= 3)
        return match;  // never matches any window
    for (const TopWindow &w : source.topWindows()) {
        if (w.title.isEmpty() || !TitlePassesFilter(words, w.title))
            continue;
        if (TitleMatches(words, w.title)) {
            match.found = true;
            match.windowTitle = w.title;
            match.matchedText = words[0];
            return match;
        }
        const bool whole = source.visitChildren(w.id, includeBrowser, [&](const ChildText &child) {
            match.matchedText = ChildMatch(words, child);
            return !match.matchedText.isEmpty();
        });
        if (!whole)
            match.complete = false;
        if (!match.matchedText.isEmpty()) {
            match.found = true;
            match.windowTitle = w.title;
            return match;
        }
    }
    return match;
}

}  // namespace zk
