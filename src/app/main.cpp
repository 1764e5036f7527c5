#include "app/backends.h"
#include "app/bus_wiring.h"
#include "app/control_commands.h"
#include "app/cpu_wiring.h"
#include "app/explain.h"
#include "app/headless_view.h"
#include "app/launcher_adapter.h"
#include "app/long_options.h"
#include "app/translations.h"
#include "app/window_services.h"
#include "core/command_line.h"
#include "core/command_line_generator.h"
#include "core/crlf.h"
#include "core/job.h"
#include "core/job_edit.h"
#include "core/launcher.h"
#include "run/multi_run.h"
#include "run/run_engine.h"
#include "run/run_plan.h"
#include "core/session_limits.h"
#include "platform/linux/desktop_launcher_file.h"
#include "platform/linux/session_kind.h"
#include "platform/linux/settings_writer.h"
#include "resume/weekly_resume.h"
#include "platform/linux/unix_signals.h"
#include "platform/linux/system_clock.h"
#include "settings/defaults.h"
#include "settings/explain_settings.h"
#include "settings/settings_file.h"
#include "shell/data_folder.h"
#include "shell/shortcut_maker.h"
#include "ui/create_main_window.h"
#include "ui/create_shortcut_window.h"
#include "ui/power_state_window.h"
#include "ui/text_view_window.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMessageBox>
#include <QStandardPaths>
#include <cstdio>
#include <functional>
#include <memory>
#include <utility>

namespace {

bool Headless()
{
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void PrintErr(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stderr);
    std::fflush(stderr);
}

void PrintOut(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

// A message box without a display: its title and text on standard error.
void HeadlessMessage(const zk::UserMessage &m)
{
    QString text = m.text;
    text.replace(zk::kCrLf, QStringLiteral("\n"));
    PrintErr(m.title + QStringLiteral(": ") + text + QLatin1Char('\n'));
}

// Where the settings file is: --conf, else Conf.txt beside the program,
// else $XDG_CONFIG_HOME/zenkoro/Conf.txt.
QString SettingsPath(const zk::LongOptions &options)
{
    return zk::SettingsFilePath(options.conf, QCoreApplication::applicationDirPath(),
                                qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath(),
                                [](const QString &p) { return QFileInfo(p).isFile(); });
}

// The folder of the help texts and the sound: beside the program, else
// ../share/zenkoro from it, else the installed one. Empty when none is found.
QString DataFolder()
{
    return zk::FindDataFolder(QCoreApplication::applicationDirPath(), QStringLiteral(ZK_INSTALL_DATADIR),
                              [](const QString &p) { return QFileInfo(p).isFile(); });
}

}  // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const zk::LongOptions options = zk::TakeLongOptions(arguments);
    if (!options.error.isEmpty()) {
        PrintErr(QStringLiteral("zenkoro: ") + options.error + QLatin1Char('\n'));
        return 2;
    }
    const zk::UiLanguage language = zk::ChosenLanguage(options.language);
    if (options.help) {
        QCoreApplication core(argc, argv);
        zk::InstallTranslations(language);
        PrintOut(zk::UsageText());
        return 0;
    }
    if (options.version || options.status || options.stop) {
        QCoreApplication core(argc, argv);
        if (options.status)
            return zk::StatusCommand();
        if (options.stop)
            return zk::StopCommand(options.stopPid);
        const QString data = DataFolder();
        PrintOut(QStringLiteral("zenkoro ") + zk::VersionText() + QStringLiteral("\nhelp texts: ") +
                 (data.isEmpty() ? QStringLiteral("not found (looked beside the program, in ../share/zenkoro and in " ZK_INSTALL_DATADIR ")")
                                 : data) +
                 QLatin1Char('\n'));
        return 0;
    }

    const bool headless = Headless() || options.explain || options.save || options.commandLine;
    std::unique_ptr<QCoreApplication> app;
    if (headless)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zenkoro"));
    if (!zk::InstallTranslations(language))
        PrintErr(QStringLiteral("zenkoro: the English translation is missing from this build\n"));
    if (!headless) {
        QGuiApplication::setDesktopFileName(QStringLiteral("zenkoro"));
        QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/zenkoro/zenkoro.png")));
    }
    const QString dataFolder = DataFolder();
    // Taken over from the start: a signal that comes before the run is set up
    // waits in the pipe until the event loop runs.
    zk::UnixSignals unixSignals;

