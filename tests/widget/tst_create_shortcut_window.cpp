// The shortcut maker writes a valid launcher that runs the generated arguments.
#include "core/command_line.h"
#include "core/command_line_generator.h"
#include "core/desktop_entry.h"
#include "platform/linux/desktop_launcher_file.h"
#include "settings/defaults.h"
#include "support/capture_stdout.h"
#include "support/file_size_limit.h"
#include "support/same_run.h"
#include "ui/create_shortcut_window.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <sys/stat.h>

using namespace zk;

namespace {

const QDateTime kNow(QDate(2026, 12, 6), QTime(8, 0, 0));

ShortcutEnvironment RealFiles(QStringList *opened)
{
    ShortcutEnvironment env;
    env.fs.isFile = [](const QString &p) { return QFileInfo(p).isFile(); };
    env.fs.isDir = [](const QString &p) { return QFileInfo(p).isDir(); };
    env.fs.refusal = LauncherPathRefusal;
    env.write = WriteDesktopLauncher;
    env.openFolder = [opened](const QString &folder) { *opened << folder; };
    return env;
}

void Click(CreateShortcutWindow *w, const char *name)
{
    auto *b = w->findChild<QPushButton *>(QString::fromLatin1(name));
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
}

void Answer(CreateShortcutWindow *w, QMessageBox::StandardButton button)
{
    QMessageBox *box = w->openMessageBox();
    QVERIFY(box);
    box->button(button)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

AppState Parsed(const AppState &original, const QString &line)
{
    AppState parsed = original;
    parsed.cl = CommandLineValues();
    ParseHooks hooks;
    hooks.setDefaults = [](AppState &s) { SetDefaults(s, kNow, QString()); };
    hooks.launch = [](const QString &, const QString &) { return true; };
    hooks.hibernationAllowed = [] { return true; };
    ParseCommandLine(line, parsed, kNow, hooks);
    return parsed;
}

}  // namespace

class TstCreateShortcutWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesALauncherThatRunsTheSameArguments()
    {
        AppState state;
        SetDefaults(state, kNow, QString());
        state.job.Operation = 4;
        state.job.ResumeEnabled = 1;
        state.job.ResumeAtClock = 0;
        state.job.AppCommand = QStringLiteral("/usr/bin/my editor \"a <b> c.txt\" 100% $home");
        state.job.MonitorEnabled = 1;
        state.job.MonitorKind = 0;
        state.job.MonitorPhrase = QStringLiteral("終了  しました");
        state.job.CountdownSound = 0;
        const QString line = BuildCommandLine(state);
        QVERIFY(!line.isEmpty());

        QTemporaryDir desktop;
        const QString target = QCoreApplication::applicationFilePath();
        QStringList opened;
        auto *w = new CreateShortcutWindow(ShortcutHandOver(desktop.path(), target, line), RealFiles(&opened));
        w->show();
        QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(w->isModal());
        QCOMPARE(w->box(kBoxFolder)->text(), QFileInfo(target).path());  // follows the target
        QCOMPARE(w->box(kBoxArguments)->toolTip(), line);
        w->box(kBoxComment)->setText(QStringLiteral("朝のスリープ"));
        QPointer<CreateShortcutWindow> alive(w);
        QSignalSpy created(w, &CreateShortcutWindow::created);
        Click(w, "cmdClose_0");
        QCOMPARE(created.size(), 1);
        Answer(w, QMessageBox::Yes);
        QTRY_VERIFY(!alive);  // closed
        QCOMPARE(opened, QStringList{desktop.path()});

        const QString file = desktop.filePath(kShortcutFileName);
        QCOMPARE(created.first().first().toString(), file);
        QVERIFY(QFileInfo(file).isExecutable());
        const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        QVERIFY2(!validate.isEmpty(), "desktop-file-validate is missing (Debian package desktop-file-utils)");
        QProcess v;
        v.start(validate, {file});
        QVERIFY(v.waitForFinished(20000));
        const QString report = QString::fromUtf8(v.readAllStandardOutput() + v.readAllStandardError());
        QVERIFY2(v.exitCode() == 0 && !report.contains(QStringLiteral("error")), qPrintable(report));

        // Read back by the program's own launcher parser: the target and the
        // generated arguments, blanks and angle brackets included.
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const DesktopEntry entry = ParseDesktopEntry(QString::fromUtf8(f.readAll()));
        QCOMPARE(entry.path, QFileInfo(target).path());
        const QStringList exec = ExecArguments(entry.exec);
        QCOMPARE(exec, QStringList{target} + ArgumentsOfCommandLine(line));
        // And the program started with them runs the same.
        QString why;
        QVERIFY2(zktest::SameRun(state, Parsed(state, JoinArguments(exec.mid(1))), &why), qPrintable(why));
    }

