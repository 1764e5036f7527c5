// Fakes of the platform services for logic tests: they record every call and
// answer what the test tells them.
#pragma once

#include "core/ports/services.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>

namespace zk {

class FakeSessionPower final : public SessionPower {
public:
    using SessionPower::SessionPower;

    struct ExitCall {
        SessionEnd how;
        bool force = false;
        bool operator==(const ExitCall &) const = default;
    };
    struct SuspendCall {
        bool hibernate;
        bool force;
        bool disableWake;
    };

    bool exitAnswer = true;
    bool suspendAnswer = true;
    bool hibernation = true;
    // Answers come at once, before the call returns; with holdAnswers they
    // wait (a call still in flight) until answerHeld().
    bool holdAnswers = false;

    QList<ExitCall> exitCalls;
    QList<SuspendCall> suspendCalls;
    QList<bool> monitorCalls;
    QList<bool> keepAwakeCalls;
    QStringList log;  // every call in order

    void endSession(SessionEnd how, bool force, QObject *context, Answer done) override
    {
        exitCalls << ExitCall{how, force};
        log << QStringLiteral("endSession %1 %2").arg(int(how)).arg(int(force));
        answer(context, std::move(done), exitAnswer);
    }
    void suspend(bool hibernate, bool force, bool disableWake, QObject *context, Answer done) override
    {
        suspendCalls << SuspendCall{hibernate, force, disableWake};
        log << QStringLiteral("suspend %1 %2 %3").arg(int(hibernate)).arg(int(force)).arg(int(disableWake));
        answer(context, std::move(done), suspendAnswer);
    }
    void queryHibernationAllowed(QObject *context, Answer done) override
    {
        answer(context, std::move(done), hibernation);
    }
    bool hibernationAllowedAtStartup() override { return hibernation; }
    void setMonitorPower(bool on) override
    {
        monitorCalls << on;
        log << QStringLiteral("monitor %1").arg(int(on));
    }
    void setKeepAwake(bool on) override
    {
        keepAwakeCalls << on;
        log << QStringLiteral("keepAwake %1").arg(int(on));
    }
    // The machine runs again.
    void wake() { Q_EMIT resumed(); }
    // Delivers the held answers, in order.
    int answerHeld()
    {
        const QList<std::function<void()>> answers = std::exchange(m_held, {});
        for (const auto &a : answers)
            a();
        return int(answers.size());
    }

private:
    void answer(QObject *context, Answer done, bool ok)
    {
        const QPointer<QObject> guard(context);
        std::function<void()> deliver = [guard, guarded = context != nullptr, done = std::move(done), ok] {
            if (!guarded || guard)
                done(ok);
        };
        if (holdAnswers)
            m_held << std::move(deliver);
        else
            deliver();
    }

    QList<std::function<void()>> m_held;
};

class FakeWakeTimer final : public WakeTimer {
public:
    using WakeTimer::WakeTimer;
    bool failArm = false;
    bool fireWhenArmed = false;  // fires inside arm(), as a timer already due may
    QList<qint64> armCalls;
    QList<int> cancelCalls;
    int lastHandle = 0;

