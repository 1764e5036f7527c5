#include "ui/panels/resume_panel.h"

#include "core/clock.h"
#include "resume/weekly_resume.h"
#include "ui/main_window_services.h"
#include "ui/panels/number_boxes.h"
#include "ui/week_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace zk {

ResumePanel::ResumePanel(PanelHost &host, QWidget *parent) : QGroupBox(tr("復帰"), parent), JobPanel(host)
{
    setObjectName(QStringLiteral("fr復帰_1"));
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(6, 4, 6, 4);
    lay->setSpacing(3);

    auto *row1 = new QHBoxLayout;
    chkResume = new QCheckBox(tr("復帰"), this);
    chkResume->setObjectName(QStringLiteral("chk復帰"));
    chkResume->setToolTip(tr("指定時刻にコンピュータを復帰させます。"));
    chkResumeOnly = new QCheckBox(tr("復帰機能のみ使用"), this);
    chkResumeOnly->setObjectName(QStringLiteral("chk復帰のみ"));
    row1->addWidget(chkResume);
    row1->addWidget(chkResumeOnly);
    row1->addStretch();
    lay->addLayout(row1);

    chkResumeAtClock = new QCheckBox(tr("復帰時刻"), this);
    chkResumeAtClock->setObjectName(QStringLiteral("chk復帰時刻"));
    lay->addWidget(chkResumeAtClock);

    resumePages = new QStackedWidget(this);
    resumePages->setObjectName(QStringLiteral("resumePages"));
    auto *datePage = new QWidget(resumePages);
    datePage->setObjectName(QStringLiteral("frResumeDate"));
    auto *dl = new QHBoxLayout(datePage);
    dl->setContentsMargins(0, 0, 0, 0);
    dl->setSpacing(1);
    //: Unit after a box of the resume date and time (year, month, day, hour, minute).
    const QString units[5] = {tr("年", "date unit"), tr("月", "date unit"), tr("日", "date unit"),
                              tr("時", "date unit"), tr("分", "date unit")};
    const QString what[5] = {tr("復帰年"), tr("復帰月"), tr("復帰日"), tr("復帰時"), tr("復帰分")};
    const QString spinNames[5] = {QStringLiteral("UpD_rY"), QStringLiteral("UpD_rM"), QStringLiteral("UpD_rD"),
                                  QStringLiteral("UpD_rH"), QStringLiteral("UpD_rMM")};
    for (int i = 0; i < 5; ++i) {
        txtResume[i] = new QLineEdit(datePage);
        txtResume[i]->setObjectName(QStringLiteral("txtResume_") + QString::number(i));
        txtResume[i]->setFixedWidth(i == 0 ? 40 : 26);
        txtResume[i]->setAlignment(Qt::AlignRight);
        txtResume[i]->setMaxLength(i == 0 ? 4 : 2);
        txtResume[i]->setAccessibleName(what[i]);
        txtResume[i]->setAttribute(Qt::WA_InputMethodEnabled, false);
        dl->addWidget(txtResume[i]);
        dl->addLayout(MakeSpinPair(datePage, UpD_r[i], spinNames[i], what[i], 14));
        auto *u = new QLabel(units[i], datePage);
        u->setObjectName(QStringLiteral("lblResumeUnit_") + QString::number(i));
        dl->addWidget(u);
    }
    dl->addStretch();
    resumePages->addWidget(datePage);

    auto *minutesPage = new QWidget(resumePages);
    minutesPage->setObjectName(QStringLiteral("frResumeMinutes"));
    auto *mpl = new QHBoxLayout(minutesPage);
    mpl->setContentsMargins(0, 0, 0, 0);
    cmbResumeMinutes = new QComboBox(minutesPage);
    cmbResumeMinutes->setObjectName(QStringLiteral("cmb復帰分"));
    cmbResumeMinutes->setEditable(true);
    cmbResumeMinutes->setInsertPolicy(QComboBox::NoInsert);
    for (const char *m : {"  1", "  2", "  3", "  5", "  7", " 10", " 15", " 20", " 30", " 40", " 50", " 60",
                          " 90", "120", "150", "180", "240", "300", "360", "420", "480", "540", "600"})
        cmbResumeMinutes->addItem(QString::fromLatin1(m));
    cmbResumeMinutes->setEditText(QStringLiteral(" 10"));
    cmbResumeMinutes->setToolTip(tr("スタンバイ/休止後、この分数後に復帰します"));
    cmbResumeMinutes->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    cmbResumeMinutes->lineEdit()->setAccessibleName(tr("分後に復帰"));
    auto *lAfter = new QLabel(tr("分後に復帰"), minutesPage);
    lAfter->setObjectName(QStringLiteral("lbl分後に復帰"));
    lAfter->setBuddy(cmbResumeMinutes);
    mpl->addWidget(cmbResumeMinutes);
    mpl->addWidget(lAfter);
    mpl->addStretch();
    resumePages->addWidget(minutesPage);
    lay->addWidget(resumePages);

    auto *row2 = new QHBoxLayout;
    cmdClear = new QPushButton(tr("クリア"), this);
    cmdClear->setObjectName(QStringLiteral("cmdClear"));
    cmdClear->setToolTip(tr("復帰時刻と起動アプリを消去します"));
    row2->addWidget(cmdClear);
    cmdSetDefaultResume = new QPushButton(tr("リスト値セット"), this);
    cmdSetDefaultResume->setObjectName(QStringLiteral("cmdSetDefaultResume"));
    cmdSetDefaultResume->setToolTip(tr("復帰リストから曜日毎の復帰時刻と起動アプリをセットします。"));
    row2->addWidget(cmdSetDefaultResume);
    cmdWeekList = new QPushButton(tr("復帰リスト"), this);
    cmdWeekList->setObjectName(QStringLiteral("cmd個別曜日設定"));
    cmdWeekList->setToolTip(tr("曜日毎の復帰時刻と起動アプリを指定します。"));
    row2->addWidget(cmdWeekList);
    row2->addStretch();
    lay->addLayout(row2);

    frWeek = new QGroupBox(tr("復帰曜日"), this);
    frWeek->setObjectName(QStringLiteral("frWeek"));
    frWeek->setToolTip(tr("復帰が有効な曜日を指定"));
    auto *wl = new QHBoxLayout(frWeek);
    wl->setContentsMargins(4, 2, 4, 2);
    wl->setSpacing(2);
    //: One-letter weekdays, Sunday first.
    const QString days[8] = {QString(),           tr("日", "weekday"), tr("月", "weekday"), tr("火", "weekday"),
                             tr("水", "weekday"), tr("木", "weekday"), tr("金", "weekday"), tr("土", "weekday")};
    for (int w = 1; w <= 7; ++w) {
        chkWeek[w] = new QCheckBox(days[w], frWeek);
        chkWeek[w]->setObjectName(QStringLiteral("chkWeek_") + QString::number(w));
        wl->addWidget(chkWeek[w]);
    }
    lay->addWidget(frWeek);

    chkResumeKeep = new QCheckBox(tr("復帰状態維持"), this);
    chkResumeKeep->setObjectName(QStringLiteral("chk復帰状態維持"));
    chkResumeKeep->setToolTip(tr("オフ：入力または実行アプリが無い場合スタンバイモードに移行"));
    chkResumeMonitor = new QCheckBox(tr("復帰時モニターオン"), this);
    chkResumeMonitor->setObjectName(QStringLiteral("chk復帰時モニター"));
    chkResumeMonitor->setToolTip(tr("復帰時にモニターの電源をオン/オフ"));
    auto *row3 = new QHBoxLayout;
    row3->addWidget(chkResumeKeep);
    row3->addWidget(chkResumeMonitor);
    row3->addStretch();
    lay->addLayout(row3);
    lay->addStretch();

    using B = JobBindings;
    m_bindings.check(chkResumeOnly, B::field(&JobSettings::ResumeOnly));
    m_bindings.check(chkResumeAtClock, B::field(&JobSettings::ResumeAtClock));
    m_bindings.editText(cmbResumeMinutes, B::field(&JobSettings::ResumeAfterMinutes));
    for (int i = 0; i < 5; ++i)
        m_bindings.text(txtResume[i], B::resumePart(i));
    m_bindings.check(chkResumeKeep, B::field(&JobSettings::ResumeKeepState));
    m_bindings.check(chkResumeMonitor, B::field(&JobSettings::ResumeMonitorOn));
    for (int w = 1; w <= 7; ++w)
        m_bindings.check(chkWeek[w], B::weekday(w));
    // Shown after the operation, which decides whether it can be ticked.
    m_bindings.check(chkResume, B::field(&JobSettings::ResumeEnabled), B::Store | B::Live);
    connectLive(this);

    const auto loading = [this] { return m_host.loading(); };
    cmbResumeMinutes->setValidator(new DigitsValidator(true, loading, cmbResumeMinutes));
    // A typed number stays as typed, never completed to a list entry.
    cmbResumeMinutes->setCompleter(nullptr);
    for (QLineEdit *e : txtResume)
        e->setValidator(new DigitsValidator(false, loading, e));
    for (int i = 0; i < 5; ++i)
        for (int d = 0; d < 2; ++d)
            RepeatWhileHeld(UpD_r[i][d], this, [this, i, d] { spinResume(i, d); });

    connect(chkResume, &QCheckBox::clicked, this, &ResumePanel::onResumeClicked);
    connect(chkResumeOnly, &QCheckBox::clicked, this, &ResumePanel::onResumeOnlyClicked);
    for (QCheckBox *c : {chkResume, chkResumeOnly, chkResumeAtClock})
        connect(c, &QCheckBox::toggled, this, &ResumePanel::layoutChanged);
    connect(cmdClear, &QPushButton::clicked, this, [this] {
        for (QLineEdit *e : txtResume)
            e->clear();
        Q_EMIT cleared();
    });
    connect(cmdSetDefaultResume, &QPushButton::clicked, this, &ResumePanel::setDefaultResume);
    connect(cmdWeekList, &QPushButton::clicked, this, &ResumePanel::openWeekList);
}

