// Linux services for the run where the full implementation comes later:
// each answers the neutral value (no trigger, nothing written, no sound).
// The power status reads the kernel's power-supply class and the idle time
// comes from the X server (x11_idle.h).
#pragma once

#include "platform/linux/x11_idle.h"
#include "core/ports/services.h"

#include <QString>

namespace zk {

class NullScreenText final : public ScreenText {
public:
    bool available() const override { return false; }
    void requestScan(const QString &, bool) override {}
    std::optional<PhraseMatch> latestAnswer(const QString &, bool) const override { return std::nullopt; }
    void scanThen(const QString &, bool, std::function<void(const PhraseMatch &)> done) override { done({}); }
};

class NullCpuMonitor final : public CpuMonitor {
public:
    void begin(const QString &, const QString &, bool) override {}
    void stop(bool) override {}
    QString averageText() const override { return QString(); }
};

class NullUserIdle final : public UserIdle {
public:
    qint64 idleMilliseconds() override { return -1; }
};

class NullSound final : public CountdownSound {
public:
    void play(bool) override {}
    void stop() override {}
};

class NullCapture final : public ScreenCapture {
public:
    bool captureToJpeg(QString &) override { return false; }
};

// Power status from /sys/class/power_supply (or another folder of the same
// layout): mains online -> AC line 1, a discharging battery -> 0; a machine
// with neither mains nor battery entries runs on mains without a battery.
class SysfsPowerStatus final : public PowerStatus {
public:
    explicit SysfsPowerStatus(QString root = QStringLiteral("/sys/class/power_supply"));
    int read(PowerStatusRaw &raw) override;

private:
    QString m_root;
};

}  // namespace zk

namespace zk {

// The stand-ins above, owned in one place; fill() puts them into the slots
// of a service set that are still empty.
struct LinuxStandins {
    NullScreenText screenText;
    NullCpuMonitor cpu;
    SysfsPowerStatus powerStatus;
    X11UserIdle idle;
    NullSound sound;
    NullCapture capture;

    void fill(PlatformServices &s)
    {
        if (!s.screenText)
            s.screenText = &screenText;
        if (!s.cpu)
            s.cpu = &cpu;
        if (!s.powerStatus)
            s.powerStatus = &powerStatus;
        if (!s.idle)
            s.idle = &idle;
        if (!s.sound)
            s.sound = &sound;
        if (!s.capture)
            s.capture = &capture;
    }
};

}  // namespace zk
