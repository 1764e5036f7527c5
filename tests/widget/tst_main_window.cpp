// The main window driven as a user would, over the fake platform and a clock
// that only moves when the test moves it.
#include "app/window_services.h"
#include "core/launcher.h"
#include "support/fake/fake_launcher_backend.h"
#include "support/window_rig.h"
#include "platform/linux/settings_writer.h"
#include "settings/settings_file.h"
#include "ui/create_main_window.h"
#include "ui/main_window.h"
#include "ui/panels/application_panel.h"
#include "ui/popups.h"
#include "ui/ticker_label.h"

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
#include <QSystemTrayIcon>
#include <QToolButton>
#include <QtTest>

using namespace zk;

namespace {

// The program's own answers, over a real settings writer in a folder of its own.
struct ProgramServices {
    FakeSessionPower power;
    FakeLauncherBackend backend;
    Launcher launcher;
    SettingsWriter writer;
    AppWindowServices services;
    ProgramServices(AppState &state, const Clock &clock, const QString &dir,
                    SettingsFileStatus status = SettingsFileStatus::Missing)
        : launcher(backend, clock, dir), writer(dir + QStringLiteral("/Conf.txt"), status, clock),
          services(state, clock, power, launcher, writer, dir)
    {
    }
};

struct Rig : WindowRig {
    int &saves = answers.saves;
    int &resets = answers.resets;
    bool &saveWorks = answers.saveWorks;
    FakeSessionPower &power = fake.power;

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

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void everyControlExistsAndIsNamedForScreenReaders()
    {
        Rig r(false);
        const QStringList names{
            "frmZenkoro", "frOp", "fr監視", "fr復帰_1", "fr復帰_2", "frDisp", "FrImmediate", "cmbOp",
            "Opt_0", "Opt_1", "cmbTime", "txtH", "txtM", "UpD_H_0", "UpD_H_1", "UpD_M_0", "UpD_M_1", "chk監視",
            "opt監視選択_0", "opt監視選択_1", "opt監視選択_2", "txt監視文言", "cmb下限", "cmb継続時間", "cmbProcess",
            "lbl平均", "lblCPU使用率", "cmbTimePower", "lblStatus", "chk復帰", "cmb復帰分", "txtResume_0",
            "txtResume_4", "UpD_rY_0", "UpD_rMM_1", "chkAP起動", "txtExecAp", "chk最小化", "chkNoDispAlert",
            "chkDspQuick", "chk拡張", "lblTime", "lblMsg", "lbl現在時刻", "lbl復帰時分", "cmd実行", "cmd中止"};
        for (const QString &n : names)
            QVERIFY2(r.window->objectName() == n || r.window->findChild<QWidget *>(n), qPrintable(n));

        // Every control a user can reach has a name a screen reader can read.
        const auto all = r.window->findChildren<QWidget *>();
        for (QWidget *w : all) {
            const bool control = qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w) ||
                                 qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w) ||
                                 qobject_cast<QGroupBox *>(w);
            if (!control || w->objectName().startsWith(QLatin1String("qt_")) || w->objectName().isEmpty())
                continue;
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        }
    }

    // The phrase options follow the monitor box, the phrase tooltip the option.
    void phraseOptions()
    {
        Rig r(false);
        r.w<QRadioButton>("OptMsg_1")->click();
        QCOMPARE(r.state.job.PhraseEvent, 0);  // the monitor is off: its options are disabled
        r.w<QCheckBox>("chk監視")->click();
        r.w<QRadioButton>("OptMsg_1")->click();
        QCOMPARE(r.state.job.PhraseEvent, 1);
        QVERIFY(r.w<QWidget>("txt監視文言")->toolTip().contains(QStringLiteral("「表示されなくなった時」")));
    }

    void editsGoStraightIntoTheRecord()
    {
        Rig r(false);
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
    }

    void operationChange()
    {
        Rig r(false);
        r.window->show();
        auto *op = r.w<QComboBox>("cmbOp");
        auto *resume = r.w<QCheckBox>("chk復帰");
        QVERIFY(!resume->isEnabled());

        op->setCurrentIndex(4);  // スリープ
        QVERIFY(resume->isEnabled());
        resume->click();
        QCOMPARE(r.state.job.ResumeEnabled, 1);

        // Between two suspend kinds the resume box is cleared too.
        op->setCurrentIndex(3);  // 休止, allowed
        QVERIFY(resume->isEnabled());
        QVERIFY(!resume->isChecked());
        QCOMPARE(r.state.job.ResumeEnabled, 0);
        QCOMPARE(r.state.job.Operation, 3);

        op->setCurrentIndex(1);
        QVERIFY(!resume->isEnabled());
    }

    void hibernationRefused()
    {
        Rig r(false);
        r.power.hibernation = false;
        r.window->show();
        auto *op = r.w<QComboBox>("cmbOp");
        op->setFocus();
        QCoreApplication::processEvents();
        op->setCurrentIndex(0);
        r.window->rememberOperation();
        op->setCurrentIndex(3);  // 休止
        QCOMPARE(r.boxTexts(), (QStringList{"無効", "「休止」は無効となっています。\r\n[電源のオプション]から「休止」を有効にして下さい。"}));
        QCOMPARE(op->currentIndex(), 0);
        QCOMPARE(r.state.job.Operation, 0);
        QVERIFY(!r.w<QCheckBox>("chk復帰")->isEnabled());
        QVERIFY(!r.w<QCheckBox>("chk復帰")->isChecked());
        QCOMPARE(r.window->windowTitle(), CaptionFor(QStringLiteral("シャットダウン")));
        r.answer(QMessageBox::Ok);

        // From sleep the list returns to sleep.
        op->setCurrentIndex(4);
        r.window->rememberOperation();
        op->setCurrentIndex(3);
        QCOMPARE(op->currentIndex(), 4);
        QCOMPARE(r.state.job.Operation, 4);
        QVERIFY(r.w<QCheckBox>("chk復帰")->isEnabled());
        QVERIFY(!r.w<QCheckBox>("chk復帰")->isChecked());
        r.answer(QMessageBox::Ok);
    }

    void hibernationAnswerComesLater()
    {
        Rig r(false);
        r.power.hibernation = false;
        r.power.holdAnswers = true;
        r.window->show();
        auto *op = r.w<QComboBox>("cmbOp");
        op->setCurrentIndex(1);
        r.window->rememberOperation();
        op->setCurrentIndex(3);  // 休止: asked, and the window goes on meanwhile
        QVERIFY(!r.box());
        QCOMPARE(r.state.job.Operation, 1);
        // Another operation chosen before the answer: the answer no longer counts.
        op->setCurrentIndex(4);
        QCOMPARE(r.state.job.Operation, 4);
        QCOMPARE(r.power.answerHeld(), 1);
        QVERIFY(!r.box());
        QCOMPARE(op->currentIndex(), 4);
        QCOMPARE(r.state.job.Operation, 4);
        // Asked again, the refusal comes later and restores the operation.
        op->setCurrentIndex(3);
        QVERIFY(!r.box());
        QCOMPARE(r.power.answerHeld(), 1);
        QCOMPARE(r.boxTexts(), (QStringList{"無効", "「休止」は無効となっています。\r\n[電源のオプション]から「休止」を有効にして下さい。"}));
        QCOMPARE(op->currentIndex(), 4);
        QCOMPARE(r.state.job.Operation, 4);
        r.answer(QMessageBox::Ok);
    }

    void timingModeSwitch()
    {
        Rig r;
        r.clock.set(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 30)));
        r.window->show();
        auto *hour = r.w<QLineEdit>("txtH");
        auto *minute = r.w<QLineEdit>("txtM");
        auto *minutes = r.w<QComboBox>("cmbTime");
        QVERIFY(minutes->isVisible());
        QVERIFY(!hour->isVisible());

        r.w<QRadioButton>("Opt_1")->click();
        QCOMPARE(r.state.job.TimingMode, 1);
        QVERIFY(hour->isVisible());
        QVERIFY(r.w<QToolButton>("UpD_H_0")->isVisible());
        QVERIFY(!minutes->isVisible());
        QCOMPARE(hour->text(), QStringLiteral("9"));
        QCOMPARE(minute->text(), QStringLiteral("5"));

        r.w<QRadioButton>("Opt_0")->click();
        QCOMPARE(r.state.job.TimingMode, 0);
        QVERIFY(minutes->isVisible());
        QVERIFY(!hour->isVisible());
    }

    void hourAndMinuteKeys()
    {
        Rig r(false);
        r.window->show();
        QVERIFY(QTest::qWaitForWindowActive(r.window.get()));
        r.window->setTimingMode(1);
        auto *hour = r.w<QLineEdit>("txtH");
        auto *minute = r.w<QLineEdit>("txtM");
        hour->clear();
        hour->setFocus();
        QTest::keyClicks(hour, QStringLiteral("2a5"));
        QCOMPARE(hour->text(), QStringLiteral("25"));
        minute->setFocus();  // leaving the hour box corrects it
        QCOMPARE(hour->text(), QStringLiteral("23"));
        QCOMPARE(r.state.job.ClockHour, QStringLiteral("23"));
        minute->clear();
        hour->setFocus();
        QCOMPARE(minute->text(), QStringLiteral("0"));
        QTest::keyClick(hour, Qt::Key_Backspace);
        QCOMPARE(hour->text(), QStringLiteral("2"));

        // The minutes box takes digits only and refuses to be left empty.
        r.window->setTimingMode(0);
        auto *minutes = r.w<QComboBox>("cmbTime");
        minutes->setFocus();
        minutes->lineEdit()->selectAll();
        QTest::keyClicks(minutes, QStringLiteral("1x5"));
        QCOMPARE(minutes->currentText(), QStringLiteral("15"));
        minutes->lineEdit()->clear();
        r.w<QCheckBox>("ChkMulti")->setFocus();
        QCOMPARE(r.boxTexts(), (QStringList{"未入力", "0 以上の整数を入力して下さい。"}));
        r.answer(QMessageBox::Ok);
        QCOMPARE(r.window->focusWidget(), minutes);

        // Pasted text keeps its digits (leading blanks too in the list boxes);
        // a value the program sets is shown as it is.
        auto *year = r.w<QLineEdit>("txtResume_0");
        year->clear();
        year->insert(QStringLiteral("2 x0"));
        QCOMPARE(r.state.job.ResumeDateParts[0], QStringLiteral("20"));
        auto *idle = r.w<QComboBox>("cmbTimePower");
        idle->lineEdit()->clear();
        idle->lineEdit()->insert(QStringLiteral(" 3s0"));
        QCOMPARE(r.state.job.IdleSeconds, QStringLiteral(" 30"));

        r.state.job.DelayMinutes = QStringLiteral("1e3");  // reads as 1 minute, not 13
        r.window->settingsChanged();
        QCOMPARE(minutes->currentText(), QStringLiteral("1e3"));
        AppState stored;
        r.window->storeTo(stored);
        QCOMPARE(stored.job.DelayMinutes, QStringLiteral("1e3"));
    }

    // The CPU boxes take digits (the lower limit full stops too), as typed;
    // leaving the averaging span below 5 seconds keeps the focus in it.
    void cpuBoxKeys()
    {
        Rig r(false);
        r.window->show();
        QVERIFY(QTest::qWaitForWindowActive(r.window.get()));
        r.w<QCheckBox>("chk拡張")->setChecked(true);
        r.w<QCheckBox>("chk監視")->setChecked(true);
        r.w<QRadioButton>("opt監視選択_1")->click();
        auto *limit = r.w<QComboBox>("cmb下限");
        auto *span = r.w<QComboBox>("cmb継続時間");
        const auto type = [](QComboBox *box, const QString &keys) {
            box->setFocus();
            box->lineEdit()->selectAll();
            QTest::keyClick(box, Qt::Key_Backspace);
            QTest::keyClicks(box, keys);
            return box->currentText();
        };
        QCOMPARE(type(limit, QStringLiteral("a1.5b-")), QStringLiteral("1.5"));
        QCOMPARE(r.state.job.CpuLowerLimit, QStringLiteral("1.5"));
        QCOMPARE(type(span, QStringLiteral("7x.3")), QStringLiteral("73"));
        // Not completed to a longer list entry: "1" stays 1 minute, not 1440.
        QCOMPARE(type(r.w<QComboBox>("cmbTime"), QStringLiteral("1")), QStringLiteral("1"));
        const std::pair<const char *, bool> leaving[] = {{"3", true}, {"", true}, {"5", false}};
        for (const auto &[typed, stays] : leaving) {
            type(span, QString::fromLatin1(typed));
            QTest::keyClick(span, Qt::Key_Tab);
            QCoreApplication::processEvents();
            QVERIFY2((r.window->focusWidget() == span) == stays, typed);
        }
    }

    // The process list asks for fresh entries when it opens; the choice
    // stays, even when its process has ended.
    void processListKeepsTheChoice()
    {
        Rig r(false);
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
    }

    void spinnerWrapAndRepeat()
    {
        Rig r(false);
        r.window->show();
        r.window->setTimingMode(1);
        auto *hour = r.w<QLineEdit>("txtH");
        hour->setText(QStringLiteral("23"));
        auto *up = r.w<QToolButton>("UpD_H_0");
        QTest::mousePress(up, Qt::LeftButton);
        QCOMPARE(hour->text(), QStringLiteral("0"));  // the press itself steps, wrapping
        QTRY_VERIFY(hour->text().toInt() >= 2);  // held: it repeats
        const QString held = hour->text();
        QTest::mouseRelease(up, Qt::LeftButton);
        QCOMPARE(hour->text(), held);  // the release makes no step

        auto *minute = r.w<QLineEdit>("txtM");
        minute->setText(QStringLiteral("0"));
        QTest::mouseClick(r.w<QToolButton>("UpD_M_1"), Qt::LeftButton);
        QCOMPARE(minute->text(), QStringLiteral("59"));
        QCOMPARE(r.state.job.ClockMinute, QStringLiteral("59"));

        // Resume date spinners: an empty year box fills all five boxes first.
        for (int i = 0; i < 5; ++i)
            r.w<QLineEdit>(QStringLiteral("txtResume_%1").arg(i))->clear();
        QTest::mouseClick(r.w<QToolButton>("UpD_rD_0"), Qt::LeftButton);
        QCOMPARE(r.w<QLineEdit>("txtResume_0")->text(), QStringLiteral("2026"));
        QCOMPARE(r.w<QLineEdit>("txtResume_2")->text(), QStringLiteral("7"));
        QCOMPARE(r.w<QLineEdit>("txtResume_3")->text(), QStringLiteral("12"));
        QCOMPARE(r.state.job.ResumeDateParts[2], QStringLiteral("7"));
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
        QWidget *target = nullptr;
        if (field == QLatin1String("cmbTime")) {
            r.state.job.DelayMinutes = QStringLiteral("14401");
            target = r.w<QComboBox>("cmbTime");
        } else if (field == QStringLiteral("txt監視文言")) {
            r.state.job.MonitorEnabled = 1;
            r.state.job.MonitorPhrase = QStringLiteral("abc%JUGEMU_JUGEMU_GOKO_NO_comma%");
            target = r.w<QWidget>("txt監視文言");
        } else {
            r.state.job.Operation = 4;
            r.state.job.ResumeEnabled = 1;
            r.state.job.ResumeAtClock = 0;
            r.state.job.ResumeDateParts = {QStringLiteral("2026"), QStringLiteral("12"), QStringLiteral("7"),
                                           QStringLiteral("12"), QStringLiteral("0")};
            r.state.job.AppCommand = QStringLiteral("/nonexistent/tool -a");
            target = r.w<QWidget>("txtExecAp");
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
            QVERIFY(e->hasSelectedText());
            QCOMPARE(e->selectedText(), e->text());
        } else {
            auto *p = qobject_cast<QPlainTextEdit *>(target);
            QCOMPARE(p->textCursor().selectedText(), p->toPlainText());
        }
        QCOMPARE(r.saves, 1);  // the start button saves even a refused start
    }

    void emptyMinutesNeverStart()
    {
        Rig r;
        r.window->show();
        QVERIFY(QTest::qWaitForWindowActive(r.window.get()));
        r.w<QComboBox>("cmbTime")->setEditText(QString());
        r.w<QPushButton>("cmd実行")->click();
        QVERIFY(!r.engine->runActive());
        QCOMPARE(r.boxTexts().value(0), QStringLiteral("未入力"));
        r.answer(QMessageBox::Ok);
        QCOMPARE(r.window->focusWidget(), r.w<QComboBox>("cmbTime"));
        QVERIFY(!r.engine->runActive());
    }

    void saveAndDefaultButtons()
    {
        Rig r(false);
        r.window->show();
        r.click("cmdSave");
        QCOMPARE(r.saves, 1);
        QCOMPARE(r.boxTexts().value(1), QStringLiteral("保存完了"));
        r.answer(QMessageBox::Ok);
        r.saveWorks = false;
        r.click("cmdSave");
        QCOMPARE(r.boxTexts(), (QStringList{"書込みエラー", QStringLiteral("設定値の保存に失敗しました！\r\n媒体が書込み不可、または、ファイル（Conf.txt）が読取専用になっていないか、確認してください。")}));
        r.answer(QMessageBox::Ok);

        r.w<QCheckBox>("chkForce")->click();
        r.click("cmdDefault");
        QCOMPARE(r.boxTexts(), (QStringList{"既定値", "既定値に戻します。よろしいですか？"}));
        r.answer(QMessageBox::Cancel);
        QCOMPARE(r.resets, 0);
        QVERIFY(r.w<QCheckBox>("chkForce")->isChecked());
        r.click("cmdDefault");
        r.answer(QMessageBox::Ok);
        QCOMPARE(r.resets, 1);
        QVERIFY(!r.w<QCheckBox>("chkForce")->isChecked());

        // Unticking the extended box saves; ticking it does not.
        const int before = r.saves;
        r.w<QCheckBox>("chk拡張")->click();
        QCOMPARE(r.saves, before);
        r.w<QCheckBox>("chk拡張")->click();
        QCOMPARE(r.saves, before + 1);
    }

    void lockingDuringARun()
    {
        Rig r;
        r.window->show();
        r.click("cmd実行");
        QVERIFY(r.engine->runActive());
        const auto lockedDuringRun = {"frOp", "fr監視", "fr復帰_1", "fr復帰_2", "frDisp", "FrImmediate", "ChkMulti", "cmd実行"};
        for (const char *n : lockedDuringRun)
            QVERIFY2(!r.w<QWidget>(QString::fromUtf8(n))->isEnabled(), n);
        QVERIFY(r.w<QPushButton>("cmd中止")->isEnabled());
        QVERIFY(!r.w<QWidget>("cmbOp")->isEnabled());

        r.click("cmd中止");
        QVERIFY(!r.engine->runActive());
        for (const char *n : lockedDuringRun)
            QVERIFY2(r.w<QWidget>(QString::fromUtf8(n))->isEnabled(), n);
        QVERIFY(!r.w<QPushButton>("cmd中止")->isEnabled());
        QCOMPARE(r.w<TickerLabel>("lblTime")->text(), QString());
        QCOMPARE(r.window->windowTitle(), CaptionFor(QStringLiteral("シャットダウン")));
    }

    void warningPhaseBringsTheWindowBack()
    {
        Rig r;
        r.state.job.DelayMinutes = QStringLiteral("   2");
        r.state.job.Topmost = 0;
        r.window->settingsChanged();
        r.window->show();
        QVERIFY(!r.window->topmost());
        auto *time = r.w<TickerLabel>("lblTime");
        r.click("cmd実行");

        r.clock.advanceSecs(1);
        r.engine->countdownTick();
        QCOMPARE(time->text(), QStringLiteral("00:01:59"));

        // The warning phase: restored, visible and on top.
        r.window->showMinimized();
        r.clock.advanceSecs(105);
        r.engine->countdownTick();
        QCOMPARE(time->text(), QStringLiteral("00:00:14"));
        QVERIFY(r.window->isVisible());
        QVERIFY(!(r.window->windowState() & Qt::WindowMinimized));
        QVERIFY(r.window->topmost());
        QVERIFY(r.w<QCheckBox>("chkDsp")->isChecked());

        // Stopping gives the normal caption back.
        r.click("cmd中止");
        QCOMPARE(r.window->windowTitle(), CaptionFor(QStringLiteral("シャットダウン")));
        QCOMPARE(time->text(), QString());
    }

    void clockAndPhraseLabel()
    {
        Rig r;
        r.clock.set(QDateTime(QDate(2026, 12, 7), QTime(8, 3, 9)));
        r.engine->clockTick();
        QCOMPARE(r.w<TickerLabel>("lbl現在時刻")->text(), QStringLiteral("08:03:09"));
        r.window->setPhraseLabelVisible(true);
        r.window->show();
        QVERIFY(r.w<QLabel>("lblMsg")->isVisible());
        r.window->setTimingMode(0);  // the timing switch hides it
        QVERIFY(!r.w<QLabel>("lblMsg")->isVisible());

        // Without a battery the battery kind cannot be chosen.
        r.w<QCheckBox>("chk監視")->click();
        QVERIFY(r.w<QRadioButton>("opt監視選択_2")->isEnabled());
        r.window->setNoBattery(true);
        QVERIFY(!r.w<QRadioButton>("opt監視選択_2")->isEnabled());
        QVERIFY(r.w<QRadioButton>("opt監視選択_1")->isEnabled());
        r.window->setNoBattery(false);  // a later answer found one
        QVERIFY(r.w<QRadioButton>("opt監視選択_2")->isEnabled());
    }

    void trayTooltipTexts()
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
        QCOMPARE(r.window->trayToolTip(), QStringLiteral("12時30分にシャットダウン"));
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

    void closeWithoutTrayStopsAndEnds()
    {
        Rig r;
        r.window->show();
        r.click("cmd実行");
        QSignalSpy unloading(r.window.get(), &MainWindow::unloading);
        r.window->close();
        QCOMPARE(unloading.count(), 1);
        QCOMPARE(r.quitCalls, 1);
        QVERIFY(!r.engine->runActive());
    }

    // In a Wayland session, ticking a feature it limits says so once, in a notice.
    void sessionLimitsToldWhenTicked()
    {
        AppState state;
        state.job.Topmost = 0;
        FakeClock clock;
        QTemporaryDir dir;
        ProgramServices program(state, clock, dir.path());
        SessionLimitNotices notices(SessionKind::Wayland);
        program.services.setSessionLimitNotices(&notices);
        auto w = createMainWindow(state, clock, program.services, nullptr, QString());
        SplashWindow *s = w->splash();
        QVERIFY(!s->isVisible());
        auto *monitor = w->findChild<QCheckBox *>(QStringLiteral("chk監視"));
        monitor->click();  // the phrase watcher, the first kind
        QVERIFY(s->isVisible());
        QCOMPARE(s->messageLabel()->text(), SessionLimitText(SessionLimit::PhraseTitles));
        s->hide();
        monitor->click();
        monitor->click();
        QVERIFY(!s->isVisible());  // once only
        w->findChild<QRadioButton *>(QStringLiteral("opt監視選択_2"))->click();
        QCOMPARE(s->messageLabel()->text(), SessionLimitText(SessionLimit::IdleFromLogind));
        w->findChild<QCheckBox *>(QStringLiteral("chkDsp"))->click();
        QCOMPARE(s->messageLabel()->text(), SessionLimitText(SessionLimit::NoForcedTop));
    }

    void createdWindowIsPlacedAndKeepsItsPlace()
    {
        AppState state;
        FakeClock clock;
        state.WindowLeft = 150 * kTwipsPerPixel;
        state.WindowTop = 90 * kTwipsPerPixel;
        state.job.Operation = 2;
        QTemporaryDir dir;
        ProgramServices program(state, clock, dir.path());
        auto w = createMainWindow(state, clock, program.services, nullptr, CommandLineCaption());
        QSignalSpy quits(w.get(), &MainWindow::programEnds);
        QVERIFY(w->isVisible());
        QCOMPARE(w->objectName(), QStringLiteral("frmZenkoro"));
        QCOMPARE(w->windowTitle(), CommandLineCaption());
        QCOMPARE(w->pos(), QPoint(150, 90));
        w->move(200, 120);
        w->close();
        QCOMPARE(quits.count(), 1);
        QCOMPARE(state.WindowLeft, 200 * kTwipsPerPixel);
        QCOMPARE(state.WindowTop, 120 * kTwipsPerPixel);

        // Nothing stored: centred on the screen.
        AppState fresh;
        ProgramServices freshProgram(fresh, clock, dir.path());
        auto c = createMainWindow(fresh, clock, freshProgram.services, nullptr, QString());
        QCOMPARE(c->windowTitle(), CaptionFor(QStringLiteral("シャットダウン")));
        const QRect area = c->screen()->availableGeometry();
        QVERIFY(qAbs(c->geometry().center().x() - area.center().x()) <= 3);
    }

    // Saving through the program's writer keeps an unreadable file aside.
    void saveButtonWritesThroughTheProgramWriter()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Conf.txt"));
        const QByteArray unreadable("1200,-300,4\0binary", 19);
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(unreadable);
        }
        FakeClock clock;
        AppState state;
        SettingsFileStatus status = SettingsFileStatus::Missing;
        LoadSettings(path, state, dir.path(), 1, &status);
        QCOMPARE(status, SettingsFileStatus::Unreadable);
        ProgramServices program(state, clock, dir.path(), status);
        QStringList told;
        program.writer.notify = [&](const QString &, const QString &text) { told << text; };
        state.WindowLeft = 150 * kTwipsPerPixel;
        state.WindowTop = 90 * kTwipsPerPixel;
        auto w = createMainWindow(state, clock, program.services, nullptr, QString());
        w->move(200, 120);
        QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("cmdSave")), Qt::LeftButton);
        QCOMPARE(told.size(), 1);
        const QStringList kept = QDir(dir.path()).entryList({QStringLiteral("Conf.txt.unreadable-*")}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QFile keptFile(dir.filePath(kept.first()));
        QVERIFY(keptFile.open(QIODevice::ReadOnly));
        QCOMPARE(keptFile.readAll(), unreadable);
        AppState saved;
        QCOMPARE(LoadSettings(path, saved, dir.path()), kSettingsFieldCount);
        QCOMPARE((QList<int>{saved.WindowLeft, saved.WindowTop}), (QList<int>{200 * kTwipsPerPixel, 120 * kTwipsPerPixel}));
    }

    // "既定値に戻す" resets through the program, writes nothing, centres the window.
    void defaultButtonResetsTheSettings()
    {
        QTemporaryDir dir;
        FakeClock clock;
        AppState state;
        ProgramServices program(state, clock, dir.path());
        state.job.Operation = 4;
        state.job.Force = 1;
        state.job.setResumeWeekday(3, 0);
        state.WindowLeft = 0;
        state.WindowTop = 0;
        auto w = createMainWindow(state, clock, program.services, nullptr, QString());
        QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("cmdDefault")), Qt::LeftButton);
        QVERIFY(w->openMessageBox());
        w->openMessageBox()->button(QMessageBox::Ok)->click();
        QCoreApplication::processEvents();
        QCOMPARE((QList<int>{state.job.Operation, state.job.Force}), (QList<int>{0, 0}));
        QCOMPARE(w->findChild<QComboBox *>(QStringLiteral("cmbOp"))->currentIndex(), 0);
        QVERIFY(!w->findChild<QCheckBox *>(QStringLiteral("chkForce"))->isChecked());
        QVERIFY(w->findChild<QCheckBox *>(QStringLiteral("chkWeek_3"))->isChecked());
        QCOMPARE(w->windowTitle(), CaptionFor(OperationText(OperationKind::Shutdown)));
        const QRect area = w->screen()->availableGeometry();
        QVERIFY(qAbs(w->geometry().center().x() - area.center().x()) <= 3);
        QVERIFY(!QFile::exists(program.writer.path()));
    }

    void phraseAlreadyShownAsksFirst_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("cancel") << false;
        QTest::newRow("ok") << true;
    }
    void phraseAlreadyShownAsksFirst()
    {
        QFETCH(bool, ok);
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
        r.answer(ok ? QMessageBox::Ok : QMessageBox::Cancel);
        QCOMPARE(r.engine->runActive(), ok);
        QCOMPARE(r.w<QPushButton>("cmd実行")->isEnabled(), !ok);
        if (ok)
            QCOMPARE(r.engine->triggerTime(), r.clock.now().addSecs(15));
        else
            QVERIFY(!r.w<QLabel>("lblMsg")->isVisible());
    }

    void browseForTheApplication()
    {
        Rig r(false);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.path() + QStringLiteral("/my tool.sh");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        r.state.LastProgramFolder = dir.path();
        r.window->show();
        r.window->findChild<zk::ApplicationPanel *>()->browseApplication();
        auto *dlg = r.window->findChild<QFileDialog *>(QStringLiteral("dlgBrowseApplication"));
        QVERIFY(dlg);
        QCOMPARE(QDir(dlg->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        Q_EMIT dlg->fileSelected(file);
        QCOMPARE(r.state.job.AppCommand, QLatin1Char('"') + file + QLatin1Char('"'));
        QCOMPARE(r.state.LastProgramFolder, QFileInfo(file).absolutePath());
        dlg->close();
    }

    // cmdCapFolder asks for the capture folder, starting at the current one;
    // cancelling keeps it. The command-line buttons and label ask the program.
    void captureFolderAndCommandLineButtons()
    {
        Rig r(false);
        QTemporaryDir start, chosen;
        r.state.CaptureFolder = start.path();
        r.window->show();
        QTest::mouseClick(r.window->findChild<QPushButton *>(QStringLiteral("cmdCapFolder")), Qt::LeftButton);
        auto *dlg = r.window->findChild<QFileDialog *>(QStringLiteral("dlgCaptureFolder"));
        QVERIFY(dlg);
        QCOMPARE(QDir(dlg->directory()).canonicalPath(), QDir(start.path()).canonicalPath());
        Q_EMIT dlg->fileSelected(QString());
        QCOMPARE(r.state.CaptureFolder, start.path());
        Q_EMIT dlg->fileSelected(chosen.path());
        QCOMPARE(r.state.CaptureFolder, chosen.path());
        dlg->close();

        QSignalSpy line(r.window.get(), &MainWindow::commandLineRequested);
        QSignalSpy shortcut(r.window.get(), &MainWindow::shortcutRequested);
        QSignalSpy help(r.window.get(), &MainWindow::commandLineHelpRequested);
        QTest::mouseClick(r.window->findChild<QPushButton *>(QStringLiteral("cmdMakeCommandLine")), Qt::LeftButton);
        QTest::mouseClick(r.window->findChild<QPushButton *>(QStringLiteral("cmdCreateShortcut")), Qt::LeftButton);
        QTest::mouseClick(r.window->findChild<QLabel *>(QStringLiteral("lblCommandline")), Qt::LeftButton);
        QCOMPARE(line.size(), 1);
        QCOMPARE(shortcut.size(), 1);
        QCOMPARE(help.size(), 1);
    }

    void popupsCloseAfterTheirSeconds()
    {
        Rig r;
        int closed = 0;
        PopupRequest p;
        p.text = QStringLiteral("お知らせ");
        p.seconds = 3;
        r.window->showMessagePopup(p, [&closed] { ++closed; });
        SplashWindow *s = r.window->splash();
        QVERIFY(s->isVisible());
        s->tick();
        s->tick();
        QVERIFY(s->isVisible());
        s->tick();
        QVERIFY(!s->isVisible());
        QCOMPARE(closed, 1);

        // Without seconds only OK closes it; modal does not block the caller.
        p.seconds = 0;
        p.modal = true;
        r.window->showMessagePopup(p, [&closed] { ++closed; });
        QVERIFY(s->isVisible());
        QVERIFY(s->isModal());
        for (int i = 0; i < 10; ++i)
            s->tick();
        QVERIFY(s->isVisible());
        QCOMPARE(closed, 1);
        QTest::mouseClick(s->okButton(), Qt::LeftButton);
        QVERIFY(!s->isVisible());
        QCOMPARE(closed, 2);

        // An empty text takes the popup away.
        p.seconds = 5;
        p.modal = false;
        r.window->showMessagePopup(p, [&closed] { ++closed; });
        r.window->showMessagePopup(PopupRequest{}, {});
        QVERIFY(!s->isVisible());
        QCOMPARE(closed, 3);
    }

    void resumeControls()
    {
        Rig r(false);
        r.window->show();
        r.w<QCheckBox>("chk拡張")->click();
        auto *resume = r.w<QCheckBox>("chk復帰");
        auto *only = r.w<QCheckBox>("chk復帰のみ");
        QVERIFY(!r.w<QWidget>("cmdClear")->isVisible());
        only->click();
        QVERIFY(resume->isChecked());
        QVERIFY(resume->isEnabled());
        QVERIFY(!r.w<QWidget>("frOp")->isVisible());
        QVERIFY(r.w<QWidget>("cmdClear")->isVisible());
        only->click();
        QVERIFY(r.w<QWidget>("frOp")->isVisible());

        r.w<QCheckBox>("chk復帰時刻")->click();
        QVERIFY(r.w<QWidget>("cmb復帰分")->isVisible());
        QVERIFY(!r.w<QWidget>("txtResume_0")->isVisible());

        auto *app = r.w<QCheckBox>("chkAP起動");
        app->click();
        QVERIFY(!r.w<QWidget>("txtExecAp")->isEnabled());
        QVERIFY(!r.w<QWidget>("cmd参照")->isEnabled());
        app->click();
        QVERIFY(r.w<QWidget>("txtExecAp")->isEnabled());

        // The label beside the box asks for the help of the parameters.
        QSignalSpy help(r.window.get(), &MainWindow::applicationHelpRequested);
        QTest::mouseClick(r.w<QLabel>("lblExecAp"), Qt::LeftButton);
        QCOMPARE(help.count(), 1);

        r.w<QLineEdit>("txtExecAp")->setText(QStringLiteral("/bin/true"));
        r.w<QLineEdit>("txtResume_0")->setText(QStringLiteral("2026"));
        r.click("cmdClear");
        QCOMPARE(r.state.job.AppCommand, QString());
        QCOMPARE(r.state.job.ResumeDateParts[0], QString());

        // Quick buttons: visible only with chkDspQuick and without ChkMulti.
        QVERIFY(!r.w<QWidget>("FrImmediate")->isVisible());
        r.w<QCheckBox>("chkDspQuick")->click();
        QVERIFY(r.w<QWidget>("FrImmediate")->isVisible());
        r.w<QCheckBox>("ChkMulti")->click();
        QVERIFY(!r.w<QWidget>("FrImmediate")->isVisible());
    }

    void quickButtonStartsAForcedRun()
    {
        Rig r;
        r.state.job.ShowQuickButtons = 1;
        r.state.job.MonitorEnabled = 1;
        r.window->settingsChanged();
        r.window->show();
        r.click("cmdQuick_1");
        QCOMPARE(r.saves, 1);
        QVERIFY(r.engine->runActive());
        QCOMPARE(r.state.job.MonitorEnabled, 0);
        QCOMPARE(r.engine->targetTime(), r.clock.now().addSecs(5));
        QCOMPARE(r.w<QComboBox>("cmbOp")->currentIndex(), 1);
        QVERIFY(r.w<QCheckBox>("chkForce")->isChecked());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
