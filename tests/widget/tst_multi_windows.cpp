// The multi schedule frame, the resume list buttons and the resume list form
// (frmWeek) of the main window, driven as a user would.
#include "support/window_rig.h"
#include "ui/input_form.h"
#include "ui/main_window.h"
#include "ui/multi_frame.h"
#include "ui/week_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

using namespace zk;

namespace {

struct Rig : WindowRig {
    Rig()
        : WindowRig(QDateTime(QDate(2026, 12, 7), QTime(8, 0, 0)), true,  // a Monday
                    [](AppState &s) {
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

class TestMultiWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void multiBoxSwitchesFramesAndRemembers()
    {
        Rig r;
        auto *multi = r.w<QCheckBox>(QStringLiteral("ChkMulti"));
        r.state.job.MonitorEnabled = 0;
        r.state.job.Operation = int(OperationKind::Sleep);
        r.window->settingsChanged();
        r.w<QCheckBox>(QStringLiteral("chk復帰"))->click();
        QCOMPARE(r.state.job.ResumeEnabled, 1);
        // The start button reads "開始" for the schedule, "実行" for a single run.
        auto *start = r.w<QPushButton>(QStringLiteral("cmd実行"));
        const auto caption = [start] { return QStringList{start->text(), start->accessibleName()}; };
        QCOMPARE(caption(), (QStringList{"実行", "実行"}));
        multi->click();
        QVERIFY(r.frame()->isVisible());
        QVERIFY(!r.w<QGroupBox>(QStringLiteral("frOp"))->isVisible());
        QCOMPARE(r.state.job.MonitorEnabled, 1);
        QCOMPARE(r.state.job.ResumeEnabled, 0);
        QCOMPARE(caption(), (QStringList{"開始", "開始"}));
        multi->click();
        QVERIFY(!r.frame()->isVisible());
        QCOMPARE(r.state.job.MonitorEnabled, 0);
        QCOMPARE(r.state.job.ResumeEnabled, 1);
        QCOMPARE(caption(), (QStringList{"実行", "実行"}));
        // Loaded settings with the box ticked show "開始" too.
        r.state.job.MultiEnabled = 1;
        r.window->settingsChanged();
        QCOMPARE(caption(), (QStringList{"開始", "開始"}));
    }

    void rowsEditAndMove()
    {
        Rig r;
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
        // ▼ moves the selected row with its texts and the highlight; the last row stays.
        f->selectRow(0);
        r.w<QToolButton>(QStringLiteral("Order_Multi_1"))->click();
        QCOMPARE(r.state.MultiRows[1].Operation, QStringLiteral("シャットダウン"));
        QCOMPARE(f->hourBox(1)->text(), QStringLiteral("0"));
        QCOMPARE(f->operationBox(0)->currentText(), QStringLiteral("スリープ"));
        QVERIFY(Highlighted(f->hourBox(1)) && !Highlighted(f->hourBox(0)));
        f->selectRow(kMultiRowCount - 1);
        r.w<QToolButton>(QStringLiteral("Order_Multi_1"))->click();
        QCOMPARE(f->selectedRow(), kMultiRowCount - 1);
        // A double-click on an application box opens the input form on that box's text.
        f->operationBox(0)->setCurrentText(QStringLiteral("復帰"));
        f->applicationBox(0)->setText(QStringLiteral("prog --now"));
        QTest::mouseDClick(f->applicationBox(0), Qt::LeftButton);
        QTRY_VERIFY(InputForm::current());
        QCOMPARE(InputForm::current()->textBox()->toPlainText(), QStringLiteral("prog --now"));
        InputForm::current()->close();
    }

    void startRunsTheScheduleAndLocksTheRows()
    {
        Rig r;
        r.state.job.MultiEnabled = 1;
        r.window->settingsChanged();
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

    void resumeListButtons()
    {
        Rig r;
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
    }

    void weekListOkCopiesCancelDoesNot()
    {
        Rig r;
        r.state.job.setResumeWeekday(3, 0);  // Tuesday unticked
        r.state.WeeklyResumeTable[3] = {"9", "30", "tue"};
        for (bool ok : {false, true}) {
            const int saves = r.answers.saves;
            r.w<QPushButton>(QStringLiteral("cmd個別曜日設定"))->click();
            auto *week = r.window->findChild<WeekWindow *>(QStringLiteral("frmWeek"));
            QVERIFY(week);
            QVERIFY(week->hourBox(3)->styleSheet().contains(QStringLiteral("#E0E0E0")));
            QVERIFY(!week->hourBox(2)->styleSheet().contains(QStringLiteral("#E0E0E0")));
            // Emptying the hour empties the minute; ▲ on an empty hour gives 0 and a minute of 0.
            week->hourBox(3)->setFocus();
            week->hourBox(3)->end(false);
            QTest::keyClick(week->hourBox(3), Qt::Key_Backspace);
            QVERIFY(week->minuteBox(3)->text().isEmpty());
            week->findChild<QToolButton *>(QStringLiteral("UpDH_3_0"))->click();
            QCOMPARE(week->hourBox(3)->text(), QStringLiteral("0"));
            QCOMPARE(week->minuteBox(3)->text(), QStringLiteral("0"));
            week->findChild<QPushButton *>(ok ? QStringLiteral("cmdClose_0") : QStringLiteral("cmdClose_1"))->click();
            const ResumeEntry expected = ok ? ResumeEntry{"0", "0", "tue"} : ResumeEntry{"9", "30", "tue"};
            QVERIFY(r.state.WeeklyResumeTable[3] == expected);
            QCOMPARE(r.answers.saves, saves + 1);
            QTRY_VERIFY(!r.window->findChild<WeekWindow *>(QStringLiteral("frmWeek")));
        }
    }
};

QTEST_MAIN(TestMultiWindows)
#include "tst_multi_windows.moc"
