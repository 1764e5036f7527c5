// The watched phrase appears on, or disappears from, the screen.
#pragma once

#include "monitors/trigger.h"

namespace zk {

class PhraseTrigger final : public Trigger {
public:
    PhraseTrigger(const AppState &state, ScreenText *screen) : m_state(state), m_screen(screen) {}

    std::optional<bool> holds(const QDateTime &now) override;
    bool marksDetection() const override { return true; }
    bool detectionStillShown() override;
    void askStartQuestion(std::function<void(const QString &)> done) override;

private:
    // Whether the phrase is on the screen by the latest finished look (a new
    // look is asked for); nullopt when the screen cannot be read, no look
    // has finished yet, or the look could not read all that is shown.
    std::optional<bool> phraseVisible() const;

    const AppState &m_state;
    ScreenText *m_screen;
};

}  // namespace zk
