// Whether a phrase is shown on the screen right now.
#pragma once

#include <QString>

namespace zk {

struct PhraseMatch {
    bool found = false;
    QString windowTitle;  // title of the window that matched
    QString matchedText;  // what matched (the word, or an excerpt with the word bracketed)
};

class ScreenText {
public:
    virtual ~ScreenText() = default;
    // False when the desktop offers no way to read window texts; the phrase
    // monitor then never fires, in either mode.
    virtual bool available() const = 0;
    // Looks for the phrase specification (the phrase box text with line
    // breaks as blanks and runs of blanks collapsed: the word, optionally a
    // blank and a title filter) in the visible windows other than ours.
    virtual PhraseMatch phraseVisible(const QString &phrase, bool includeBrowser) = 0;
};

}  // namespace zk
