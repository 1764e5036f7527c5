// A view that records what the run engine asked of it, and the run engine
// over the fake platform with that view and a clock that moves only when the
// test moves it.
#pragma once

#include "run/run_engine.h"
#include "core/run_view.h"
#include "support/fake/fake_clock.h"
#include "support/fake/fake_services.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace zk {

class RecordingView final : public RunView {
public:
    QStringList remainingHistory;
    RunColor color;
    int fontSize = 0;
    QStringList captions;
    bool phraseLabel = false;
    QString resumeLabel;
    QString lineStatus;
    bool locked = false;
    int multiAndQuickEnabled = 0;
    QStringList windowRequests;  // "show", "topmost 1", "hide", "minimize", "tray", "untray"
    QStringList messages;        // the texts
    struct Question {
        QString title;
        std::function<void(bool)> answer;
    };
    QList<Question> questions;
    struct Popup {
        PopupRequest request;
        std::function<void()> closed;
    };
    QList<Popup> popups;
    QList<int> quits;

    QString remaining() const { return remainingHistory.value(remainingHistory.size() - 1); }
    QString caption() const { return captions.value(captions.size() - 1); }
    void setRemainingText(const QString &text) override { remainingHistory << text; }
    void setRemainingColor(const RunColor &c) override { color = c; }
    void setRemainingFontSize(int points) override { fontSize = points; }
    void setCaption(const QString &c) override { captions << c; }
    void setPhraseLabelVisible(bool visible) override { phraseLabel = visible; }
    void setResumeLabel(const QString &text) override { resumeLabel = text; }
    void setClockText(const QString &) override {}
    void setLineStatusText(const QString &text) override { lineStatus = text; }
    void setRunLocked(bool l) override { locked = l; }
    void enableMultiAndQuick() override { ++multiAndQuickEnabled; }
    void settingsChanged() override {}
    void showWindowNormal() override { windowRequests << QStringLiteral("show"); }
    void applyTopmost(bool topmost) override { windowRequests << QStringLiteral("topmost %1").arg(int(topmost)); }
    void hideWindow() override { windowRequests << QStringLiteral("hide"); }
    void minimizeWindow() override { windowRequests << QStringLiteral("minimize"); }
    void showInTray(const QString &) override { windowRequests << QStringLiteral("tray"); }
    void removeTrayIcon() override { windowRequests << QStringLiteral("untray"); }
    void showMessage(const QString &, const QString &text, const QString &) override { messages << text; }
    void askOkCancel(const QString &title, const QString &, std::function<void(bool)> answer) override
    {
        questions << Question{title, std::move(answer)};
    }
    void showMessagePopup(const PopupRequest &popup, std::function<void()> closed) override
    {
        popups << Popup{popup, std::move(closed)};
    }
    void quit(int code) override { quits << code; }
};

struct EngineRig {
    AppState state;
    FakeClock clock;
    FakePlatform fake;
    RecordingView view;
    RunEngine engine;

    // fileExists, when given, answers for the paths a start checks.
    explicit EngineRig(const QDateTime &start, std::function<bool(const QString &)> fileExists = {})
        : clock(start), engine(state, clock, fake.services(), &view)
    {
        if (fileExists) {
            StartEnvironment env;
            env.fileExists = std::move(fileExists);
            engine.setEnvironment(env);
        }
    }
    // n clock ticks, one second apart.
    void tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            clock.advanceSecs(1);
            engine.tick();
        }
    }
};

}  // namespace zk
