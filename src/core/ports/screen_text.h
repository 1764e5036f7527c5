// Whether a phrase is shown on the screen right now.
#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace zk {

struct PhraseMatch {
    bool found = false;
    // False when the look could not read all that a window shows (too many
    // objects in it): a phrase it did not find may still be on the screen.
    bool complete = true;
    QString windowTitle;  // title of the window that matched
    QString matchedText;  // what matched (the word, or an excerpt with the word bracketed)

    // Whether the phrase is shown: nullopt when the look cannot tell (not
    // found by a look cut short).
    std::optional<bool> shown() const
    {
        if (found)
            return true;
        if (!complete)
            return std::nullopt;
        return false;
    }
};

// Looks for the phrase specification (the phrase box text with line breaks as
// blanks and runs of blanks collapsed: the word, optionally a blank and a
// title filter) in the visible windows other than ours. A look can take
// seconds when a window does not answer, so it runs in the background: the
// caller asks for one and reads the latest finished answer.
class ScreenText {
public:
    virtual ~ScreenText() = default;
    // False when the desktop offers no way to read window texts; the phrase
    // monitor then never fires, in either mode.
    virtual bool available() const = 0;
    // Starts a look unless one is already running; returns at once.
    virtual void requestScan(const QString &phrase, bool includeBrowser) = 0;
    // The answer of the latest finished look for this phrase and browser
    // choice; nullopt before the first one.
    virtual std::optional<PhraseMatch> latestAnswer(const QString &phrase, bool includeBrowser) const = 0;
    // Calls done once with the answer of a look that starts after this call,
    // from the event loop (or at once when the answer needs no waiting).
    virtual void scanThen(const QString &phrase, bool includeBrowser, std::function<void(const PhraseMatch &)> done) = 0;

    // Called on the owner's thread, from the event loop, after the latest
    // answer changed (whether the phrase is shown, or the phrase asked for);
    // an empty function calls nobody. One listener at a time: a new one
    // takes the place of the one before.
    void setAnswerListener(std::function<void()> listener) { m_answerListener = std::move(listener); }

protected:
    void answerChanged() const
    {
        // A copy: the listener may set another one while it runs.
        if (const std::function<void()> listener = m_answerListener)
            listener();
    }

private:
    std::function<void()> m_answerListener;
};

}  // namespace zk
