// The command input form (frmInput) and the history drop-down of the
// application box (frmMyComboBox, cmdDropButton) driven as a user would.
#include "app/window_services.h"
#include "core/launcher.h"
#include "core/ports/input_method.h"
#include "run/run_engine.h"
#include "platform/linux/settings_writer.h"
#include "settings/settings_file.h"
#include "support/fake/fake_clock.h"
#include "support/fake/fake_launcher_backend.h"
#include "support/fake/fake_services.h"
#include "ui/create_main_window.h"
#include "ui/create_shortcut_window.h"
#include "ui/history_list.h"
#include "ui/input_form.h"
#include "ui/main_window.h"
#include "ui/panels/application_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace zk;

namespace {

class RecordingInputMethod final : public InputMethodSwitch {
public:
    bool switchable = true;
    QList<bool> calls;
    void querySwitchable(QObject *, std::function<void(bool)> answer) override { answer(switchable); }
    void setOpen(bool open) override { calls << open; }
};

// The program as main() puts it together: the window, a real run engine and
// a real settings writer, over fake power backends.
struct Program {
    AppState state;
    FakeClock clock{QDateTime(QDate(2026, 12, 7), QTime(12, 0, 0))};
    QTemporaryDir dir;
    FakeSessionPower power;
    FakeWakeTimer wake;
    FakeLauncherBackend backend;
    PlatformServices services;
    Launcher launcher{backend, clock, dir.path()};
    SettingsWriter writer{dir.path() + QStringLiteral("/Conf.txt"), SettingsFileStatus::Missing, clock};
    AppWindowServices answers{state, clock, power, launcher, writer, dir.path()};
    std::unique_ptr<RunEngine> engine;
    std::unique_ptr<MainWindow> window;

    Program()
    {
        state.ActiveOddColor = state.history.HistoryOddColor;
        state.ActiveColors = state.history.HistoryColors;
        services.power = &power;
        services.wakeTimer = &wake;
        engine = std::make_unique<RunEngine>(state, clock, services, nullptr);
        window = createMainWindow(state, clock, answers, engine.get(), QString());
        // The application box is among the extended settings.
        window->findChild<QCheckBox *>(QStringLiteral("chk拡張"))->setChecked(true);
        QApplication::processEvents();
    }
    ~Program()
    {
        engine.reset();
        window.reset();
    }
    template <typename T> T *w(const QString &name) const { return window->findChild<T *>(name); }
    QLineEdit *appBox() const { return w<QLineEdit>(QStringLiteral("txtExecAp")); }
    ApplicationPanel *app() const { return window->findChild<ApplicationPanel *>(); }
    HistoryListWindow *openList()
    {
        QTest::mouseClick(w<QToolButton>(QStringLiteral("cmdDropButton")), Qt::LeftButton);
        return app()->historyList();
    }
    void key(HistoryListWindow *list, Qt::Key k)
    {
        QTest::keyClick(list->findChild<QScrollBar *>(QStringLiteral("VS")), k);
    }
};

QString shownText(HistoryListWindow *list)
{
    return list->currentRow() < 0 ? QString() : list->rowLabel(list->currentRow())->text();
}

void waitClosed(QPointer<HistoryListWindow> list)
{
    QTRY_VERIFY(!list);
}

}  // namespace

