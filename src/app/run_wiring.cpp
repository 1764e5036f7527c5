#include "app/run_wiring.h"

#include "core/command_line.h"
#include "core/crlf.h"
#include "core/job.h"
#include "core/session_limits.h"
#include "run/multi_run.h"
#include "run/run_engine.h"
#include "ui/main_window.h"

#include <QCoreApplication>
#include <QPointer>
#include <cstdio>

namespace zk {

namespace {
void Print(std::FILE *f, const QString &text)
{
    std::fputs(text.toUtf8().constData(), f);
    std::fflush(f);
}
}  // namespace

void FollowHeadlessRun(RunEngine &engine, RunView &view)
{
    RunView *v = &view;
    QObject::connect(&engine.multiRun(), &MultiRun::stepStarted, &engine,
                     [](const MultiStep &step, int index, int count) {
                         Print(stdout, MultiStepLine(step, index, count) + QLatin1Char('\n'));
                     });
    QObject::connect(&engine.multiRun(), &MultiRun::waitingForStop, &engine, [v](bool nothingToRun) {
        if (nothingToRun)
            Print(stderr, ProgramTitle() + QStringLiteral(": ") +
                              QCoreApplication::translate("HeadlessRun", "連続指定に実行できる行がありません。") +
                              QLatin1Char('\n'));
        v->quit(nothingToRun ? 1 : 0);
    });
    QObject::connect(&engine, &RunEngine::stoppedFromNotice, &engine, [v] { v->quit(0); });
}

void TellSessionLimitsAtStart(RunEngine &engine, SessionLimitNotices &notices, const AppState &state,
                              MainWindow *window)
{
    QObject::connect(&engine, &RunEngine::runStateChanged, &engine,
                     [&notices, &state, window = QPointer<MainWindow>(window)](RunState runState) {
        if (runState != RunState::Counting && runState != RunState::Warning)
            return;
        const QStringList said = notices.take(FeaturesInUse(state, true));
        for (const QString &notice : said)
            Print(stderr, ProgramTitle() + QStringLiteral(": ") + notice + QLatin1Char('\n'));
        if (window && !said.isEmpty() && !state.job.NoAlert) {
            PopupRequest popup;
            popup.text = said.join(kCrLf);
            window->showMessagePopup(popup, {});
        }
    });
}

}  // namespace zk
