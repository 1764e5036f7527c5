#include "ui/create_main_window.h"

#include "core/run_engine.h"
#include "platform/linux/settings_writer.h"
#include "settings/defaults.h"

namespace zk {

std::unique_ptr<MainWindow> createMainWindow(AppState &state, const Clock &clock, RunEngine *engine,
                                             const QString &caption, const SettingsStore &settings,
                                             MainWindowHooks hooks)
{
    hooks.saveSettings = [&state, settings] {
        return settings.writer && settings.writer->write(state, settings.desktopDir) == SettingsWriter::Saved;
    };
    hooks.resetDefaults = [&state, &clock, settings] { ResetToDefaults(state, clock.now(), settings.desktopDir); };
    auto window = std::make_unique<MainWindow>(state, clock);
    window->setHooks(std::move(hooks));
    window->attachEngine(engine);
    if (!caption.isEmpty())
        window->setCaption(caption);
    window->ensurePolished();
    window->adjustSize();
    window->placeAsStored();
    window->show();
    return window;
}

}  // namespace zk
