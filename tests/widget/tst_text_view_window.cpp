// The text window of the generated command line and the help-file opening.
#include "core/command_line_generator.h"
#include "core/job.h"
#include "core/launcher.h"
#include "support/fake/fake_clock.h"
#include "support/fake/fake_launcher_backend.h"
#include "settings/defaults.h"
#include "ui/text_view_window.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using namespace zk;

namespace {

QList<TextViewWindow *> openViews()
{
    QList<TextViewWindow *> out;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *v = qobject_cast<TextViewWindow *>(w); v && v->isVisible())
            out << v;
    }
    return out;
}

void closeViews()
{
    for (TextViewWindow *v : openViews())
        v->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class TstTextViewWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { closeViews(); }

    void commandLineWindow()
    {
        AppState state;
        SetDefaults(state, QDateTime(QDate(2026, 12, 6), QTime(8, 0)), QString());
        state.job.Topmost = 0;
        TextViewWindow *w = ShowCommandLineWindow(state);
        QVERIFY(w->isVisible());
        QCOMPARE(w->objectName(), QStringLiteral("frmTextView"));
        QCOMPARE(w->text(), BuildCommandLine(state) + QLatin1Char(' '));
        QVERIFY(w->editor()->isReadOnly());
        QVERIFY(w->editor()->textInteractionFlags() & Qt::TextSelectableByMouse);
        QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);

        const QRect area = w->screen()->availableGeometry();
        QCOMPARE(w->frameGeometry().topLeft(), area.topLeft());
        QCOMPARE(w->geometry().width(), std::max(200, area.width() / 2));
        QCOMPARE(w->geometry().height(), std::max(80, area.height() / 6));
    }

    // Settings that would come back as a different run: a message box instead
    // of a line.
    void commandLineRefused()
    {
        AppState state;
        SetDefaults(state, QDateTime(QDate(2026, 12, 6), QTime(8, 0)), QString());
        state.job.ResumeEnabled = 1;
        state.job.AppCommand = QStringLiteral("/opt/App/run");
        QVERIFY(!ShowCommandLineWindow(state));
        QVERIFY(openViews().isEmpty());
        QMessageBox *box = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *b = qobject_cast<QMessageBox *>(w); b && b->isVisible())
                box = b;
        }
        QVERIFY(box);
        QVERIFY2(box->text().contains(QStringLiteral("大文字")), qPrintable(box->text()));
        box->close();
    }

    void copyButton()
    {
        TextViewWindow *w = TextViewWindow::showText(QStringLiteral("-auto -reboot -time 10 "), QStringLiteral("t"));
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::mouseClick(w->copyButton(), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("-auto -reboot -time 10 "));

        // With a selection, only the selection is copied.
        QTextCursor c = w->editor()->textCursor();
        c.setPosition(6);
        c.setPosition(13, QTextCursor::KeepAnchor);
        w->editor()->setTextCursor(c);
        QTest::mouseClick(w->copyButton(), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("-reboot"));
    }

    void helpFile_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("startFails");
        QTest::addColumn<bool>("started");
        QTest::addColumn<bool>("ownWindow");
        QTest::newRow("missing: nothing happens") << false << false << false << false;
        QTest::newRow("opened with its application") << true << false << true << false;
        QTest::newRow("no application: shown here") << true << true << true << true;
    }
    void helpFile()
    {
        QFETCH(bool, present);
        QFETCH(bool, startFails);
        QFETCH(bool, started);
        QFETCH(bool, ownWindow);
        QTemporaryDir dir;
        const QString file = dir.path() + QStringLiteral("/command_line.txt");
        if (present) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("-auto の説明\n");
        }
        FakeLauncherBackend backend;
        backend.startFails = startFails;
        backend.associations.insert(QStringLiteral(".txt"), QStringLiteral("/usr/bin/mousepad %F"));
        backend.files.insert(file);
        FakeClock clock;
        Launcher launcher(backend, clock, dir.path());
        QCOMPARE(OpenHelpFile(launcher, QStringLiteral("command_line.txt"), HelpPlacement::TopLeftLarge), present);
        QCOMPARE(!backend.started.isEmpty(), started);
        if (started) {
            QCOMPARE(backend.started.first().program, QStringLiteral("/usr/bin/mousepad"));
            QCOMPARE(backend.started.first().arguments, QStringList{file});
        }
        const QList<TextViewWindow *> views = openViews();
        QCOMPARE(views.size(), ownWindow ? 1 : 0);
        if (ownWindow) {
            QCOMPARE(views.first()->text(), QStringLiteral("-auto の説明\n"));
            const QRect area = views.first()->screen()->availableGeometry();
            QCOMPARE(views.first()->geometry().width(), std::max(200, int(area.width() * 2.0 / 3.0)));
        }
    }
};

QTEST_MAIN(TstTextViewWindow)
#include "tst_text_view_window.moc"
