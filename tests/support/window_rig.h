// The main window over the fake platform, with or without a run engine
// attached, and a clock that moves only when the test moves it.
#pragma once

#include "run/run_engine.h"
#include "support/fake/fake_clock.h"
#include "support/fake/fake_services.h"
#include "support/fake/fake_window_services.h"
#include "ui/main_window.h"

#include <QtTest>
#include <functional>
#include <memory>

namespace zk {

struct WindowRig {
    AppState state;
    FakeClock clock;
    FakePlatform fake;
    FakeWindowServices answers{fake.power, state};
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<RunEngine> engine;
    int quitCalls = 0;

    // prepare edits the settings the window starts with; fileExists, when
    // given, answers for the paths a start checks.
    WindowRig(const QDateTime &start, bool withEngine, const std::function<void(AppState &)> &prepare = {},
              std::function<bool(const QString &)> fileExists = {})
        : clock(start)
    {
        if (prepare)
            prepare(state);
        window = std::make_unique<MainWindow>(state, clock, answers);
        QObject::connect(window.get(), &MainWindow::programEnds, [this](int) { ++quitCalls; });
        if (!withEngine)
            return;
        engine = std::make_unique<RunEngine>(state, clock, fake.services(), window.get());
        if (fileExists) {
            StartEnvironment env;
            env.fileExists = std::move(fileExists);
            engine->setEnvironment(env);
        }
        window->attachEngine(engine.get());
    }
    ~WindowRig()
    {
        // The engine goes first: it still points at the window.
        engine.reset();
        window.reset();
    }
    // The named control; fails the test when there is none.
    template <typename T> T *w(const QString &name) const
    {
        T *c = window->findChild<T *>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
};

}  // namespace zk
