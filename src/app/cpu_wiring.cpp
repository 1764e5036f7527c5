#include "app/cpu_wiring.h"

#include "core/job.h"
#include "monitors/cpu_sampler.h"
#include "ui/main_window.h"

namespace zk {

void KeepCpuSelector(CpuSampler &sampler, AppState &state, std::function<void()> settingsChanged)
{
    QObject::connect(&sampler, &CpuSampler::selectorRewritten, &sampler,
                     [&state, changed = std::move(settingsChanged)](const QString &selector) {
                         state.job.CpuProcess = selector;
                         changed();
                     });
}

void ShowCpuSampler(CpuSampler &sampler, MainWindow &window)
{
    QObject::connect(&sampler, &CpuSampler::textsChanged, &window, &MainWindow::setCpuTexts);
    QObject::connect(&window, &MainWindow::processListRequested, &sampler, &CpuSampler::requestProcessList);
    QObject::connect(&sampler, &CpuSampler::processListReady, &window, &MainWindow::setProcessList);
}

}  // namespace zk
