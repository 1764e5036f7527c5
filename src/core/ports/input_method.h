// The desktop's input method, as the command input form switches it.
#pragma once

#include <QObject>
#include <functional>

namespace zk {

class InputMethodSwitch {
public:
    virtual ~InputMethodSwitch() = default;
    // Whether the input method can be switched from here. The answer may
    // come later, and only while context exists.
    virtual void querySwitchable(QObject *context, std::function<void(bool switchable)> answer) = 0;
    // Turns the input method of the focused field on or off; nothing is
    // reported, a refusal changes nothing.
    virtual void setOpen(bool open) = 0;
};

}  // namespace zk
