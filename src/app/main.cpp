#include "app/explain.h"
#include "core/command_line.h"
#include "core/command_line_generator.h"
#include "core/job.h"
#include "core/job_edit.h"
#include "core/launcher.h"
#include "core/long_options.h"
#include "platform/file_owner.h"
#include "platform/linux/linux_launcher_backend.h"
#include "platform/system_clock.h"
#include "settings/defaults.h"
#include "settings/explain_settings.h"
#include "settings/settings_file.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLabel>
#include <QMessageBox>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <cstdio>
#include <memory>

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

// Writes the settings file; a file rewritten by another user (an
// administrator scripting a user's settings) keeps its owner and group.
bool WriteSettings(const QString &path, const zk::AppState &state, const QString &desktopDir)
{
    const zk::FileOwner owner = zk::OwnerOf(path);
    if (!zk::SaveSettings(path, state, desktopDir))
        return false;
    zk::RestoreOwner(path, owner);
    return true;
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

    zk::SystemClock clock;
    const QString desktopDir = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString settingsPath = SettingsPath(options);
    zk::AppState state;
    zk::SetDefaults(state, clock.now(), desktopDir);
    zk::LoadSettings(settingsPath, state, desktopDir);  // only multi row 0 exists yet
    zk::FixResumeDate(state.job, clock.now().date());
    QString caption = zk::CaptionFor(state.OperationText());

    zk::LinuxLauncherBackend launcherBackend;
    zk::Launcher launcher(launcherBackend, clock, QCoreApplication::applicationDirPath());

    QStringList startedPrograms;
    zk::ParseHooks hooks;
    hooks.setDefaults = [&](zk::AppState &s) { zk::SetDefaults(s, clock.now(), desktopDir); };
    hooks.launch = [&](const QString &path, const QString &parameters) {
        if (options.explain || options.commandLine) {
            startedPrograms << path;  // reported, not started
            return true;
        }
        QString program = path;
        QString params = parameters;
        return launcher.launchApplication(program, params) != 0;
    };
    hooks.hibernationAllowed = [] { return false; };

    const zk::ParseResult parsed =
        zk::ParseCommandLine(zk::JoinArguments(options.rest), state, clock.now(), hooks);
    if (parsed.parsed)
        caption = parsed.caption;
    // The step of the load timer: all twenty multi rows exist now.
    zk::LoadMultiRows(settingsPath, state);

    // Leaving the program saves the settings unless the run came from "-auto"
    // (a run started by a script leaves the file as it was). Silent.
    auto saveAtExit = [&] {
        if (!state.cl.AutoStart)
            WriteSettings(settingsPath, state, desktopDir);
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
        if (!WriteSettings(settingsPath, state, desktopDir)) {
            PrintErr(QStringLiteral("書込みエラー: 設定値の保存に失敗しました！\n"
                                    "媒体が書込み不可、または、ファイル（Conf.txt）が読取専用になっていないか、確認してください。\n"
                                    "(%1)\n")
                         .arg(QDir::toNativeSeparators(settingsPath)));
            return 1;
        }
        return 0;
    }

    if (options.explain) {
        QJsonObject o = zk::ExplainState(state, caption);
        zk::MergeJson(o, zk::ExplainSettingsFile(state));
        PrintOut(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented)));
        return 0;
    }

    if (headless) {
        PrintOut(caption + QLatin1Char('\n'));
        saveAtExit();
        return 0;
    }

    QWidget window;
    window.setObjectName(QStringLiteral("frmZenkoro"));
    window.setWindowTitle(caption);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(caption, &window));
    window.show();
    const int rc = app->exec();
    saveAtExit();
    return rc;
}
