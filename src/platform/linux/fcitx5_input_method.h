// The input method switch of Fcitx 5, over its controller interface on the
// session bus (org.fcitx.Fcitx5 /controller org.fcitx.Fcitx.Controller1, the
// one fcitx5-remote uses): State, Activate, Deactivate. IBus has no
// documented call for an on/off state (only engine names), so under IBus, or
// with no input method, the form keeps the chosen state only.
#pragma once

#include "core/ports/input_method.h"

#include "platform/linux/session_bus.h"

#include <QDBusConnection>

namespace zk {

class Fcitx5InputMethod final : public InputMethodSwitch {
public:
    explicit Fcitx5InputMethod(QDBusConnection bus = SessionBus());

    void querySwitchable(QObject *context, std::function<void(bool)> answer) override;
    void setOpen(bool open) override;

private:
    QDBusConnection m_bus;
};

}  // namespace zk
