// The watched phrase appears on, or disappears from, the screen.
#pragma once

#include "monitors/trigger.h"

#include <memory>

namespace zk {

class PhraseTrigger final : public Trigger {
public:
    PhraseTrigger(const AppState &state, ScreenText *screen) : m_state(state), m_screen(screen) {}

    std::optional<bool> holds(const QDateTime &now) override;
    bool marksDetection() const override { return true; }
    bool detectionStillShown() override;
    void askStartQuestion(std::function<void(const QString &)> done) override;
    void setChangeListener(std::function<void()> listener) override;

private:
    // Whether the phrase is on the screen by the latest finished look (a new
    // look is asked for); nullopt when the screen cannot be read, no look
    // has finished yet, or the look could not read all that is shown.
    std::optional<bool> phraseVisible() const;

    const AppState &m_state;
    ScreenText *m_screen;
    // The listener, reached from the screen watcher only while this trigger lives.
    std::shared_ptr<std::function<void()>> m_listener;
};

}  // namespace zk
