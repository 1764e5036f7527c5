#include "app/explain.h"
#include "app/headless_view.h"
#include "core/command_line.h"
#include "core/command_line_generator.h"
#include "core/job.h"
#include "core/job_edit.h"
#include "core/launcher.h"
#include "core/launcher_adapter.h"
#include "core/run_engine.h"
#include "core/run_plan.h"
#include "core/long_options.h"
#include "platform/dry_run_power.h"
#include "platform/file_owner.h"
#include "platform/linux/logind_power.h"
#include "platform/linux/standins.h"
#include "platform/linux/timerfd_wake_timer.h"
#include "platform/linux/unix_signals.h"
#include "platform/linux/linux_launcher_backend.h"
#include "platform/system_clock.h"
#include "settings/defaults.h"
#include "settings/explain_settings.h"
#include "settings/settings_file.h"
#include "ui/create_main_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
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
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
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

// Every write of the settings file goes through here. It writes only to a
// regular file (or through a symbolic link to one) or a new path, never over
// a directory, FIFO, device or socket. A file that was there but could not be
// read at start-up is kept aside before the first write instead of being
// replaced. A file rewritten by another user (an administrator scripting a
// user's settings) keeps its owner and group.
class SettingsWriter {
public:
    enum Result { Saved, Failed, Refused, NotKeptAside };

    SettingsWriter(QString path, zk::SettingsFileStatus loaded, const zk::Clock &clock)
        : m_path(std::move(path)), m_keepAside(loaded == zk::SettingsFileStatus::Unreadable), m_clock(clock)
    {
    }

    // Shows a message box's title and text; each message is given once a run.
    std::function<void(const QString &title, const QString &text)> notify;

    Result write(const zk::AppState &state, const QString &desktopDir)
    {
        const QString where = QDir::toNativeSeparators(QFileInfo(m_path).absoluteFilePath());
        const zk::PathKind kind = zk::KindOf(m_path);
        if (const QString name = KindName(kind); !name.isEmpty()) {
            tell(m_refusalTold, QStringLiteral("書込みエラー"),
                 QStringLiteral("設定ファイル %1 は%2で、通常のファイルではありません。設定は書き込みません。")
                     .arg(where, name));
            return Refused;
        }
        const zk::FileOwner owner = zk::OwnerOf(m_path);
        if (m_keepAside && kind == zk::PathKind::Regular) {
            const QString kept = zk::KeepUnreadableAside(m_path, m_clock.now());
            if (kept.isEmpty()) {
                tell(m_notKeptTold, QStringLiteral("書込みエラー"),
                     QStringLiteral("設定ファイル %1 を読み込めず、別名で残すこともできないため、設定を保存しません。")
                         .arg(where));
                return NotKeptAside;
            }
            m_keepAside = false;
            tell(m_keptTold, zk::ProgramTitle(),
                 QStringLiteral("設定ファイルを読み込めなかったため、元のファイルを次の名前で残しました。\r\n%1")
                     .arg(QDir::toNativeSeparators(QFileInfo(kept).absoluteFilePath())));
        }
        if (!zk::SaveSettings(m_path, state, desktopDir))
            return Failed;
        zk::RestoreOwner(m_path, owner);
        return Saved;
    }

private:
    static QString KindName(zk::PathKind kind)
    {
        switch (kind) {
        case zk::PathKind::Directory: return QStringLiteral("ディレクトリ");
        case zk::PathKind::Fifo: return QStringLiteral("FIFO（名前付きパイプ）");
        case zk::PathKind::Device: return QStringLiteral("デバイス");
        case zk::PathKind::Socket: return QStringLiteral("ソケット");
        default: return {};
        }
    }

    void tell(bool &told, const QString &title, const QString &text)
    {
        if (told || !notify)
            return;
        told = true;
        notify(title, text);
    }

