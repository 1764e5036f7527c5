// The phrase search over the windows on the screen: the phrase
// specification (the text to find, optionally a blank and a window-title
// filter), the quote-aware split, and the walk over the top-level windows
// and their child texts. The platform supplies the windows through
// WindowTextSource; everything here is plain text logic.
#pragma once

#include "core/ports/screen_text.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace zk {

// Splits text at delimiter; a delimiter or a CR LF inside double quotes does
// not split, a doubled quote inside quotes stands for one quote character,
// and with removeQuotes the other quotes are dropped.
QStringList SplitQuoted(const QString &text, QChar delimiter, bool removeQuotes);

// The phrase box text as a specification: line breaks as blanks, runs of
// blanks collapsed.
QString PhraseSpec(const QString &phraseBoxText);

// One visible child of a top-level window: its text (line breaks as CR LF)
// and, for a web document, the values of its input fields.
struct ChildText {
    QString text;
    QStringList inputValues;
};

struct TopWindow {
    int id = 0;     // the source's handle of the window
    QString title;  // empty: the window is skipped
};

class WindowTextSource {
public:
    virtual ~WindowTextSource() = default;
    // The visible top-level windows other than ours, in order.
    virtual QList<TopWindow> topWindows() = 0;
    // Calls visit for each visible descendant of window id, in order, until
    // visit answers true. With includeBrowser the texts of web documents
    // (and their input values) are among them. False when the window could
    // not be read whole (what was read is visited all the same).
    virtual bool visitChildren(int id, bool includeBrowser, const std::function<bool(const ChildText &)> &visit) = 0;
};

// The title test of one top-level window: whether its children are searched
// at all (the filter), and whether the title itself matches.
bool TitlePassesFilter(const QStringList &words, const QString &title);
bool TitleMatches(const QStringList &words, const QString &title);
// The match in one child's text: an excerpt with the found word bracketed,
// or "Value=【word】" for an input value; empty when the child does not match.
QString ChildMatch(const QStringList &words, const ChildText &child);

// Whether spec is shown in one of source's windows, and where; not found in
// a window that could not be read whole is not "not shown" (complete false).
PhraseMatch FindPhrase(const QString &spec, bool includeBrowser, WindowTextSource &source);

}  // namespace zk