class TestInputForms : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        if (InputForm *f = InputForm::current())
            delete f;
    }

    // Starts from the window record the box's command and save it.
    void startsFromTheWindowRecordTheHistory()
    {
        Program p;
        for (const char *command : {"a", "b"}) {
            p.appBox()->setText(QString::fromLatin1(command));
            QTest::mouseClick(p.w<QPushButton>(QStringLiteral("cmd実行")), Qt::LeftButton);
            QVERIFY(p.engine->runActive());
            QTest::mouseClick(p.w<QPushButton>(QStringLiteral("cmd中止")), Qt::LeftButton);
            QVERIFY(!p.engine->runActive());
        }
        AppState read;
        QVERIFY(LoadSettings(p.dir.path() + QStringLiteral("/Conf.txt"), read, p.dir.path()) > 0);
        QCOMPARE(read.history.HistoryText, QStringLiteral("b\ta"));
    }

    void listChoosesWithKeysAndDeletesTheRowShown()
    {
        Program p;
        p.state.history.HistoryText = QStringLiteral("zeta /sound\tAlpha\tbeta");
        p.state.history.HistorySort = QStringLiteral("0");
        p.appBox()->setText(QStringLiteral("beta"));
        const QRect screen = p.window->screen()->geometry();
        const auto boxOnScreen = [&p] { return QRect(p.appBox()->mapToGlobal(QPoint(0, 0)), p.appBox()->size()); };
        p.window->move(p.window->x(), p.window->y() + screen.top() + 10 - boxOnScreen().top());

        QPointer<HistoryListWindow> list = p.openList();
        QVERIFY(list && list->isVisible());
        QCOMPARE(list->findChild<QScrollBar *>(QStringLiteral("VS")), QApplication::focusWidget());
        // Sorted, the box's entry current, the list under the box.
        QCOMPARE(list->rowLabel(0)->text(), QStringLiteral("Alpha"));
        QCOMPARE(shownText(list), QStringLiteral("beta"));
        // Under the box; above it where it would pass the bottom of the screen.
        QCOMPARE(list->geometry().top(), boxOnScreen().bottom() + 1);
        QCOMPARE(list->geometry().left(), qMin(boxOnScreen().left(), screen.right() + 1 - list->width()));
        QVERIFY(list->geometry().bottom() <= screen.bottom());

        p.key(list, Qt::Key_Up);
        QCOMPARE(shownText(list), QStringLiteral("Alpha"));
        p.key(list, Qt::Key_Return);
        waitClosed(list);
        QCOMPARE(p.appBox()->text(), QStringLiteral("Alpha"));
        p.window->move(p.window->x(), p.window->y() + screen.bottom() - 10 - boxOnScreen().bottom());
        QTRY_VERIFY((list = p.openList()) != nullptr);  // a click within a moment of the closing opens nothing
        QCOMPARE(list->geometry().bottom(), boxOnScreen().top() - 1);
        list->close();
        waitClosed(list);
        QCOMPARE(p.state.job.AppCommand, QStringLiteral("Alpha"));

        // A click on the button while the list is open closes it.
        QTRY_VERIFY((list = p.openList()) != nullptr);
        p.app()->showHistoryList();
        waitClosed(list);

        // Delete removes exactly the row shown, not the stored row of its number.
        QTRY_VERIFY((list = p.openList()) != nullptr);
        p.key(list, Qt::Key_Down);
        p.key(list, Qt::Key_Down);
        QCOMPARE(shownText(list), QStringLiteral("zeta /sound"));
        p.key(list, Qt::Key_Delete);
        waitClosed(list);
        QCOMPARE(p.state.history.HistoryText, QStringLiteral("Alpha\tbeta"));
    }

    void historyMenu()
    {
        Program p;
        p.state.history.HistoryRows = 20;
        p.state.history.HistoryMax = 5;
        QMenu *menu = p.app()->historyMenu();
        auto item = [menu](const char *name) { return menu->findChild<QAction *>(QLatin1String(name)); };
        p.app()->showHistoryMenu(QPoint(10, 10));
        QVERIFY(item("mnuOddColor")->isChecked());
        item("mnuDispListCount_Down")->trigger();
        item("mnuHistoryCount_Up")->trigger();
        QCOMPARE(p.state.history.HistoryRows, 19);
        QCOMPARE(p.state.history.HistoryMax, 6);
        item("mnuSort_1")->trigger();
        QCOMPARE(p.state.history.HistorySort, QStringLiteral("1"));
        item("mnuSort_0")->trigger();
        QCOMPARE(p.state.history.HistorySort, QStringLiteral("0"));
        item("mnuOddColor")->trigger();  // off
        QCOMPARE(p.state.ActiveOddColor, QString());
        menu->hide();
        p.app()->showHistoryMenu(QPoint(10, 10));
        QVERIFY(item("mnuSort_0")->isChecked() && !item("mnuSort_1")->isChecked());
        QVERIFY(!item("mnuOddColor")->isChecked());
        menu->hide();

        // "編集" opens the input form on the application box.
        p.appBox()->setText(QStringLiteral("prog -x"));
        item("mnuDropdownEdit")->trigger();
        QVERIFY(InputForm::current());
        QCOMPARE(InputForm::current()->textBox()->toPlainText(), QStringLiteral("prog -x"));
    }

    void formEditsAndRemembers()
    {
        Program p;
        p.state.edit.EditFontSize = 39;
        p.state.edit.EditWidth = 400 * 15;
        p.state.edit.EditHeight = 200 * 15;
        QLineEdit *box = p.appBox();
        box->setText(QStringLiteral("old"));
        QTest::mouseDClick(box, Qt::LeftButton);
        QTRY_VERIFY(InputForm::current());
        InputForm *form = InputForm::current();
        QVERIFY(form->isModal());
        QCOMPARE(form->size(), QSize(400, 200));
        QVERIFY(form->findChild<QLabel *>(QStringLiteral("lblComSw"))->isVisibleTo(form));
        QLabel *ime = form->findChild<QLabel *>(QStringLiteral("lblIME"));
        QCOMPARE(ime->text(), QStringLiteral("English"));

        QPlainTextEdit *t = form->textBox();
        t->selectAll();
        QTest::keyClicks(t, QStringLiteral("run"));
        QTest::keyClick(t, Qt::Key_Return);
        QTest::keyClick(t, Qt::Key_Enter);
        QTest::keyClick(t, Qt::Key_Tab);
        QTest::keyClicks(t, QStringLiteral("-x"));
        t->insertPlainText(QStringLiteral("\tline\nbreak"));  // pasted
        QCOMPARE(t->toPlainText(), QStringLiteral("run\t-x\tline\nbreak"));

        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(form->findChild<QToolButton *>(QStringLiteral("UpD_0")), Qt::LeftButton);
        QCOMPARE(t->font().pointSize(), 40);
        QTest::mouseClick(ime, Qt::LeftButton);
        QCOMPARE(ime->text(), QStringLiteral("日本語"));
        form->resize(450, 220);
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("cmd閉じる_0")), Qt::LeftButton);
        QTRY_VERIFY(!InputForm::current());
        QCOMPARE(box->text(), QStringLiteral("run -x line break"));
        QCOMPARE(p.state.job.AppCommand, QStringLiteral("run -x line break"));
        QCOMPARE(p.state.edit.EditFontSize, 40);
        QCOMPARE(p.state.edit.EditMode, 1);
        QCOMPARE(p.state.edit.EditWidth, 450 * 15);

        // Reopened (on the phrase box): size, font and state as left; no
        // parameter help; Cancel changes nothing; the phrase keeps its lines.
        QPlainTextEdit *phrase = p.w<QPlainTextEdit>(QStringLiteral("txt監視文言"));
        p.w<QCheckBox>(QStringLiteral("chk監視"))->setChecked(true);
        phrase->setPlainText(QStringLiteral("first\nsecond"));
        QTest::mouseDClick(phrase->viewport(), Qt::LeftButton);
        QTRY_VERIFY(InputForm::current());
        form = InputForm::current();
        QCOMPARE(form->size(), QSize(450, 220));
        QCOMPARE(form->textBox()->font().pointSize(), 40);
        QCOMPARE(form->findChild<QLabel *>(QStringLiteral("lblIME"))->text(), QStringLiteral("日本語"));
        QVERIFY(!form->findChild<QLabel *>(QStringLiteral("lblComSw"))->isVisibleTo(form));
        for (int i = 0; i < 40; ++i)
            form->changeFontSize(-1);
        QCOMPARE(form->textBox()->font().pointSize(), 9);
        form->textBox()->setPlainText(QStringLiteral("changed"));
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("cmd閉じる_1")), Qt::LeftButton);
        QTRY_VERIFY(!InputForm::current());
        QCOMPARE(p.state.edit.EditFontSize, 40);

        QTest::mouseDClick(phrase->viewport(), Qt::LeftButton);
        QTRY_VERIFY(InputForm::current());
        InputForm::current()->textBox()->appendPlainText(QStringLiteral("\tthird"));
        InputForm::current()->accept();
        QCOMPARE(p.state.job.MonitorPhrase, QStringLiteral("first\r\nsecond\r\n third"));
    }

    // The shortcut maker's boxes open the form on their text, without the
    // parameter help (the arguments there are the program's own switches).
    void shortcutMakerBoxOpensTheForm()
    {
        Program p;
        CreateShortcutWindow maker(QStringLiteral("/tmp/z\t/bin/true\t-auto -reboot"), ShortcutEnvironment(),
                                   p.window.get());
        p.window->attachShortcutMaker(&maker);
        maker.show();
        QTest::mouseDClick(maker.box(kBoxArguments), Qt::LeftButton);
        QTRY_VERIFY(InputForm::current());
        InputForm *form = InputForm::current();
        QCOMPARE(form->textBox()->toPlainText(), QStringLiteral("-auto -reboot"));
        QVERIFY(!form->findChild<QLabel *>(QStringLiteral("lblComSw"))->isVisibleTo(form));
        form->textBox()->setPlainText(QStringLiteral("-auto -logoff"));
        form->accept();
        QCOMPARE(maker.box(kBoxArguments)->text(), QStringLiteral("-auto -logoff"));
    }

    void inputMethodSwitch()
    {
        EditSettings edit;
        edit.EditMode = 1;
        QLineEdit box;
        RecordingInputMethod im;
        InputFormSetup setup;
        setup.edit = &edit;
        setup.inputMethod = &im;
        InputForm *form = InputForm::open(&box, setup, QPoint(5, 5));
        QVERIFY(form->inputMethodSwitchable());
        QTRY_COMPARE(im.calls, (QList<bool>{true}));  // the stored state is put in place
        form->toggleInputMethod();
        QCOMPARE(im.calls, (QList<bool>{true, false}));
        QCOMPARE(form->findChild<QLabel *>(QStringLiteral("lblIME"))->toolTip(),
                 QStringLiteral("クリックで 日本語⇔English 切り替え"));
        form->accept();
        QCOMPARE(edit.EditMode, 0);

        // Nothing to switch: the state is only kept, and the tooltip says so.
        im.switchable = false;
        im.calls.clear();
        form = InputForm::open(&box, setup, QPoint(5, 5));
        form->toggleInputMethod();
        QVERIFY(im.calls.isEmpty());
        QVERIFY(form->findChild<QLabel *>(QStringLiteral("lblIME"))->toolTip().contains(QStringLiteral("記憶")));
        form->accept();
        QCOMPARE(edit.EditMode, 1);
    }
};

QTEST_MAIN(TestInputForms)
#include "tst_input_forms.moc"
