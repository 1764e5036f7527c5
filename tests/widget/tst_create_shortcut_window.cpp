// The shortcut maker writes a valid launcher that runs the generated arguments;
// the text window shows the generated command line and the help files.
#include "core/command_line.h"
#include "core/command_line_generator.h"
#include "core/desktop_entry.h"
#include "core/launcher.h"
#include "platform/linux/desktop_launcher_file.h"
#include "settings/defaults.h"
#include "support/capture_stdout.h"
#include "support/fake/fake_clock.h"
#include "support/fake/fake_launcher_backend.h"
#include "support/file_size_limit.h"
#include "ui/create_shortcut_window.h"
#include "ui/text_view_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
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
    QTest::mouseClick(w->findChild<QPushButton *>(QString::fromLatin1(name)), Qt::LeftButton);
}

void Answer(CreateShortcutWindow *w, QMessageBox::StandardButton button)
{
    QMessageBox *box = w->openMessageBox();
    QVERIFY(box);
    box->button(button)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The visible top-level windows of type T.
template <typename T> QList<T *> shown()
{
    QList<T *> out;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *v = qobject_cast<T *>(w); v && v->isVisible())
            out << v;
    }
    return out;
}

}  // namespace

class TstCreateShortcutWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        for (TextViewWindow *v : shown<TextViewWindow>())
            v->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

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
        // generated arguments, blanks and angle brackets included (that they
        // run the same is the generator's and the parser's own test).
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const DesktopEntry entry = ParseDesktopEntry(QString::fromUtf8(f.readAll()));
        QCOMPARE(entry.path, QFileInfo(target).path());
        QCOMPARE(ExecArguments(entry.exec), QStringList{target} + ArgumentsOfCommandLine(line));
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
        // Enter in a box creates nothing (the double click is tst_main_window's).
        w->box(kBoxFile)->setFocus();
        QTest::keyClick(w->box(kBoxFile), Qt::Key_Return);
        QVERIFY(!w->openMessageBox());
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
        // Written plainly: a gio started by the writer would outlive the test.
        QFile launcher(file);
        QVERIFY(launcher.open(QIODevice::WriteOnly) && launcher.write("[Desktop Entry]\n") > 0);
        launcher.close();
        bool ran = false;
        const QByteArray err = zktest::CaptureStderr([&] {
            QProcess *gio = MarkLauncherTrusted(file);
            if (!gio)
                return;
            QSignalSpy finished(gio, &QProcess::finished);
            ran = finished.wait(20000);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        });
        if (!QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty())
            QVERIFY(ran);
        QVERIFY2(err.isEmpty(), err.constData());
    }

    void commandLineWindow()
    {
        AppState state;
        SetDefaults(state, kNow, QString());
        state.job.Topmost = 0;
        TextViewWindow *w = ShowCommandLineWindow(state);
        QVERIFY(w->isVisible());
        QCOMPARE(w->text(), BuildCommandLine(state) + QLatin1Char(' '));
        QVERIFY(w->editor()->isReadOnly());
        QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);

        const QRect area = w->screen()->availableGeometry();
        QCOMPARE(w->frameGeometry().topLeft(), area.topLeft());
        QCOMPARE(w->geometry().width(), std::max(200, area.width() / 2));
        QCOMPARE(w->geometry().height(), std::max(80, area.height() / 6));

        // Copy takes the selection, or all of the text without one.
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::mouseClick(w->copyButton(), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), w->text());
        QTextCursor c = w->editor()->textCursor();
        c.setPosition(1);
        c.setPosition(5, QTextCursor::KeepAnchor);
        w->editor()->setTextCursor(c);
        QTest::mouseClick(w->copyButton(), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), w->text().mid(1, 4));
        w->close();

        // Settings that would come back as a different run: a message box
        // instead of a line.
        state.job.ResumeEnabled = 1;
        state.job.AppCommand = QStringLiteral("/opt/App/run");
        QVERIFY(!ShowCommandLineWindow(state));
        QVERIFY(shown<TextViewWindow>().isEmpty());
        const QList<QMessageBox *> boxes = shown<QMessageBox>();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0]->text().contains(QStringLiteral("大文字")), qPrintable(boxes[0]->text()));
        boxes[0]->close();
    }

    void helpFile_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("ownWindow");  // no application starts: shown here
        QTest::newRow("missing: nothing happens") << false << false;
        QTest::newRow("opened with its application") << true << false;
        QTest::newRow("no application: shown here") << true << true;
    }
    void helpFile()
    {
        QFETCH(bool, present);
        QFETCH(bool, ownWindow);
        QTemporaryDir dir;
        const QString file = dir.path() + QStringLiteral("/command_line.txt");
        if (present) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("-auto の説明\n");
        }
        FakeLauncherBackend backend;
        backend.startFails = ownWindow;
        backend.associations.insert(QStringLiteral(".txt"), QStringLiteral("/usr/bin/mousepad %F"));
        backend.files.insert(file);
        FakeClock clock;
        Launcher launcher(backend, clock, dir.path());
        QCOMPARE(OpenHelpFile(launcher, QStringLiteral("command_line.txt"), HelpPlacement::TopLeftLarge), present);
        QCOMPARE(backend.started.size(), present ? 1 : 0);
        const QList<TextViewWindow *> views = shown<TextViewWindow>();
        QCOMPARE(views.size(), ownWindow ? 1 : 0);
        if (ownWindow) {
            QCOMPARE(views.first()->text(), QStringLiteral("-auto の説明\n"));
            const QRect area = views.first()->screen()->availableGeometry();
            QCOMPARE(views.first()->geometry().width(), std::max(200, int(area.width() * 2.0 / 3.0)));
        }
    }
};

QTEST_MAIN(TstCreateShortcutWindow)
#include "tst_create_shortcut_window.moc"