void ResumePanel::showOperationTips(const OperationTooltips &tips)
{
    chkResumeOnly->setToolTip(tips.resumeOnlyBox);
}

void ResumePanel::showResumeBox()
{
    const JobSettings &j = m_host.state().job;
    chkResume->setEnabled(ResumeUsable(m_host.operation(), j.ResumeOnly != 0));
    chkResume->setChecked(j.ResumeEnabled != 0);
}

void ResumePanel::refuseResume()
{
    chkResume->setEnabled(false);
    chkResume->setChecked(false);
}

void ResumePanel::applyLayout()
{
    const bool resume = chkResume->isChecked();
    cmdClear->setVisible(resume);
    cmdSetDefaultResume->setVisible(resume);
    resumePages->setCurrentIndex(chkResumeAtClock->isChecked() ? 0 : 1);
}

bool ResumePanel::resumeOnlyTicked() const
{
    return chkResumeOnly->isChecked();
}

void ResumePanel::onResumeClicked()
{
    if (!chkResume->isEnabled())
        chkResume->setChecked(false);
    Q_EMIT layoutChanged();
}

void ResumePanel::onResumeOnlyClicked()
{
    SetResumeOnly(m_host.state().job, chkResumeOnly->isChecked(), m_host.operation());
    showResumeBox();
    Q_EMIT layoutChanged();
}

