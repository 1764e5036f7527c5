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
    QString startQuestion() override;

private:
    // Whether the phrase is on the screen; nullopt when the screen cannot be read.
    std::optional<bool> phraseVisible(PhraseMatch *match = nullptr) const;

    const AppState &m_state;
    ScreenText *m_screen;
};

}  // namespace zk
