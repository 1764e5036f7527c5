// The main window, its input form, history list, multi schedule and resume
// list driven as a user would, over the fake platform and a clock that only
// moves when the test moves it.
#include "app/window_services.h"
#include "core/launcher.h"
#include "support/fake/fake_launcher_backend.h"
#include "support/window_rig.h"
#include "platform/linux/settings_writer.h"
#include "settings/settings_file.h"
#include "core/ports/input_method.h"
#include "ui/create_main_window.h"
#include "ui/create_shortcut_window.h"
#include "ui/history_list.h"
#include "ui/input_form.h"
#include "ui/main_window.h"
#include "ui/multi_frame.h"
#include "ui/panels/application_panel.h"
#include "ui/popups.h"
#include "ui/ticker_label.h"
#include "ui/week_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QToolButton>
#include <QtTest>

using namespace zk;

namespace {

struct Rig : WindowRig {
    explicit Rig(bool withEngine = true)
        : WindowRig(QDateTime(QDate(2026, 12, 7), QTime(12, 0, 0)), withEngine, {},
                    [](const QString &p) { return p == QStringLiteral("/bin/true"); })
    {
    }
    QMessageBox *box() const { return window->openMessageBox(); }
    // Title and text of the open message box; empty when none is open.
    QStringList boxTexts() const { return box() ? QStringList{box()->windowTitle(), box()->text()} : QStringList(); }
    void click(const QString &button) { QTest::mouseClick(w<QPushButton>(button), Qt::LeftButton); }
    void answer(QMessageBox::StandardButton b)
    {
        QMessageBox *m = box();
        QVERIFY(m);
        m->button(b)->click();
        QCoreApplication::processEvents();
    }
};

// The application box shown, its history in colours, for the input form and
// the history drop-down (frmInput, frmMyComboBox, cmdDropButton).
struct FormRig : Rig {
    FormRig()
    {
        state.ActiveOddColor = state.history.HistoryOddColor;
        state.ActiveColors = state.history.HistoryColors;
        window->show();
        w<QCheckBox>("chk拡張")->setChecked(true);
        QApplication::processEvents();
    }
    QLineEdit *appBox() const { return w<QLineEdit>("txtExecAp"); }
    ApplicationPanel *app() const { return window->findChild<ApplicationPanel *>(); }
    HistoryListWindow *openList()
    {
        QTest::mouseClick(w<QToolButton>("cmdDropButton"), Qt::LeftButton);
        return app()->historyList();
    }
    void key(HistoryListWindow *list, Qt::Key k) { QTest::keyClick(list->findChild<QScrollBar *>("VS"), k); }
};

QString shownText(HistoryListWindow *list)
{
    return list->currentRow() < 0 ? QString() : list->rowLabel(list->currentRow())->text();
}

class RecordingInputMethod final : public InputMethodSwitch {
public:
    bool switchable = true;
    QList<bool> calls;
    void querySwitchable(QObject *, std::function<void(bool)> answer) override { answer(switchable); }
    void setOpen(bool open) override { calls << open; }
};

// The multi schedule frame and the resume list form (frmWeek) on a Monday.
struct MultiRig : WindowRig {
    MultiRig()
        : WindowRig(QDateTime(QDate(2026, 12, 7), QTime(8, 0, 0)), true, [](AppState &s) {
              s.MultiRows[0] = {"23", "30", "シャットダウン", ""};
              s.MultiRows[1] = {"6", "0", "復帰", "edit"};
          })
    {
        window->show();
    }
    MultiScheduleFrame *frame() const { return w<MultiScheduleFrame>(QStringLiteral("fr連続")); }
};

bool Highlighted(QWidget *w)
{
    return w->styleSheet().contains(QStringLiteral("#E0E0FF"));
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { delete InputForm::current(); }

    void everyControlExistsAndIsNamedForScreenReaders()
    {
        Rig r(false);
        // The names no other test reaches (a test fails on any name it misses).
        const QStringList names{"frmZenkoro", "UpD_H_1", "UpD_M_0", "UpD_M_1", "opt監視選択_0", "lbl平均",
                                "lblCPU使用率", "lblStatus", "txtResume_4", "UpD_rY_0", "UpD_rMM_1", "chk最小化",
                                "chkNoDispAlert", "lbl復帰時分"};
        for (const QString &n : names)
            QVERIFY2(r.window->objectName() == n || r.window->findChild<QWidget *>(n), qPrintable(n));

        // Every control a user can reach has a name a screen reader can read.
        for (QWidget *w : r.window->findChildren<QWidget *>()) {
            const bool control = qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w) ||
                                 qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w) ||
                                 qobject_cast<QGroupBox *>(w);
            if (!control || w->objectName().startsWith(QLatin1String("qt_")) || w->objectName().isEmpty())
                continue;
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        }
    }

    void editsGoStraightIntoTheRecord()
    {
        Rig r(false);
        // The phrase options follow the monitor box, the phrase tooltip the option.
        r.w<QRadioButton>("OptMsg_1")->click();
        QCOMPARE(r.state.job.PhraseEvent, 0);  // the monitor is off: its options are disabled
        r.w<QCheckBox>("chk監視")->click();
        r.w<QRadioButton>("OptMsg_1")->click();
        QCOMPARE(r.state.job.PhraseEvent, 1);
        QVERIFY(r.w<QWidget>("txt監視文言")->toolTip().contains(QStringLiteral("「表示されなくなった時」")));
        r.w<QCheckBox>("chkForce")->click();
        QCOMPARE(r.state.job.Force, 1);
        r.w<QCheckBox>("chkWeek_3")->click();
        QCOMPARE(r.state.job.resumeWeekday(3), 0);
        r.w<QLineEdit>("txtExecAp")->setText(QStringLiteral("/bin/true -x"));
        QCOMPARE(r.state.job.AppCommand, QStringLiteral("/bin/true -x"));
        auto *phrase = r.w<QPlainTextEdit>("txt監視文言");
        phrase->setPlainText(QStringLiteral("完了\nしました"));
        QCOMPARE(r.state.job.MonitorPhrase, QStringLiteral("完了\r\nしました"));

        // And the other way: a changed record shows after settingsChanged.
        r.state.job.DelayMinutes = QStringLiteral("  45");
        r.state.job.Topmost = 0;
        r.state.job.MonitorPhrase = QStringLiteral("a\r\nb");
        r.window->settingsChanged();
        QCOMPARE(r.w<QComboBox>("cmbTime")->currentText(), QStringLiteral("  45"));
        QVERIFY(!r.w<QCheckBox>("chkDsp")->isChecked());
        QCOMPARE(phrase->toPlainText(), QStringLiteral("a\nb"));
        AppState copy;
        r.window->storeTo(copy);
        QCOMPARE(copy.job, r.state.job);

        // The process list asks for fresh entries when it opens; the choice
        // stays, even when its process has ended.
        r.state.job.CpuProcess = QStringLiteral("412 render");
        r.window->settingsChanged();
        auto *list = r.w<QComboBox>("cmbProcess");
        QObject::connect(r.window.get(), &MainWindow::processListRequested, r.window.get(), [&r] {
            r.window->setProcessList({QStringLiteral("  7 bash"), QStringLiteral("900 zenkoro")});
        });
        list->showPopup();
        QCOMPARE(list->count(), 4);
        QCOMPARE(list->currentText(), QStringLiteral("412 render"));
        QCOMPARE(r.state.job.CpuProcess, QStringLiteral("412 render"));
        list->hidePopup();
        list->setCurrentIndex(2);
        QCOMPARE(r.state.job.CpuProcess, QStringLiteral("900 zenkoro"));

        // The resume box follows the operation. Hibernation is asked of the system
        // and only the answer to the last choice counts: a refusal says so and puts
        // back the operation chosen before.
        r.window->show();
        auto *op = r.w<QComboBox>("cmbOp");
        auto *resume = r.w<QCheckBox>("chk復帰");
        QVERIFY(!resume->isEnabled());
        op->setCurrentIndex(4);  // スリープ
        resume->click();
        QCOMPARE(r.state.job.ResumeEnabled, 1);
        op->setCurrentIndex(1);
        QVERIFY(!resume->isEnabled() && !resume->isChecked());

        r.fake.power.hibernation = false;
        r.fake.power.holdAnswers = true;
        op->setCurrentIndex(3);  // asked, and the window goes on meanwhile
        QCOMPARE(r.state.job.Operation, 1);
        op->setCurrentIndex(4);
        QCOMPARE(r.fake.power.answerHeld(), 1);
        QVERIFY(!r.box());
        QCOMPARE(r.state.job.Operation, 4);
        op->setCurrentIndex(3);
        QCOMPARE(r.fake.power.answerHeld(), 1);
        QCOMPARE(r.boxTexts(), (QStringList{"無効", "「休止」は無効となっています。\r\n[電源のオプション]から「休止」を有効にして下さい。"}));
        QCOMPARE(op->currentIndex(), 4);
        QCOMPARE(r.state.job.Operation, 4);
        QCOMPARE(r.window->windowTitle(), CaptionFor(OperationText(OperationKind::Sleep)));
        r.answer(QMessageBox::Ok);
    }

    // The number boxes keep digits only (leading blanks in the list boxes, full
    // stops in the CPU lower limit), never completed to a list entry; a value
    // the program sets shows as it is. Leaving a box applies its rule.
    void numberBoxesAndSpinners()
    {
        Rig r;
        r.window->show();
        QVERIFY(QTest::qWaitForWindowActive(r.window.get()));
        r.w<QCheckBox>("chk拡張")->setChecked(true);
        r.w<QCheckBox>("chk監視")->setChecked(true);
        r.w<QRadioButton>("opt監視選択_1")->click();
        const auto type = [&r](const char *name, const char *keys) {
            QWidget *w = r.w<QWidget>(QString::fromUtf8(name));
            auto *c = qobject_cast<QComboBox *>(w);
            QLineEdit *e = c ? c->lineEdit() : qobject_cast<QLineEdit *>(w);
            e->setFocus();
            e->selectAll();
            QTest::keyClick(e, Qt::Key_Backspace);
            QTest::keyClicks(e, QString::fromUtf8(keys));
            return e->text();
        };
        r.window->setTimingMode(1);
        QCOMPARE(type("txtH", "2a5"), QStringLiteral("25"));
        r.w<QLineEdit>("txtM")->setFocus();  // leaving the hour box corrects it
        QCOMPARE(r.state.job.ClockHour, QStringLiteral("23"));

        // A spinner steps on the press and repeats while held, not on the
        // release; the resume date spinners fill all five boxes when the year is empty.
        auto *hour = r.w<QLineEdit>("txtH");
        auto *up = r.w<QToolButton>("UpD_H_0");
        QTest::mousePress(up, Qt::LeftButton);
        QCOMPARE(hour->text(), QStringLiteral("0"));
        QTRY_VERIFY(hour->text().toInt() >= 2);
        const QString held = hour->text();
        QTest::mouseRelease(up, Qt::LeftButton);
        QCOMPARE(hour->text(), held);
        for (int i = 0; i < 5; ++i)
            r.w<QLineEdit>(QStringLiteral("txtResume_%1").arg(i))->clear();
        QTest::mouseClick(r.w<QToolButton>("UpD_rD_0"), Qt::LeftButton);
        QCOMPARE(r.state.job.ResumeDateParts, (std::array<QString, 5>{"2026", "12", "7", "12", "0"}));
        r.window->setTimingMode(0);
        const std::tuple<const char *, const char *, const char *> typed[] = {
            {"cmbTime", "1x5", "15"}, {"cmbTime", "1", "1"}, {"cmb下限", "a1.5b-", "1.5"},
            {"cmb継続時間", "7x.3", "73"}, {"cmbTimePower", " 3s0", " 30"}, {"txtResume_0", "2 x0", "20"}};
        for (const auto &[box, keys, kept] : typed)
            QVERIFY2(type(box, keys) == QString::fromUtf8(kept), box);
        const JobSettings &j = r.state.job;
        QCOMPARE((QStringList{j.DelayMinutes, j.CpuLowerLimit, j.IdleSeconds, j.ResumeDateParts[0]}),
                 (QStringList{"1", "1.5", " 30", "20"}));
        // Leaving the averaging span below 5 seconds keeps the focus in it.
        auto *span = r.w<QComboBox>("cmb継続時間");
        const std::pair<const char *, bool> leaving[] = {{"3", true}, {"", true}, {"5", false}};
        for (const auto &[keys, stays] : leaving) {
            type("cmb継続時間", keys);
            QTest::keyClick(span, Qt::Key_Tab);
            QCoreApplication::processEvents();
            QVERIFY2((r.window->focusWidget() == span) == stays, keys);
        }

        // An empty minutes box is refused when left and at the start.
        auto *minutes = r.w<QComboBox>("cmbTime");
        type("cmbTime", "");
        r.w<QCheckBox>("ChkMulti")->setFocus();
        QCOMPARE(r.boxTexts(), (QStringList{"未入力", "0 以上の整数を入力して下さい。"}));
        r.answer(QMessageBox::Ok);
        QCOMPARE(r.window->focusWidget(), minutes);
        r.w<QPushButton>("cmd実行")->click();
        QCOMPARE(r.boxTexts().value(0), QStringLiteral("未入力"));
        r.answer(QMessageBox::Ok);
        QVERIFY(!r.engine->runActive());

        r.state.job.DelayMinutes = QStringLiteral("1e3");  // reads as 1 minute, not 13
        r.window->settingsChanged();
        QCOMPARE(minutes->currentText(), QStringLiteral("1e3"));
    }

    void refusedStartsFocusTheirField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("minutes") << "cmbTime";
        QTest::newRow("phrase") << "txt監視文言";
        QTest::newRow("path") << "txtExecAp";
    }
    void refusedStartsFocusTheirField()
    {
        QFETCH(QString, field);
        Rig r;
        QWidget *target = r.w<QWidget>(field);
        if (field == QLatin1String("cmbTime")) {
            r.state.job.DelayMinutes = QStringLiteral("14401");
        } else if (field == QStringLiteral("txt監視文言")) {
            r.state.job.MonitorEnabled = 1;
            r.state.job.MonitorPhrase = QStringLiteral("abc%JUGEMU_JUGEMU_GOKO_NO_comma%");
        } else {
            r.state.job.Operation = 4;
            r.state.job.ResumeEnabled = 1;
            r.state.job.ResumeAtClock = 0;
            r.state.job.ResumeDateParts = {"2026", "12", "7", "12", "0"};
            r.state.job.AppCommand = QStringLiteral("/nonexistent/tool -a");
        }
        r.window->settingsChanged();
        r.window->show();
        QVERIFY(QTest::qWaitForWindowActive(r.window.get()));
        r.click("cmd実行");
        r.answer(QMessageBox::Ok);
        QVERIFY(!r.engine->runActive());
        QCOMPARE(r.window->focusWidget(), target);
        if (auto *c = qobject_cast<QComboBox *>(target))
            target = c->lineEdit();
        if (auto *e = qobject_cast<QLineEdit *>(target)) {
            QCOMPARE(e->selectedText(), e->text());
        } else {
            auto *p = qobject_cast<QPlainTextEdit *>(target);
            QCOMPARE(p->textCursor().selectedText(), p->toPlainText());
        }
        QCOMPARE(r.answers.saves, 1);  // the start button saves even a refused start
    }

    // Save reports the writer's answer and stores where the window is; the
    // default button asks first, then resets and places the window as stored.
    void buttonsAndDialogs()
    {
        Rig r(false);
        r.window->show();
        r.window->move(200, 120);
        r.click("cmdSave");
        QCOMPARE(r.boxTexts(), (QStringList{"Zenkoro", "保存完了"}));
        QCOMPARE(r.state.WindowLeft, 200 * kTwipsPerPixel);
        r.answer(QMessageBox::Ok);
        r.answers.saveWorks = false;
        r.click("cmdSave");
        QCOMPARE(r.boxTexts(), (QStringList{"書込みエラー", QStringLiteral("設定値の保存に失敗しました！\r\n媒体が書込み不可、または、ファイル（Conf.txt）が読取専用になっていないか、確認してください。")}));
        r.answer(QMessageBox::Ok);

        r.w<QCheckBox>("chkForce")->click();
        r.click("cmdDefault");
        QCOMPARE(r.boxTexts(), (QStringList{"既定値", "既定値に戻します。よろしいですか？"}));
        r.answer(QMessageBox::Cancel);
        QCOMPARE(r.answers.resets, 0);
        r.state.WindowLeft = 150 * kTwipsPerPixel;  // where the reset settings put it
        r.state.WindowTop = 90 * kTwipsPerPixel;
        r.click("cmdDefault");
        r.answer(QMessageBox::Ok);
        QCOMPARE(r.answers.resets, 1);
        QVERIFY(!r.w<QCheckBox>("chkForce")->isChecked());
        QCOMPARE(r.window->pos(), QPoint(150, 90));

        // The browse button starts in the last program folder and puts the chosen
        // file in quotes; cmdCapFolder starts at the capture folder, and
        // cancelling keeps it. The command-line buttons and label ask the program.
        QTemporaryDir dir, chosen;
        const QString file = dir.path() + QStringLiteral("/my tool.sh");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        r.state.LastProgramFolder = dir.path();
        r.state.CaptureFolder = dir.path();
        r.window->findChild<zk::ApplicationPanel *>()->browseApplication();
        auto *dlg = r.window->findChild<QFileDialog *>(QStringLiteral("dlgBrowseApplication"));
        QVERIFY(dlg);
        QCOMPARE(QDir(dlg->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        Q_EMIT dlg->fileSelected(file);
        QCOMPARE(r.state.job.AppCommand, QLatin1Char('"') + file + QLatin1Char('"'));
        QCOMPARE(r.state.LastProgramFolder, QFileInfo(file).absolutePath());

        QTest::mouseClick(r.window->findChild<QPushButton *>(QStringLiteral("cmdCapFolder")), Qt::LeftButton);
        dlg = r.window->findChild<QFileDialog *>(QStringLiteral("dlgCaptureFolder"));
        QVERIFY(dlg);
        QCOMPARE(QDir(dlg->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        Q_EMIT dlg->fileSelected(QString());
        QCOMPARE(r.state.CaptureFolder, dir.path());
        Q_EMIT dlg->fileSelected(chosen.path());
        QCOMPARE(r.state.CaptureFolder, chosen.path());

        QSignalSpy line(r.window.get(), &MainWindow::commandLineRequested);
        QSignalSpy shortcut(r.window.get(), &MainWindow::shortcutRequested);
        QSignalSpy help(r.window.get(), &MainWindow::commandLineHelpRequested);
        QTest::mouseClick(r.window->findChild<QPushButton *>(QStringLiteral("cmdMakeCommandLine")), Qt::LeftButton);
        QTest::mouseClick(r.window->findChild<QPushButton *>(QStringLiteral("cmdCreateShortcut")), Qt::LeftButton);
        QTest::mouseClick(r.window->findChild<QLabel *>(QStringLiteral("lblCommandline")), Qt::LeftButton);
        QCOMPARE((QList<qsizetype>{line.size(), shortcut.size(), help.size()}), (QList<qsizetype>{1, 1, 1}));
        // Unticking the extended box saves; ticking it does not.
        const int before = r.answers.saves;
        r.w<QCheckBox>("chk拡張")->click();
        QCOMPARE(r.answers.saves, before);
        r.w<QCheckBox>("chk拡張")->click();
        QCOMPARE(r.answers.saves, before + 1);

    }

    void popupsAndARun()
    {
        Rig r;
        // A popup closes after its seconds, or without seconds only with OK; an
        // empty text takes it away. Each closing is told.
        int closed = 0;
        PopupRequest p;
        p.text = QStringLiteral("お知らせ");
        p.seconds = 3;
        r.window->showMessagePopup(p, [&closed] { ++closed; });
        SplashWindow *s = r.window->splash();
        s->tick();
        s->tick();
        QVERIFY(s->isVisible());
        s->tick();
        QVERIFY(!s->isVisible());
        QCOMPARE(closed, 1);

        p.seconds = 0;
        p.modal = true;
        r.window->showMessagePopup(p, [&closed] { ++closed; });
        QVERIFY(s->isModal());
        s->tick();
        QVERIFY(s->isVisible());
        QTest::mouseClick(s->okButton(), Qt::LeftButton);
        QVERIFY(!s->isVisible());
        QCOMPARE(closed, 2);

        p.modal = false;
        p.seconds = 5;
        r.window->showMessagePopup(p, [&closed] { ++closed; });
        r.window->showMessagePopup(PopupRequest{}, {});
        QVERIFY(!s->isVisible());
        QCOMPARE(closed, 3);

        // A run locks the settings; its warning phase brings the window back,
        // restored and on top; the stop unlocks and gives the caption back.
        r.state.job.DelayMinutes = QStringLiteral("   2");
        r.state.job.Topmost = 0;
        r.window->settingsChanged();
        r.window->show();
        QVERIFY(!r.window->topmost());
        auto *time = r.w<TickerLabel>("lblTime");
        r.click("cmd実行");
        QVERIFY(r.engine->runActive());
        const auto lockedDuringRun = {"frOp", "fr監視", "fr復帰_1", "fr復帰_2", "frDisp", "FrImmediate", "ChkMulti", "cmd実行"};
        for (const char *n : lockedDuringRun)
            QVERIFY2(!r.w<QWidget>(QString::fromUtf8(n))->isEnabled(), n);
        QVERIFY(r.w<QPushButton>("cmd中止")->isEnabled());
        r.clock.advanceSecs(1);
        r.engine->countdownTick();
        QCOMPARE(time->text(), QStringLiteral("00:01:59"));

        r.window->showMinimized();
        r.clock.advanceSecs(105);
        r.engine->countdownTick();
        QCOMPARE(time->text(), QStringLiteral("00:00:14"));
        QVERIFY(r.window->isVisible());
        QVERIFY(!(r.window->windowState() & Qt::WindowMinimized));
        QVERIFY(r.window->topmost());
        QVERIFY(r.w<QCheckBox>("chkDsp")->isChecked());

        r.click("cmd中止");
        QVERIFY(!r.engine->runActive());
        for (const char *n : lockedDuringRun)
            QVERIFY2(r.w<QWidget>(QString::fromUtf8(n))->isEnabled(), n);
        QVERIFY(!r.w<QPushButton>("cmd中止")->isEnabled());
        QCOMPARE(time->text(), QString());
        QCOMPARE(r.window->windowTitle(), CaptionFor(QStringLiteral("シャットダウン")));
    }

    // The timing options switch the boxes (the clock boxes start at the time
    // now) and hide the phrase label; the clock label follows the tick; without
    // a battery the battery kind cannot be chosen. The resume, application and
    // quick-action boxes show and lock what belongs to them.
    void timingResumeAndQuickControls()
    {
        Rig r;
        r.clock.set(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 30)));
        r.engine->clockTick();
        QCOMPARE(r.w<TickerLabel>("lbl現在時刻")->text(), QStringLiteral("09:05:30"));
        r.window->setPhraseLabelVisible(true);
        r.window->show();
        QVERIFY(r.w<QLabel>("lblMsg")->isVisible());
        auto *hour = r.w<QLineEdit>("txtH");
        auto *minutes = r.w<QComboBox>("cmbTime");
        r.w<QRadioButton>("Opt_1")->click();
        QCOMPARE(r.state.job.TimingMode, 1);
        QVERIFY(hour->isVisible() && !minutes->isVisible());
        QCOMPARE(hour->text(), QStringLiteral("9"));
        QVERIFY(!r.w<QLabel>("lblMsg")->isVisible());
        r.w<QRadioButton>("Opt_0")->click();
        QVERIFY(minutes->isVisible() && !hour->isVisible());

        r.w<QCheckBox>("chk監視")->click();
        QVERIFY(r.w<QRadioButton>("opt監視選択_2")->isEnabled());
        r.window->setNoBattery(true);
        QVERIFY(!r.w<QRadioButton>("opt監視選択_2")->isEnabled());

        r.w<QCheckBox>("chk拡張")->click();
        auto *only = r.w<QCheckBox>("chk復帰のみ");
        QVERIFY(!r.w<QWidget>("cmdClear")->isVisible());
        only->click();
        QCOMPARE(r.state.job.ResumeEnabled, 1);
        QVERIFY(!r.w<QWidget>("frOp")->isVisible());
        QVERIFY(r.w<QWidget>("cmdClear")->isVisible());
        only->click();
        QVERIFY(r.w<QWidget>("frOp")->isVisible());

        r.w<QCheckBox>("chk復帰時刻")->click();
        QVERIFY(r.w<QWidget>("cmb復帰分")->isVisible() && !r.w<QWidget>("txtResume_0")->isVisible());

        auto *app = r.w<QCheckBox>("chkAP起動");
        app->click();
        QVERIFY(!r.w<QWidget>("txtExecAp")->isEnabled() && !r.w<QWidget>("cmd参照")->isEnabled());
        app->click();
        QVERIFY(r.w<QWidget>("txtExecAp")->isEnabled());

        // The label beside the box asks for the help of the parameters.
        QSignalSpy help(r.window.get(), &MainWindow::applicationHelpRequested);
        QTest::mouseClick(r.w<QLabel>("lblExecAp"), Qt::LeftButton);
        QCOMPARE(help.count(), 1);

        // Quick buttons: shown with chkDspQuick; one saves and starts a forced
        // run of its operation.
        r.w<QCheckBox>("chkDspQuick")->click();
        QVERIFY(r.w<QWidget>("FrImmediate")->isVisible());
        const int saves = r.answers.saves;
        r.click("cmdQuick_1");
        QCOMPARE(r.answers.saves, saves + 1);
        QVERIFY(r.engine->runActive());
        QCOMPARE(r.engine->targetTime(), r.clock.now().addSecs(5));
        QCOMPARE(r.w<QComboBox>("cmbOp")->currentIndex(), 1);
        QVERIFY(r.w<QCheckBox>("chkForce")->isChecked());
    }

    void trayDuringARun()
    {
        Rig r;
        r.state.job.TrayIcon = 1;
        r.state.job.DelayMinutes = QStringLiteral("  30");
        r.window->settingsChanged();
        r.window->show();
        r.click("cmd実行");
        QVERIFY(r.window->inTray());
        // Hidden behind the icon; on a desktop without a notification area
        // (as here) it waits minimised on the task bar instead.
        if (QSystemTrayIcon::isSystemTrayAvailable())
            QVERIFY(!r.window->isVisible());
        else
            QVERIFY(r.window->isMinimized());
        QCOMPARE(r.window->trayIcon()->toolTip(), QStringLiteral("12時30分にシャットダウン"));
        QVERIFY(r.window->trayNotice());

        // "表示" brings the window back and removes the icon.
        r.window->trayShowAction();
        QVERIFY(r.window->isVisible());
        QVERIFY(!r.window->isMinimized());
        QVERIFY(!r.window->inTray());

        // The close box during a run with the tray option goes to the tray.
        r.window->close();
        QVERIFY(r.window->inTray());
        QCOMPARE(r.quitCalls, 0);
        QVERIFY(r.engine->runActive());

        // "終了" ends the program, run and all.
        for (QAction *a : r.window->trayMenu()->actions())
            if (a->objectName() == QLatin1String("mnuEnd"))
                a->trigger();
        QCOMPARE(r.quitCalls, 1);
        QVERIFY(!r.engine->runActive());
        QVERIFY(!r.window->inTray());
    }

    // Through the program's own services: created, the window shows where the
    // settings say, with the caption the start-up chose; in a Wayland session,
    // ticking a feature it limits says so in a notice; a start saves the record
    // with the command it adds to the history; closed, it keeps where it was moved to.
    void createdWithTheProgramsServices()
    {
        AppState state;
        state.job.Topmost = 0;
        state.WindowLeft = 150 * kTwipsPerPixel;
        state.WindowTop = 90 * kTwipsPerPixel;
        FakeClock clock;
        FakePlatform fake;
        QTemporaryDir dir;
        FakeLauncherBackend backend;
        Launcher launcher(backend, clock, dir.path());
        SettingsWriter writer(dir.filePath(QStringLiteral("Conf.txt")), SettingsFileStatus::Missing, clock);
        AppWindowServices services(state, clock, fake.power, launcher, writer, dir.path());
        SessionLimitNotices notices(SessionKind::Wayland);
        services.setSessionLimitNotices(&notices);
        std::unique_ptr<MainWindow> w;  // outlives the engine, which points at it
        RunEngine engine(state, clock, fake.services(), nullptr);
        w = createMainWindow(state, clock, services, &engine, CommandLineCaption());
        QSignalSpy quits(w.get(), &MainWindow::programEnds);
        QCOMPARE(w->windowTitle(), CommandLineCaption());
        QCOMPARE(w->pos(), QPoint(150, 90));
        w->findChild<QCheckBox *>(QStringLiteral("chk監視"))->click();  // the phrase watcher, the first kind
        QVERIFY(w->splash()->isVisible());
        QCOMPARE(w->splash()->messageLabel()->text(), SessionLimitText(SessionLimit::PhraseTitles));
        w->findChild<QCheckBox *>(QStringLiteral("chkDsp"))->click();
        QCOMPARE(w->splash()->messageLabel()->text(), SessionLimitText(SessionLimit::NoForcedTop));
        w->findChild<QCheckBox *>(QStringLiteral("chk監視"))->click();

        for (const char *command : {"a", "b"}) {
            w->findChild<QLineEdit *>(QStringLiteral("txtExecAp"))->setText(QString::fromLatin1(command));
            QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("cmd実行")), Qt::LeftButton);
            QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("cmd中止")), Qt::LeftButton);
        }
        AppState read;
        QVERIFY(LoadSettings(writer.path(), read, dir.path()) > 0);
        QCOMPARE(read.history.HistoryText, QStringLiteral("b\ta"));
        w->move(200, 120);
        w->close();
        QCOMPARE(quits.count(), 1);
        QCOMPARE((QList<int>{state.WindowLeft, state.WindowTop}), (QList<int>{200 * kTwipsPerPixel, 120 * kTwipsPerPixel}));
    }

    // A phrase already on the screen: the start asks first, Cancel the default
    // (the answers are the engine's: tst_run_engine phraseAlreadyShownAtStart).
    void phraseAlreadyShownAsksFirst()
    {
        Rig r;
        r.fake.screenText.setVisible(true, QStringLiteral("ダウンロード"), QStringLiteral("完了"));
        r.state.job.MonitorEnabled = 1;
        r.state.job.MonitorPhrase = QStringLiteral("完了");
        r.window->settingsChanged();
        r.window->show();
        r.click("cmd実行");
        QMessageBox *m = r.box();
        QVERIFY(m);
        QCOMPARE(m->defaultButton(), m->button(QMessageBox::Cancel));
        QVERIFY(r.w<QLabel>("lblMsg")->isVisible());  // blinking while the question is open
        r.answer(QMessageBox::Ok);
        QVERIFY(r.engine->runActive());
        QCOMPARE(r.engine->triggerTime(), r.clock.now().addSecs(15));
    }

    void historyListMenuAndInputForm()
    {
        FormRig p;
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
        QCOMPARE(list->geometry().top(), boxOnScreen().bottom() + 1);

        p.key(list, Qt::Key_Up);
        QCOMPARE(shownText(list), QStringLiteral("Alpha"));
        p.key(list, Qt::Key_Return);
        QTRY_VERIFY(!list);
        QCOMPARE(p.appBox()->text(), QStringLiteral("Alpha"));

        // A click on the button while the list is open closes it.
        QTRY_VERIFY((list = p.openList()) != nullptr);  // a click within a moment of the closing opens nothing
        p.app()->showHistoryList();
        QTRY_VERIFY(!list);

        // Delete removes exactly the row shown, not the stored row of its number.
        QTRY_VERIFY((list = p.openList()) != nullptr);
        p.key(list, Qt::Key_Down);
        p.key(list, Qt::Key_Down);
        QCOMPARE(shownText(list), QStringLiteral("zeta /sound"));
        p.key(list, Qt::Key_Delete);
        QTRY_VERIFY(!list);
        QCOMPARE(p.state.history.HistoryText, QStringLiteral("Alpha\tbeta"));

        // The menu of the drop-down button.
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
        item("mnuOddColor")->trigger();  // off
        QCOMPARE(p.state.ActiveOddColor, QString());
        menu->hide();

        // "編集" opens the input form on the application box.
        p.appBox()->setText(QStringLiteral("prog -x"));
        item("mnuDropdownEdit")->trigger();
        QVERIFY(InputForm::current());
        QCOMPARE(InputForm::current()->textBox()->toPlainText(), QStringLiteral("prog -x"));
        delete InputForm::current();

        // The form remembers its size, font and input method.
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
        QCOMPARE((QList<int>{p.state.edit.EditFontSize, p.state.edit.EditMode}), (QList<int>{40, 1}));

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
        form->changeFontSize(-1);
        form->textBox()->setPlainText(QStringLiteral("changed"));
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("cmd閉じる_1")), Qt::LeftButton);
        QTRY_VERIFY(!InputForm::current());
        QCOMPARE(p.state.edit.EditFontSize, 40);

        QTest::mouseDClick(phrase->viewport(), Qt::LeftButton);
        QTRY_VERIFY(InputForm::current());
        InputForm::current()->textBox()->appendPlainText(QStringLiteral("\tthird"));
        InputForm::current()->accept();
        QCOMPARE(p.state.job.MonitorPhrase, QStringLiteral("first\r\nsecond\r\n third"));

        // The shortcut maker's boxes open the form on their text, without the
        // parameter help (the arguments there are the program's own switches).
        CreateShortcutWindow maker(QStringLiteral("/tmp/z\t/bin/true\t-auto -reboot"), ShortcutEnvironment(),
                                   p.window.get());
        p.window->attachShortcutMaker(&maker);
        maker.show();
        QTest::mouseDClick(maker.box(kBoxArguments), Qt::LeftButton);
        QTRY_VERIFY(InputForm::current());
        form = InputForm::current();
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
        QTRY_COMPARE(im.calls, (QList<bool>{true}));  // the stored state is put in place
        form->toggleInputMethod();
        QCOMPARE(im.calls, (QList<bool>{true, false}));
        QCOMPARE(form->findChild<QLabel *>(QStringLiteral("lblIME"))->toolTip(), InputMethodTooltip(true));
        form->accept();
        QCOMPARE(edit.EditMode, 0);

        // Nothing to switch: the state is only kept, and the tooltip says so.
        im.switchable = false;
        im.calls.clear();
        form = InputForm::open(&box, setup, QPoint(5, 5));
        form->toggleInputMethod();
        QVERIFY(im.calls.isEmpty());
        QCOMPARE(form->findChild<QLabel *>(QStringLiteral("lblIME"))->toolTip(), InputMethodTooltip(false));
        form->accept();
        QCOMPARE(edit.EditMode, 1);
    }

    void multiBoxRowsAndStart()
    {
        MultiRig r;
        auto *multi = r.w<QCheckBox>(QStringLiteral("ChkMulti"));
        r.state.job.MonitorEnabled = 0;
        r.window->settingsChanged();
        // The start button's caption and the boxes it remembers follow the box.
        auto *start = r.w<QPushButton>(QStringLiteral("cmd実行"));
        const auto caption = [start] { return QStringList{start->text(), start->accessibleName()}; };
        multi->click();
        QVERIFY(r.frame()->isVisible());
        QVERIFY(!r.w<QGroupBox>(QStringLiteral("frOp"))->isVisible());
        QCOMPARE(r.state.job.MonitorEnabled, 1);
        QCOMPARE(caption(), (QStringList{"開始", "開始"}));
        multi->click();
        QVERIFY(!r.frame()->isVisible());
        QCOMPARE(r.state.job.MonitorEnabled, 0);
        QCOMPARE(caption(), (QStringList{"実行", "実行"}));
        // Loaded settings with the box ticked show "開始" too.
        r.state.job.MultiEnabled = 1;
        r.window->settingsChanged();
        QCOMPARE(caption(), (QStringList{"開始", "開始"}));

        MultiScheduleFrame *f = r.frame();
        // Typing is refused in the hour box; ▲ on 23 wraps to 0.
        QTest::keyClicks(f->hourBox(0), "5");
        QCOMPARE(r.state.MultiRows[0].Hour, QStringLiteral("23"));
        r.w<QToolButton>(QStringLiteral("UpH_Multi_0"))->click();
        QCOMPARE(r.state.MultiRows[0].Hour, QStringLiteral("0"));
        QVERIFY(Highlighted(f->hourBox(0)));
        // Only the wake row shows its application box; changing the operation keeps the text.
        QVERIFY(!f->applicationBox(0)->isVisibleTo(f) && f->applicationBox(1)->isVisibleTo(f));
        f->operationBox(1)->setCurrentText(QStringLiteral("スリープ"));
        QVERIFY(!f->applicationBox(1)->isVisibleTo(f));
        QCOMPARE(r.state.MultiRows[1].Application, QStringLiteral("edit"));
        // ▼ moves the selected row with its texts and the highlight.
        f->selectRow(0);
        r.w<QToolButton>(QStringLiteral("Order_Multi_1"))->click();
        QCOMPARE(r.state.MultiRows[1].Operation, QStringLiteral("シャットダウン"));
        QCOMPARE(f->hourBox(1)->text(), QStringLiteral("0"));
        QCOMPARE(f->operationBox(0)->currentText(), QStringLiteral("スリープ"));
        QVERIFY(Highlighted(f->hourBox(1)) && !Highlighted(f->hourBox(0)));
        // A double-click on an application box opens the input form on that box's text.
        f->operationBox(0)->setCurrentText(QStringLiteral("復帰"));
        f->applicationBox(0)->setText(QStringLiteral("prog --now"));
        QTest::mouseDClick(f->applicationBox(0), Qt::LeftButton);
        QTRY_VERIFY(InputForm::current());
        QCOMPARE(InputForm::current()->textBox()->toPlainText(), QStringLiteral("prog --now"));
        InputForm::current()->close();

        // The start runs the schedule and locks the rows.
        r.state.MultiRows[0] = {"23", "30", "シャットダウン", ""};
        r.state.MultiRows[1] = {"8", "1", "再起動", ""};
        r.frame()->load();
        r.w<QPushButton>(QStringLiteral("cmd実行"))->click();
        QVERIFY(r.engine->multiRun().active());
        QVERIFY(!r.frame()->isEnabled());
        QCOMPARE(r.frame()->selectedRow(), 1);  // 08:01 runs first
        QVERIFY(r.answers.saves > 0);
        r.w<QPushButton>(QStringLiteral("cmd中止"))->click();
        QVERIFY(!r.engine->multiRun().active());
        QVERIFY(r.frame()->isEnabled());
    }

    void resumeListButtonsAndWeekList()
    {
        MultiRig r;
        r.state.job.Operation = int(OperationKind::Sleep);
        r.state.WeeklyResumeTable[0] = {"7", "15", "mail"};
        r.window->settingsChanged();
        auto *set = r.w<QPushButton>(QStringLiteral("cmdSetDefaultResume"));
        QVERIFY(set->isHidden());  // shown only with resume on
        r.w<QCheckBox>(QStringLiteral("chk復帰"))->click();
        QVERIFY(!set->isHidden());
        set->click();
        QCOMPARE(r.state.job.ResumeDateParts, (std::array<QString, 5>{"2026", "12", "8", "7", "15"}));
        QCOMPARE(r.state.job.AppCommand, QStringLiteral("mail"));
        r.w<QPushButton>(QStringLiteral("cmdClear"))->click();
        QCOMPARE(r.state.job.ResumeDateParts, (std::array<QString, 5>{}));
        QVERIFY(r.state.job.AppCommand.isEmpty());

        // The week list: OK copies its rows, Cancel does not; both save.
        r.state.job.setResumeWeekday(3, 0);  // Tuesday unticked
        r.state.WeeklyResumeTable[3] = {"9", "30", "tue"};
        for (bool ok : {false, true}) {
            const int saves = r.answers.saves;
            r.w<QPushButton>(QStringLiteral("cmd個別曜日設定"))->click();
            auto *week = r.window->findChild<WeekWindow *>(QStringLiteral("frmWeek"));
            QVERIFY(week->hourBox(3)->styleSheet().contains(QStringLiteral("#E0E0E0")));  // the unticked day
            QVERIFY(!week->hourBox(2)->styleSheet().contains(QStringLiteral("#E0E0E0")));
            week->findChild<QToolButton *>(QStringLiteral("UpDH_3_0"))->click();
            week->findChild<QPushButton *>(ok ? QStringLiteral("cmdClose_0") : QStringLiteral("cmdClose_1"))->click();
            const ResumeEntry expected = ok ? ResumeEntry{"10", "30", "tue"} : ResumeEntry{"9", "30", "tue"};
            QVERIFY(r.state.WeeklyResumeTable[3] == expected);
            QCOMPARE(r.answers.saves, saves + 1);
            QTRY_VERIFY(!r.window->findChild<WeekWindow *>(QStringLiteral("frmWeek")));
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