    int arm(qint64 seconds) override
    {
        armCalls << seconds;
        if (failArm)
            return 0;
        ++lastHandle;
        if (fireWhenArmed)
            Q_EMIT fired(lastHandle);
        return lastHandle;
    }
    void cancel(int handle) override
    {
        if (handle != 0)
            cancelCalls << handle;
    }
    void fire(int handle) { Q_EMIT fired(handle); }
};

class FakeScreenText final : public ScreenText {
public:
    bool isAvailable = true;
    PhraseMatch answer;
    // With holdScans the start check's look waits for finishScans().
    bool holdScans = false;
    QList<std::function<void(const PhraseMatch &)>> waiting;
    bool available() const override { return isAvailable; }
    void requestScan(const QString &, bool) override {}
    std::optional<PhraseMatch> latestAnswer(const QString &, bool) const override { return answer; }
    void scanThen(const QString &, bool, std::function<void(const PhraseMatch &)> done) override
    {
        if (holdScans)
            waiting.append(std::move(done));
        else
            done(answer);
    }
    void finishScans()
    {
        const auto callbacks = std::exchange(waiting, {});
        for (const auto &done : callbacks)
            done(answer);
    }
    void setVisible(bool visible, const QString &title = QString(), const QString &text = QString())
    {
        answer.found = visible;
        answer.windowTitle = title;
        answer.matchedText = text;
    }
    // The watcher learned of a change by itself: the answer changes and its
    // listener hears of it.
    void changeTo(bool visible)
    {
        setVisible(visible);
        answerChanged();
    }
};

class FakeCpuMonitor final : public CpuMonitor {
public:
    QString average;
    bool sampling = false;
    QList<bool> stops;
    void begin(const QString &, const QString &, const QString &, bool on) override { sampling = on; }
    void stop(bool clearTexts) override
    {
        sampling = false;
        stops << clearTexts;
    }
    QString averageText() const override { return average; }
};

class FakePowerStatus final : public PowerStatus {
public:
    int result = kPowerStatusOk;
    PowerStatusRaw raw;
    int read(PowerStatusRaw &out) override
    {
        if (result == kPowerStatusOk)
            out = raw;
        return result;
    }
};

class FakeUserIdle final : public UserIdle {
public:
    qint64 idleMs = 0;
    qint64 idleMilliseconds() override { return idleMs; }
};

class FakeLauncher final : public AppLauncher {
public:
    bool answer = true;
    QList<QPair<QString, QString>> calls;
    bool launch(QString &program, QString &parameters) override
    {
        calls << qMakePair(program, parameters);
        return answer;
    }
};

class FakeSound final : public CountdownSound {
public:
    bool playing = false;
    int starts = 0;
    void play(bool) override
    {
        if (playing)
            return;
        playing = true;
        ++starts;
    }
    void stop() override { playing = false; }
};

class FakeCapture final : public ScreenCapture {
public:
    bool answer = true;
    bool hold = false;  // the answer waits for answerHeld()
    QStringList names;
    void captureToJpeg(const QString &name, QObject *context, Done done) override
    {
        names << name;
        m_held = [guard = QPointer<QObject>(context), done = std::move(done), ok = answer] {
            if (guard)
                done(ok);
        };
        if (!hold)
            answerHeld();
    }
    void answerHeld()
    {
        if (auto held = std::exchange(m_held, {}))
            held();
    }

private:
    std::function<void()> m_held;
};

// Records the notices; ids are handed out at once (or held with holdIds
// until answerHeld()); invoke() is a press on a button of a notice.
class FakeNotifier final : public DesktopNotifier {
public:
    QList<DesktopNotification> sent;
    QList<quint32> closed;
    bool holdIds = false;
    QList<std::function<void()>> held;

    void notify(const DesktopNotification &notice, std::function<void(quint32)> done) override
    {
        sent << notice;
        const quint32 id = quint32(sent.size());
        auto answer = [done, id] {
            if (done)
                done(id);
        };
        if (holdIds)
            held << answer;
        else
            answer();
    }
    void close(quint32 id) override
    {
        if (id)
            closed << id;
    }
    void answerHeld()
    {
        for (const auto &a : std::exchange(held, {}))
            a();
    }
    void invoke(quint32 id, const QString &key) { Q_EMIT actionInvoked(id, key); }
};

// One of each, wired into a PlatformServices.
struct FakePlatform {
    FakeSessionPower power;
    FakeWakeTimer wakeTimer;
    FakeScreenText screenText;
    FakeCpuMonitor cpu;
    FakePowerStatus powerStatus;
    FakeUserIdle idle;
    FakeLauncher launcher;
    FakeSound sound;
    FakeCapture capture;
    FakeNotifier notifier;

    PlatformServices services()
    {
        return {&power, &wakeTimer, &screenText, &cpu, &powerStatus, &idle, &launcher, &sound, &capture, &notifier};
    }
};

}  // namespace zk