    void refusalsAndOverwrite()
    {
        QTemporaryDir desktop;
        QStringList opened;
        // No TAB: all of it is the file name; the target check refuses.
        auto *w = new CreateShortcutWindow(desktop.filePath(QStringLiteral("z.desktop")), RealFiles(&opened));
        QPointer<CreateShortcutWindow> alive(w);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        // Enter in a box creates nothing; a double click opens the input form.
        w->box(kBoxFile)->setFocus();
        QTest::keyClick(w->box(kBoxFile), Qt::Key_Return);
        QVERIFY(!w->openMessageBox());
        QList<QLineEdit *> input;
        connect(w, &CreateShortcutWindow::inputFormRequested, this, [&input](QLineEdit *box) { input << box; });
        QTest::mouseDClick(w->box(kBoxComment), Qt::LeftButton);
        QCOMPARE(input, QList<QLineEdit *>{w->box(kBoxComment)});
        Click(w, "cmdClose_0");
        QCOMPARE(w->openMessageBox()->windowTitle(), QStringLiteral("失敗"));
        Answer(w, QMessageBox::Ok);
        QVERIFY(alive && w->isVisible());
        QTRY_COMPARE(w->focusWidget(), w->box(kBoxTarget));

        // An existing file: Cancel leaves it as it was, OK replaces it.
        const QString file = desktop.filePath(QStringLiteral("z.desktop"));
        {
            QFile old(file);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        w->box(kBoxTarget)->setText(QCoreApplication::applicationFilePath());
        Click(w, "cmdClose_0");
        QCOMPARE(w->openMessageBox()->windowTitle(), QStringLiteral("上書き確認"));
        Answer(w, QMessageBox::Cancel);
        QVERIFY(alive && w->isVisible());
        QFile check(file);
        QVERIFY(check.open(QIODevice::ReadOnly));
        QCOMPARE(check.readAll(), QByteArray("old"));
        check.close();
        Click(w, "cmdClose_0");
        Answer(w, QMessageBox::Ok);
        QCOMPARE(w->openMessageBox()->windowTitle(), QStringLiteral("ショートカット作成"));
        Answer(w, QMessageBox::No);
        QTRY_VERIFY(!alive);
        QVERIFY(opened.isEmpty());
        QVERIFY(check.open(QIODevice::ReadOnly));
        QVERIFY(check.readAll().startsWith("[Desktop Entry]\n"));
    }

    // A full disk keeps the old file; a FIFO or a dangling link is refused without
    // the overwrite question. The form says why and stays open.
    void onlyWholeLaunchersInRegularFiles()
    {
        QTemporaryDir desktop;
        const QString file = desktop.filePath(QStringLiteral("z.desktop"));
        const QString elsewhere = desktop.filePath(QStringLiteral("elsewhere.desktop"));
        const auto refusal = [&](const QString &what) {
            return file + QStringLiteral("\r\n\r\nは") + what +
                   QStringLiteral("で、通常のファイルではありません。ショートカットは書き込みません。");
        };
        struct Case {
            const char *name;
            std::function<bool()> make;
            QString text;  // the message; empty: the write failure after 上書き確認
            std::function<bool()> unchanged;
        };
        const QList<Case> cases{
            {"full disk",
             [&] {
                 QFile old(file);
                 return old.open(QIODevice::WriteOnly) && old.write("old") == 3;
             },
             QString(),
             [&] {
                 QFile old(file);
                 return old.open(QIODevice::ReadOnly) && old.readAll() == "old" && !QFileInfo(file).isExecutable();
             }},
            {"FIFO", [&] { return ::mkfifo(QFile::encodeName(file).constData(), 0600) == 0; },
             refusal(QStringLiteral("FIFO（名前付きパイプ）")),
             [&] {
                 struct stat st {};
                 return ::lstat(QFile::encodeName(file).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
             }},
            {"link that leads nowhere", [&] { return QFile::link(elsewhere, file); },
             refusal(QStringLiteral("行き先のないシンボリックリンク")),
             [&] { return QFileInfo(file).isSymLink() && !QFileInfo::exists(elsewhere); }},
        };
        for (const Case &c : cases) {
            QVERIFY2(c.make(), c.name);
            QStringList opened;
            CreateShortcutWindow w(file + '\t' + QCoreApplication::applicationFilePath(), RealFiles(&opened));
            w.setAttribute(Qt::WA_DeleteOnClose, false);
            w.show();
            QVERIFY(zktest::WithFileSizeLimit(16, [&] {
                Click(&w, "cmdClose_0");
                if (c.text.isEmpty()) {
                    QCOMPARE(w.openMessageBox()->windowTitle(), QStringLiteral("上書き確認"));
                    Answer(&w, QMessageBox::Ok);
                }
            }));
            QVERIFY2(w.openMessageBox(), c.name);
            QCOMPARE(w.openMessageBox()->windowTitle(), QStringLiteral("失敗"));
            QCOMPARE(w.openMessageBox()->text(), c.text.isEmpty() ? WriteFailedText(file) : c.text);
            Answer(&w, QMessageBox::Ok);
            QVERIFY(w.isVisible());
            QVERIFY2(c.unchanged(), c.name);
            // The writer refuses them on its own too.
            QVERIFY(c.text.isEmpty() || !WriteDesktopLauncher(file, QStringLiteral("[Desktop Entry]\n")));
            QVERIFY2(c.unchanged(), c.name);
            QCOMPARE(QDir(desktop.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).size(), 1);
            QVERIFY(QFile::remove(file));
        }
    }

    // gio's answer never reaches stderr: where the file system keeps no GIO
    // metadata there is nothing to mark, and the launcher works all the same.
    void markingTrustedIsQuiet()
    {
        QTemporaryDir desktop;
        const QString file = desktop.filePath(QStringLiteral("z.desktop"));
        QVERIFY(WriteDesktopLauncher(file, QStringLiteral("[Desktop Entry]\n")));
        bool ran = false;
        const QByteArray err = zktest::CaptureStderr([&] {
            QProcess *gio = MarkLauncherTrusted(file);
            if (!gio)
                return;
            QSignalSpy finished(gio, &QProcess::finished);
            ran = finished.wait(20000);
        });
        if (!QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty())
            QVERIFY(ran);
        QVERIFY2(err.isEmpty(), err.constData());
    }
};

QTEST_MAIN(TstCreateShortcutWindow)
#include "tst_create_shortcut_window.moc"
