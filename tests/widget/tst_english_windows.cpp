// Every window of the program in English, as --lang en shows it: no Japanese
// text is left in what the windows show, say or name. Screenshots of each land in
// english_windows/ beside the test for a look.
#include "app/translations.h"
#include "support/window_rig.h"
#include "ui/create_shortcut_window.h"
#include "ui/history_list.h"
#include "ui/input_form.h"
#include "ui/popups.h"
#include "ui/power_state_window.h"
#include "ui/text_view_window.h"
#include "ui/week_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>

using namespace zk;

namespace {

bool HasJapanese(const QString &text)
{
    static const QRegularExpression kana(QStringLiteral("[\\x{3040}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff66}-\\x{ff9f}]"));
    return text.contains(kana);
}

// "objectName: text" for every Japanese text `top` shows, names or offers.
QStringList JapaneseIn(QWidget *top)
{
    QStringList found;
    const auto check = [&found](const QObject *o, const QString &text) {
        if (HasJapanese(text))
            found << o->objectName() + QStringLiteral(": ") + text;
    };
    QList<QWidget *> widgets = top->findChildren<QWidget *>();
    widgets.prepend(top);
    for (QWidget *w : std::as_const(widgets)) {
        if (!w->isVisibleTo(top) && w != top && !qobject_cast<QMenu *>(w))
            continue;
        check(w, w->windowTitle());
        check(w, w->toolTip());
        check(w, w->accessibleName());
        if (auto *l = qobject_cast<QLabel *>(w))
            check(w, l->text());
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            check(w, b->text());
        if (auto *g = qobject_cast<QGroupBox *>(w))
            check(w, g->title());
        if (auto *e = qobject_cast<QLineEdit *>(w))
            check(w, e->placeholderText());
        if (auto *c = qobject_cast<QComboBox *>(w))
            for (int i = 0; i < c->count(); ++i)
                check(w, c->itemText(i));
        for (QAction *a : w->actions())
            check(a, a->text());
    }
    return found;
}

}  // namespace

class TestEnglishWindows : public QObject {
    Q_OBJECT

    QDir m_shots;
    QStringList m_left;  // what look() found, by window

    void look(QWidget *top, const QString &name)
    {
        QVERIFY2(top, qPrintable(name));
        QCoreApplication::processEvents();
        top->grab().save(m_shots.filePath(name + QStringLiteral(".png")));
        for (const QString &t : JapaneseIn(top))
            m_left << name + QStringLiteral(" ") + t;
    }

private Q_SLOTS:
    void init() { m_left.clear(); }
    void cleanup() { QVERIFY2(m_left.isEmpty(), qPrintable(m_left.join(QLatin1Char('\n')))); }

    void initTestCase()
    {
        QVERIFY(InstallTranslations(UiLanguage::English));
        QDir().mkpath(QStringLiteral("english_windows"));
        m_shots = QDir(QStringLiteral("english_windows"));
    }

    void everyWindow()
    {
        WindowRig r(QDateTime(QDate(2026, 12, 7), QTime(12, 0, 0)), true);
        r.window->show();
        look(r.window.get(), QStringLiteral("main"));
        r.w<QCheckBox>(QStringLiteral("chk拡張"))->click();
        r.w<QCheckBox>(QStringLiteral("chk監視"))->click();
        for (int page = 0; page < 3; ++page) {
            r.w<QRadioButton>(QStringLiteral("opt監視選択_") + QString::number(page))->click();
            look(r.window.get(), QStringLiteral("extended_%1").arg(page));
        }
        look(r.window->findChild<QMenu *>(QStringLiteral("mnuPopUp")), QStringLiteral("tray_menu"));
        r.w<QPushButton>(QStringLiteral("cmd個別曜日設定"))->click();
        auto *week = r.window->findChild<WeekWindow *>(QStringLiteral("frmWeek"));
        look(week, QStringLiteral("week"));
        week->findChild<QPushButton *>(QStringLiteral("cmdClear"))->click();
        look(week->findChild<QMessageBox *>(), QStringLiteral("week_clear_box"));
        delete week;
        auto *app = r.w<QLineEdit>(QStringLiteral("txtExecAp"));
        r.window->openInputForm(app, QPoint(10, 10));
        look(r.window->findChild<InputForm *>(), QStringLiteral("input_form"));

        CreateShortcutWindow shortcut(QStringLiteral("/tmp/z.desktop"), ShortcutEnvironment{});
        shortcut.show();
        look(&shortcut, QStringLiteral("create_shortcut"));

        FakePowerStatus status;
        PowerStateWindow power(&status, &r.fake.power);
        power.show();
        look(&power, QStringLiteral("power_state"));

        TextViewWindow *line = ShowCommandLineWindow(r.state);
        look(line, QStringLiteral("command_line"));
        delete line;

        TrayNoticeWindow notice(QStringLiteral("x"));
        notice.show();
        look(&notice, QStringLiteral("tray_notice"));
        PopupRequest p;
        p.text = QStringLiteral("x");
        p.seconds = 3;
        r.window->showMessagePopup(p, [] {});
        look(r.window->splash(), QStringLiteral("popup"));

        look(HistoryListWindow::open(app, r.state), QStringLiteral("history"));
        r.w<QCheckBox>(QStringLiteral("ChkMulti"))->click();
        look(r.window.get(), QStringLiteral("multi"));
        QTest::mouseClick(r.w<QLabel>(QStringLiteral("lblAllClear_Multi")), Qt::LeftButton);
        look(r.window->findChild<QMessageBox *>(), QStringLiteral("multi_clear_box"));
    }
};

QTEST_MAIN(TestEnglishWindows)
#include "tst_english_windows.moc"