    zk::SystemClock clock;
    // The desktop folder (captures, shortcuts); the home folder when there is none.
    QString desktopDir = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!QFileInfo(desktopDir).isDir())
        desktopDir = QDir::homePath();
    const QString settingsPath = SettingsPath(options);

    // The services of a run. --dry-run swaps everything that changes the
    // machine's power state for backends that only report the calls.
    const zk::Backends backends = zk::MakeBackends(options.dryRun);
    zk::SessionPower *const power = backends.power.get();

    zk::AppState state;
    zk::SetDefaults(state, clock.now(), desktopDir);
    const int operationBeforeLoad = state.job.Operation;
    zk::SettingsFileStatus loaded = zk::SettingsFileStatus::Missing;
    zk::LoadSettings(settingsPath, state, desktopDir, 1, &loaded);  // only multi row 0 exists yet
    // The loaded operation passes the operation list's check: "休止" where
    // hibernation is not allowed keeps the operation selected before.
    const std::optional<zk::UserMessage> loadMessage =
        zk::KeepAllowedOperation(state, operationBeforeLoad, [&] { return power->hibernationAllowedAtStartup(); });
    if (loadMessage && headless)
        HeadlessMessage(*loadMessage);
    zk::FixResumeDate(state.job, clock.now().date());
    QString caption = zk::CaptionFor(state.OperationText());

    zk::Launcher launcher(*backends.launcherBackend, clock, QCoreApplication::applicationDirPath());
    zk::LauncherAppLauncher appLauncher(launcher);
    zk::PlatformServices services;
    services.launcher = &appLauncher;
    backends.fill(services);

    zk::ParseHooks hooks;
    hooks.setDefaults = [&](zk::AppState &s) { zk::SetDefaults(s, clock.now(), desktopDir); };
    hooks.launch = [&](const QString &path, const QString &parameters) {
        // --explain reports the program (ApPath, ApParameters) instead of starting it.
        if (options.explain || options.commandLine)
            return true;
        QString program = path;
        QString params = parameters;
        return launcher.launchApplication(program, params) != 0;
    };
    // Rows of the list that name no time of day: said once, on standard error
    // without a display, else in the window.
    QString droppedResumeRows;
    hooks.applyWeeklyResumeList = [&](zk::AppState &s) { droppedResumeRows = zk::ApplyWeeklyResumeList(s, clock); };
    // Read before the window and the event loop exist.
    hooks.hibernationAllowed = [&] { return power->hibernationAllowedAtStartup(); };

    const zk::ParseResult parsed =
        zk::ParseCommandLine(zk::JoinArguments(options.rest), state, clock.now(), hooks);
    if (parsed.parsed)
        caption = parsed.caption;
    // The step of the load timer: all twenty multi rows exist now.
    zk::LoadMultiRows(settingsPath, state);
    const zk::UserMessage droppedResumeMessage{QStringLiteral("復帰リスト"), droppedResumeRows};
    if (!droppedResumeRows.isEmpty() && headless)
        HeadlessMessage(droppedResumeMessage);

    // Messages about the settings file: on standard error without a display;
    // in the window while it runs, else in a message box of their own.
    zk::RunView *messageView = nullptr;
    zk::SettingsWriter settings(settingsPath, loaded, clock);
    settings.notify = [&](const QString &title, const QString &text) {
        if (headless) {
            HeadlessMessage({title, text});
        } else if (messageView) {
            messageView->showMessage(title, text, QString());
        } else {
            QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
            box.exec();
        }
    };

    // Leaving the program saves the settings unless the run came from "-auto"
    // (a run started by a script leaves the file as it was). Silent, except
    // for what the writer has to say about the file.
    bool autoRun = state.cl.AutoStart;
    auto saveAtExit = [&] {
        if (!state.cl.AutoStart && !autoRun)
            return settings.write(state, desktopDir);
        return zk::SettingsWriter::Saved;
    };

    if (parsed.error) {
        QList<zk::UserMessage> messages = parsed.messages;
        if (loadMessage && !headless)
            messages.prepend(*loadMessage);
        for (const zk::UserMessage &m : messages) {
            if (headless) {
                HeadlessMessage(m);
            } else {
                QMessageBox box(QMessageBox::NoIcon, m.title, m.text, QMessageBox::Ok);
                box.exec();
            }
        }
        // --explain and --command-line only look; --save writes all of the
        // command line or nothing.
        if (!options.explain && !options.save && !options.commandLine)
            saveAtExit();
        return 2;
    }

    if (options.commandLine) {
        QString error;
        const QString line = zk::BuildCommandLine(state, &error);
        if (line.isEmpty()) {
            // A line that would run something else is not printed at all.
            PrintErr(QStringLiteral("zenkoro: ") + error + QLatin1Char('\n'));
            return 1;
        }
        PrintOut(line + QLatin1Char('\n'));
        return 0;
    }

    if (options.save && !options.explain) {
        const zk::SettingsWriter::Result written = settings.write(state, desktopDir);
        if (written == zk::SettingsWriter::Failed) {
            zk::UserMessage failed = zk::SettingsNotSavedMessage();
            failed.text += QStringLiteral("\r\n(") + QDir::toNativeSeparators(settingsPath) + QLatin1Char(')');
            HeadlessMessage(failed);
        }
        return written == zk::SettingsWriter::Saved ? 0 : 1;
    }

    zk::StartEnvironment startEnv;
    startEnv.fileExists = zk::ExistingFile;
    // A start and --explain look for a relative application path in the same folder.
    startEnv.programDir = QCoreApplication::applicationDirPath();
    startEnv.programName = QStringLiteral("zenkoro");
    startEnv.wakeUnavailable = services.wakeTimer ? services.wakeTimer->unavailableReason() : QString();

    if (options.explain) {
        QJsonObject o = zk::ExplainState(state, caption);
        zk::MergeJson(o, zk::ExplainSettingsFile(state));
        // The plan a start would make; its ResumeTime is the computed one.
        zk::MergeJson(o, zk::ExplainPlan(state, clock.now(), startEnv));
        // The steps a multi run would take now, in run order.
        o.insert(QStringLiteral("MultiPlan"), zk::ExplainMultiPlan(state, clock.now()));
        // Whether and how a real run can wake the machine (also under --dry-run).
        o.insert(QStringLiteral("Wake"), zk::ExplainWake(zk::ProbeWakeAbility({startEnv.programDir})));
        // Rows left out because their time is no time of day.
        o.insert(QStringLiteral("DroppedMultiRows"), zk::ExplainDroppedMultiRows(state));
        o.insert(QStringLiteral("DroppedResumeListRows"), zk::ExplainDroppedResumeRows(state));
        PrintOut(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented)));
        return 0;
    }

    // Without a display and without "-auto" there is nothing to run and no
    // window to edit the settings in.
    if (headless && !state.cl.AutoStart) {
        PrintOut(caption + QLatin1Char('\n'));
        return saveAtExit() == zk::SettingsWriter::Refused ? 1 : 0;
    }

    zk::HeadlessView headlessView;
    zk::RunView *view = &headlessView;
    zk::RunEngine engine(state, clock, services, view);
    engine.setEnvironment(startEnv);
    engine.setProgramDir(startEnv.programDir);
    engine.setBaseCaption(zk::CaptionFor(state.OperationText()));
    if (headless) {
        view->setCaption(caption);
        // The multi schedule: a line for each step as its countdown begins.
        // Without a display nobody can press the stop button: once every
        // step is done the program ends (with a failure when none could run).
        QObject::connect(&engine.multiRun(), &zk::MultiRun::stepStarted, &engine,
                         [](const zk::MultiStep &step, int index, int count) {
                             PrintOut(zk::MultiStepLine(step, index, count) + QLatin1Char('\n'));
                         });
        QObject::connect(&engine.multiRun(), &zk::MultiRun::waitingForStop, &engine, [&](bool nothingToRun) {
            if (nothingToRun)
                PrintErr(zk::ProgramTitle() + QStringLiteral(": 連続指定に実行できる行がありません。\n"));
            view->quit(nothingToRun ? 1 : 0);
        });
    }

    // "中止" of the warning's desktop notice is the stop button; without a
    // window nothing is left to do.
    if (headless)
        QObject::connect(&engine, &zk::RunEngine::stoppedFromNotice, &engine, [&] { view->quit(0); });

    // SIGINT and SIGTERM act as the stop button: no action is taken.
    QObject::connect(&unixSignals, &zk::UnixSignals::terminationRequested, &engine, [&](int) {
        autoRun = autoRun || state.cl.AutoStart;
        engine.stopRun();
        view->quit(0);
    });

    zk::KeepCpuSelector(*backends.cpu, state, [&] { view->settingsChanged(); });

    // What the desktop session limits of the features in use, said once each:
    // in the window when the option is ticked; when a run starts, on standard
    // error (the log of a scheduled run) and in the window.
    zk::SessionLimitNotices sessionNotices(zk::DetectSessionKind());
    zk::AppWindowServices windowServices(state, clock, *power, launcher, settings, desktopDir);
    windowServices.setSessionLimitNotices(&sessionNotices);
    std::unique_ptr<zk::MainWindow> window;  // declared after the engine: goes first
    if (!headless) {
        window = zk::createMainWindow(state, clock, windowServices, &engine, caption);  // the engine's view from now on
        view = window.get();
        QObject::connect(window.get(), &zk::MainWindow::applicationHelpRequested, window.get(), [&] {
            zk::OpenHelpFile(launcher, dataFolder + QStringLiteral("/command_ap.txt"), zk::HelpPlacement::AsOpened,
                             window.get());
        });
        QObject::connect(window.get(), &zk::MainWindow::commandLineHelpRequested, window.get(), [&] {
            zk::OpenHelpFile(launcher, dataFolder + QStringLiteral("/command_line.txt"), zk::HelpPlacement::TopLeftLarge, window.get());
        });
        QObject::connect(window.get(), &zk::MainWindow::commandLineRequested, window.get(),
                         [&] { zk::ShowCommandLineWindow(state, window.get()); });
        QObject::connect(window.get(), &zk::MainWindow::shortcutRequested, window.get(), [&] {
            QString error;
            const QString line = zk::BuildCommandLine(state, &error);
            if (line.isEmpty()) {
                window->showMessage(QStringLiteral("ショートカット生成"), error, QString());
                return;
            }
            zk::ShortcutEnvironment env;
            env.fs.isFile = [](const QString &p) { return QFileInfo(p).isFile(); };
            env.fs.isDir = [](const QString &p) { return QFileInfo(p).isDir(); };
            env.fs.refusal = zk::LauncherPathRefusal;
            env.write = zk::WriteDesktopLauncher;
            env.openFolder = [&](const QString &folder) {
                QString program = folder;
                QString parameters;
                launcher.launchApplication(program, parameters);
            };
            auto *maker = new zk::CreateShortcutWindow(
                zk::ShortcutHandOver(desktopDir, QCoreApplication::applicationFilePath(), line), std::move(env),
                window.get());
            QObject::connect(maker, &zk::CreateShortcutWindow::commandLineHelpRequested, maker, [&launcher, &dataFolder, maker] {
                zk::OpenHelpFile(launcher, dataFolder + QStringLiteral("/command_line.txt"), zk::HelpPlacement::TopLeftLarge, maker);
            });
            window->attachShortcutMaker(maker);
            maker->open();
        });
        zk::ShowCpuSampler(*backends.cpu, *window);
        QObject::connect(window.get(), &zk::MainWindow::powerStateRequested, window.get(), [&] {
            zk::PowerStateWindow::open(services.powerStatus, power, window.get());
        });
        if (loadMessage)
            window->showMessage(loadMessage->title, loadMessage->text, QString());
        if (!droppedResumeRows.isEmpty())
            window->showMessage(droppedResumeMessage.title, droppedResumeMessage.text, QString());
        zk::FollowNoBattery(*backends.powerStatus, window.get(),
                            [w = window.get()](bool noBattery) { w->setNoBattery(noBattery); });
    }

    QObject::connect(&engine, &zk::RunEngine::runStateChanged, &engine, [&](zk::RunState runState) {
        if (runState != zk::RunState::Counting && runState != zk::RunState::Warning)
            return;
        const QStringList notices = sessionNotices.take(zk::FeaturesInUse(state, true));
        for (const QString &notice : notices)
            PrintErr(zk::ProgramTitle() + QStringLiteral(": ") + notice + QLatin1Char('\n'));
        if (window && !notices.isEmpty() && !state.job.NoAlert) {
            zk::PopupRequest popup;
            popup.text = notices.join(zk::kCrLf);
            window->showMessagePopup(popup, {});
        }
    });

    // Scripts and panel applets follow and stop the run over the session bus.
    const std::unique_ptr<zk::BusControl> bus = zk::PublishRun(engine, clock);
    if (bus) {
        // Stop() is the stop button; without a window nothing is left to do.
        // A window without a run has nothing to stop: the caller is told.
        bus->setStopHandler([&] {
            if (headless) {
                autoRun = autoRun || state.cl.AutoStart;
                engine.stopRun();
                view->quit(0);
                return true;
            }
            if (!engine.runActive())
                return false;
            engine.stopRun();
            return true;
        });
        QObject::connect(bus.get(), &zk::BusControl::showRequested, &engine, [&] {
            if (window)
                window->trayShowAction();
        });
    }

    engine.startLoadTimer();
    messageView = window.get();
    const int rc = app->exec();
    messageView = nullptr;
    if (saveAtExit() == zk::SettingsWriter::Refused && rc == 0)
        return 1;
    return rc;
}
