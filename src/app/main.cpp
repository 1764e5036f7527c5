#include "app/backends.h"
#include "app/bus_wiring.h"
#include "app/control_commands.h"
#include "app/cpu_wiring.h"
#include "app/explain.h"
#include "app/headless_view.h"
#include "app/launcher_adapter.h"
#include "app/long_options.h"
#include "app/run_wiring.h"
#include "app/startup.h"
#include "app/translations.h"
#include "app/window_services.h"
#include "app/window_wiring.h"
#include "core/command_line.h"
#include "core/command_line_generator.h"
#include "core/crlf.h"
#include "core/job.h"
#include "core/job_edit.h"
#include "core/launcher.h"
#include "run/run_engine.h"
#include "core/session_limits.h"
#include "platform/linux/session_kind.h"
#include "platform/linux/settings_writer.h"
#include "platform/linux/unix_signals.h"
#include "platform/linux/system_clock.h"
#include "settings/settings_file.h"
#include "shell/data_folder.h"
#include "ui/create_main_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QJsonDocument>
#include <QMessageBox>
#include <QStandardPaths>
#include <cstdio>
#include <memory>
#include <optional>

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

// --help, --version, --status and --stop: answered without a run.
std::optional<int> QuickCommand(const zk::LongOptions &options, zk::UiLanguage language, int &argc, char **argv)
{
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
    return std::nullopt;
}

// Message boxes, or their lines on standard error without a display.
void ShowMessages(const QList<zk::UserMessage> &messages, bool headless)
{
    for (const zk::UserMessage &m : messages) {
        if (headless) {
            HeadlessMessage(m);
        } else {
            QMessageBox box(QMessageBox::NoIcon, m.title, m.text, QMessageBox::Ok);
            box.exec();
        }
    }
}

// --command-line: the command line of the settings on standard output.
int PrintCommandLine(const zk::AppState &state)
{
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

// --save: the settings file written, nothing run.
int SaveOnly(zk::SettingsWriter &settings, const zk::AppState &state, const QString &desktopDir,
             const QString &settingsPath)
{
    const zk::SettingsWriter::Result written = settings.write(state, desktopDir);
    if (written == zk::SettingsWriter::Failed) {
        zk::UserMessage failed = zk::SettingsNotSavedMessage();
        failed.text += QStringLiteral("\r\n(") + QDir::toNativeSeparators(settingsPath) + QLatin1Char(')');
        HeadlessMessage(failed);
    }
    return written == zk::SettingsWriter::Saved ? 0 : 1;
}

// A start and --explain look for a relative application path in the program's folder.
zk::StartEnvironment StartEnvironmentFor(const zk::PlatformServices &services)
{
    zk::StartEnvironment env;
    env.fileExists = zk::ExistingFile;
    env.programDir = QCoreApplication::applicationDirPath();
    env.programName = QStringLiteral("zenkoro");
    env.wakeUnavailable = services.wakeTimer ? services.wakeTimer->unavailableReason() : QString();
    return env;
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
    if (const std::optional<int> rc = QuickCommand(options, language, argc, argv))
        return *rc;

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

    zk::Launcher launcher(*backends.launcherBackend, clock, QCoreApplication::applicationDirPath());
    zk::LauncherAppLauncher appLauncher(launcher);
    zk::PlatformServices services;
    services.launcher = &appLauncher;
    backends.fill(services);

    zk::AppState state;
    const zk::StartRead start = zk::ReadStart(
        state, options.rest, {clock, *power, launcher, settingsPath, desktopDir, options.explain || options.commandLine});
    const QString caption = start.caption;
    // Said on standard error without a display, else in the window.
    QList<zk::UserMessage> startMessages;
    if (start.loadMessage)
        startMessages << *start.loadMessage;
    if (start.droppedResumeRows)
        startMessages << *start.droppedResumeRows;
    if (headless) {
        for (const zk::UserMessage &m : startMessages)
            HeadlessMessage(m);
    }

    // Messages about the settings file: on standard error without a display;
    // in the window while it runs, else in a message box of their own.
    zk::RunView *messageView = nullptr;
    zk::SettingsWriter settings(settingsPath, start.loaded, clock);
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

    if (start.parsed.error) {
        QList<zk::UserMessage> messages = start.parsed.messages;
        if (start.loadMessage && !headless)
            messages.prepend(*start.loadMessage);
        ShowMessages(messages, headless);
        // --explain and --command-line only look; --save writes all of the
        // command line or nothing.
        if (!options.explain && !options.save && !options.commandLine)
            saveAtExit();
        return 2;
    }

    if (options.commandLine)
        return PrintCommandLine(state);
    if (options.save && !options.explain)
        return SaveOnly(settings, state, desktopDir, settingsPath);

    const zk::StartEnvironment startEnv = StartEnvironmentFor(services);
    if (options.explain) {
        PrintOut(QString::fromUtf8(
            QJsonDocument(zk::ExplainRun(state, caption, clock.now(), startEnv)).toJson(QJsonDocument::Indented)));
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
    engine.setBaseCaption(zk::CaptionFor(state.OperationDisplayName()));
    if (headless) {
        view->setCaption(caption);
        zk::FollowHeadlessRun(engine, *view);
    }

    // SIGINT and SIGTERM act as the stop button: no action is taken. So does
    // Stop() on the bus without a window.
    auto endRun = [&] {
        autoRun = autoRun || state.cl.AutoStart;
        engine.stopRun();
        view->quit(0);
    };
    QObject::connect(&unixSignals, &zk::UnixSignals::terminationRequested, &engine, [&](int) { endRun(); });

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
        zk::WireMainWindow(*window, {state, launcher, backends, services, desktopDir, dataFolder}, startMessages);
    }
    zk::TellSessionLimitsAtStart(engine, sessionNotices, state, window.get());

    // Scripts and panel applets follow and stop the run over the session bus.
    const std::unique_ptr<zk::BusControl> bus = zk::PublishRun(engine, clock);
    if (bus)
        zk::ObeyBus(*bus, engine, endRun, window.get());

    engine.startLoadTimer();
    messageView = window.get();
    const int rc = app->exec();
    messageView = nullptr;
    if (saveAtExit() == zk::SettingsWriter::Refused && rc == 0)
        return 1;
    return rc;
}