void ResumePanel::spinResume(int box, int direction)
{
    std::array<QString, 5> parts;
    for (int i = 0; i < 5; ++i)
        parts[i] = txtResume[i]->text();
    if (!SpinResumeDate(parts, box, direction, m_host.clock().now()))
        return;
    for (int i = 0; i < 5; ++i)
        if (txtResume[i]->text() != parts[i])
            txtResume[i]->setText(parts[i]);
}

void ResumePanel::setDefaultResume()
{
    AppState &state = m_host.state();
    const QString dropped = ApplyWeeklyResumeList(state, m_host.clock());
    JobSettings shown = state.job;
    ShowResumeInBoxes(shown, state.cl);
    for (int i = 0; i < 5; ++i)
        txtResume[size_t(i)]->setText(shown.ResumeDateParts[size_t(i)]);
    Q_EMIT applicationCommandSet(shown.AppCommand);
    if (!dropped.isEmpty())
        m_host.showBox(tr("復帰リスト"), dropped, QMessageBox::Ok, QMessageBox::Ok, nullptr);
}

void ResumePanel::openWeekList()
{
    AppState &state = m_host.state();
    auto *week = new WeekWindow(state.WeeklyResumeTable, state.job.ResumeWeekdays, state.LastProgramFolder,
                                [this](const QString &path) { return m_host.services().makeRelativePath(path); },
                                window());
    week->setAttribute(Qt::WA_DeleteOnClose);
    week->setModal(true);
    connect(week, &WeekWindow::applicationInputRequested, week, [this, week](int row) {
        m_host.openInputFormOn(week->applicationBox(row), QCursor::pos(), EditFormOpener::ApplicationCommand);
    });
    connect(week, &QDialog::finished, this, [this, week](int result) {
        AppState &edited = m_host.state();
        if (result == QDialog::Accepted)
            edited.WeeklyResumeTable = week->table();
        edited.LastProgramFolder = week->lastProgramFolder();
        m_host.saveSettings();
    });
    week->open();
}

}  // namespace zk