    QString m_path;
    bool m_keepAside;
    const zk::Clock &m_clock;
    bool m_refusalTold = false;
    bool m_notKeptTold = false;
    bool m_keptTold = false;
};

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
    if (options.help) {
        PrintOut(zk::UsageText());
        return 0;
    }
    if (options.version) {
        PrintOut(QStringLiteral("zenkoro ") + zk::VersionText() + QLatin1Char('\n'));
        return 0;
    }

    const bool headless = Headless() || options.explain || options.save || options.commandLine;
    std::unique_ptr<QCoreApplication> app;
    if (headless)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zenkoro"));
    // Taken over from the start: a signal that comes before the run is set up
    // waits in the pipe until the event loop runs.
    zk::UnixSignals unixSignals;

    zk::SystemClock clock;
    const QString desktopDir = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString settingsPath = SettingsPath(options);
    zk::AppState state;
    zk::SetDefaults(state, clock.now(), desktopDir);
    zk::SettingsFileStatus loaded = zk::SettingsFileStatus::Missing;
    zk::LoadSettings(settingsPath, state, desktopDir, 1, &loaded);  // only multi row 0 exists yet
    zk::FixResumeDate(state.job, clock.now().date());
    QString caption = zk::CaptionFor(state.OperationText());

    zk::LinuxLauncherBackend launcherBackend;
    zk::Launcher launcher(launcherBackend, clock, QCoreApplication::applicationDirPath());

    // The services of a run. --dry-run swaps everything that changes the
    // machine's power state for backends that only report the calls.
    std::unique_ptr<zk::SessionPower> power;
    std::unique_ptr<zk::WakeTimer> wakeTimer;
    if (options.dryRun) {
        power = std::make_unique<zk::DryRunPower>();
        wakeTimer = std::make_unique<zk::DryRunWakeTimer>();
    } else {
        power = std::make_unique<zk::LogindPower>();
        wakeTimer = std::make_unique<zk::TimerfdWakeTimer>();
    }
    zk::LauncherAppLauncher appLauncher(launcher);
    zk::LinuxStandins standins;
    zk::PlatformServices services;
    services.power = power.get();
    services.wakeTimer = wakeTimer.get();
    services.launcher = &appLauncher;
    standins.fill(services);

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
    hooks.hibernationAllowed = [&] { return power->hibernationAllowed(); };

    const zk::ParseResult parsed =
        zk::ParseCommandLine(zk::JoinArguments(options.rest), state, clock.now(), hooks);
    if (parsed.parsed)
        caption = parsed.caption;
    // The step of the load timer: all twenty multi rows exist now.
    zk::LoadMultiRows(settingsPath, state);

    // Messages about the settings file: on standard error without a display;
    // in the window while it runs, else in a message box of their own.
    zk::RunView *messageView = nullptr;
    SettingsWriter settings(settingsPath, loaded, clock);
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
        return SettingsWriter::Saved;
    };

    if (parsed.error) {
        for (const zk::UserMessage &m : parsed.messages) {
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
        PrintOut(zk::BuildCommandLine(state) + QLatin1Char('\n'));
        return 0;
    }

    if (options.save && !options.explain) {
        const SettingsWriter::Result written = settings.write(state, desktopDir);
        if (written == SettingsWriter::Failed) {
            PrintErr(QStringLiteral("書込みエラー: 設定値の保存に失敗しました！\n"
                                    "媒体が書込み不可、または、ファイル（Conf.txt）が読取専用になっていないか、確認してください。\n"
                                    "(%1)\n")
                         .arg(QDir::toNativeSeparators(settingsPath)));
        }
        return written == SettingsWriter::Saved ? 0 : 1;
    }

    zk::StartEnvironment startEnv;
    startEnv.fileExists = zk::ExistingFile;
    startEnv.programName = QStringLiteral("zenkoro");

    if (options.explain) {
        QJsonObject o = zk::ExplainState(state, caption);
        zk::MergeJson(o, zk::ExplainSettingsFile(state));
        // The plan a start would make; its ResumeTime is the computed one.
        zk::MergeJson(o, zk::ExplainPlan(state, clock.now(), startEnv));
        PrintOut(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented)));
        return 0;
    }

    // Without a display and without "-auto" there is nothing to run and no
    // window to edit the settings in.
    if (headless && !state.cl.AutoStart) {
        PrintOut(caption + QLatin1Char('\n'));
        return saveAtExit() == SettingsWriter::Refused ? 1 : 0;
    }

    zk::HeadlessView headlessView;
    zk::RunView *view = &headlessView;
    zk::RunEngine engine(state, clock, services, view);
    engine.setEnvironment(startEnv);
    engine.setProgramDir(QCoreApplication::applicationDirPath());
    engine.setBaseCaption(zk::CaptionFor(state.OperationText()));
    engine.setMultiStartHook([&] {
        view->showMessage(zk::ProgramTitle(), QStringLiteral("連続指定の実行にはまだ対応していません。"), QString());
        view->quit(1);
    });
    if (headless)
        view->setCaption(caption);

    // SIGINT and SIGTERM act as the stop button: no action is taken.
    QObject::connect(&unixSignals, &zk::UnixSignals::terminationRequested, &engine, [&](int) {
        autoRun = autoRun || state.cl.AutoStart;
        engine.stopRun();
        view->quit(0);
    });

    std::unique_ptr<zk::MainWindow> window;  // declared after the engine: goes first
    if (!headless) {
        zk::MainWindowHooks ui;
        ui.hibernationAllowed = [&] { return power->hibernationAllowed(); };
        ui.saveSettings = [&] { return settings.write(state, desktopDir) == SettingsWriter::Saved; };
        ui.makeRelativePath = [&](const QString &path) { return launcher.makeRelativePath(path); };
        ui.quit = [](int code) { QCoreApplication::exit(code); };
        window = zk::createMainWindow(state, clock, &engine, caption, ui);  // the engine's view from now on
        view = window.get();
        zk::PowerStatusRaw raw;
        if (services.powerStatus && services.powerStatus->read(raw) == zk::kPowerStatusOk && raw.batteryFlag == 128)
            window->setNoBattery(true);
    }

    engine.startLoadTimer();
    messageView = window.get();
    const int rc = app->exec();
    messageView = nullptr;
    if (saveAtExit() == SettingsWriter::Refused && rc == 0)
        return 1;
    return rc;
}
