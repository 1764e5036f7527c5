#include "ui/week_window.h"

#include "core/text.h"
#include "shell/window_place.h"
#include "ui/panels/number_boxes.h"
#include "ui/message_box.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace zk {

namespace {

//: Rows of the resume list: the default row, then one row per weekday.
const char *const kRowNames[kWeeklyRowCount] = {
    QT_TRANSLATE_NOOP("zk::WeekWindow", "基本"), QT_TRANSLATE_NOOP("zk::WeekWindow", "日曜"),
    QT_TRANSLATE_NOOP("zk::WeekWindow", "月曜"), QT_TRANSLATE_NOOP("zk::WeekWindow", "火曜"),
    QT_TRANSLATE_NOOP("zk::WeekWindow", "水曜"), QT_TRANSLATE_NOOP("zk::WeekWindow", "木曜"),
    QT_TRANSLATE_NOOP("zk::WeekWindow", "金曜"), QT_TRANSLATE_NOOP("zk::WeekWindow", "土曜")};

}  // namespace

WeekWindow::WeekWindow(const WeeklyTable &table, const std::array<int, 7> &weekdays, const QString &lastProgramFolder,
                       std::function<QString(const QString &)> makeRelative, QWidget *parent)
    : QDialog(parent), m_lastFolder(lastProgramFolder), m_makeRelative(std::move(makeRelative))
{
    setObjectName(QStringLiteral("frmWeek"));
    setWindowTitle(tr("復帰リスト"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    auto *top = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(2);
    for (int i = 0; i < kWeeklyRowCount; ++i) {
        const QString n = QLatin1Char('_') + QString::number(i);
        auto *label = new QLabel(tr(kRowNames[i]), this);
        label->setObjectName(QStringLiteral("lblWeek") + n);
        if (i == 0)
            label->setToolTip(tr("個別曜日の指定が無い場合は、この基本設定が適用されます"));
        Row &r = m_rows[size_t(i)];
        auto box = [&](const QString &name, const QString &what, int width) {
            auto *e = new QLineEdit(this);
            e->setObjectName(name + n);
            e->setAccessibleName(tr(kRowNames[i]) + QLatin1Char(' ') + what);
            if (width > 0) {
                e->setFixedWidth(width);
                e->setAlignment(Qt::AlignRight);
            }
            e->installEventFilter(this);
            e->setAttribute(Qt::WA_InputMethodEnabled, width == 0);
            return e;
        };
        r.hour = box(QStringLiteral("txtH"), tr("時"), 28);
        r.minute = box(QStringLiteral("txtM"), tr("分"), 28);
        r.application = box(QStringLiteral("txtAp"), tr("起動アプリ"), 0);
        r.application->setMinimumWidth(220);
        r.application->setToolTip(tr("復帰時に起動したいプログラムを右のボタンから選択。ダブルクリックで入力フォーム表示"));
        const ResumeEntry &e = table[size_t(i)];
        r.hour->setText(e.Hour);
        r.minute->setText(e.Minute);
        r.application->setText(e.Application);
        if (i > 0 && weekdays[size_t(i - 1)] == 0) {
            for (QLineEdit *b : {r.hour, r.minute, r.application})
                b->setStyleSheet(QStringLiteral("QLineEdit { background: #E0E0E0; }"));
        }
        auto spinColumn = [&](bool hourBox) {
            auto *col = new QVBoxLayout;
            col->setSpacing(0);
            for (int d = 0; d < 2; ++d) {
                auto *b = new QToolButton(this);
                b->setObjectName((hourBox ? QStringLiteral("UpDH") : QStringLiteral("UpDM")) + n +
                                 QLatin1Char('_') + QString::number(d));
                b->setText(d == 0 ? QStringLiteral("▲") : QStringLiteral("▼"));
                b->setAccessibleName(tr(kRowNames[i]) + (hourBox ? tr(" 時") : tr(" 分")) +
                                     (d == 0 ? tr(" 上") : tr(" 下")));
                b->setFixedSize(16, 11);
                b->setStyleSheet(QStringLiteral("QToolButton { font-size: 6pt; padding: 0; }"));
                b->setAutoRepeat(true);
                b->setAutoRepeatDelay(kSpinFirstRepeatMs);
                b->setAutoRepeatInterval(kSpinRepeatMs);
                connect(b, &QToolButton::pressed, this, [this, i, hourBox, d] { spin(i, hourBox, d); });
                col->addWidget(b);
            }
            return col;
        };
        auto *browseButton = new QToolButton(this);
        browseButton->setObjectName(QStringLiteral("cmd参照") + n);
        browseButton->setText(QStringLiteral("…"));
        browseButton->setToolTip(tr("起動するプログラムを選択して下さい"));
        browseButton->setAccessibleName(tr(kRowNames[i]) + tr(" 参照"));
        connect(browseButton, &QToolButton::clicked, this, [this, i] { browse(i); });
        connect(r.hour, &QLineEdit::textEdited, this, [this, i] {
            WeekRowEdit edit{m_rows[size_t(i)].hour->text(), m_rows[size_t(i)].minute->text()};
            WeekHourEdited(edit);
            m_rows[size_t(i)].minute->setText(edit.minute);
        });
        grid->addWidget(label, i, 0);
        grid->addWidget(r.hour, i, 1);
        grid->addLayout(spinColumn(true), i, 2);
        grid->addWidget(new QLabel(tr("時"), this), i, 3);
        grid->addWidget(r.minute, i, 4);
        grid->addLayout(spinColumn(false), i, 5);
        grid->addWidget(new QLabel(tr("分"), this), i, 6);
        grid->addWidget(r.application, i, 7);
        grid->addWidget(browseButton, i, 8);
        if (i == 0) {
            auto *at = new QLabel(tr("復帰時"), this);
            at->setObjectName(QStringLiteral("lbl復帰時"));
            grid->addWidget(at, i, 9);
        }
    }
    grid->setColumnStretch(7, 1);
    top->addLayout(grid);

    auto *buttons = new QHBoxLayout;
    auto *clear = new QPushButton(tr("全てクリア"), this);
    clear->setObjectName(QStringLiteral("cmdClear"));
    connect(clear, &QPushButton::clicked, this, &WeekWindow::askClear);
    buttons->addWidget(clear);
    buttons->addStretch();
    const QString captions[2] = {QStringLiteral("Ok"), QStringLiteral("Cancel")};
    for (int k = 0; k < 2; ++k) {
        auto *b = new QPushButton(captions[k], this);
        b->setObjectName(QStringLiteral("cmdClose_") + QString::number(k));
        b->setToolTip(tr("フォームを閉じます"));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, k == 0 ? &QDialog::accept : &QDialog::reject);
        buttons->addWidget(b);
    }
    top->addLayout(buttons);
}

WeeklyTable WeekWindow::table() const
{
    WeeklyTable t;
    for (int i = 0; i < kWeeklyRowCount; ++i)
        t[size_t(i)] = {m_rows[size_t(i)].hour->text(), m_rows[size_t(i)].minute->text(),
                        m_rows[size_t(i)].application->text()};
    return t;
}

void WeekWindow::spin(int row, bool hourBox, int direction)
{
    Row &r = m_rows[size_t(row)];
    WeekRowEdit edit{r.hour->text(), r.minute->text()};
    if (hourBox)
        WeekSpinHour(edit, direction);
    else
        WeekSpinMinute(edit, direction);
    r.hour->setText(edit.hour);
    r.minute->setText(edit.minute);
}

void WeekWindow::askClear()
{
    OpenMessageBox(this, tr("フィールドクリア確認"), tr("全フィールドをクリアします。よろしいですか？"),
                   QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel, [this](int button) {
                       if (button != QMessageBox::Ok)
                           return;
                       for (Row &r : m_rows)
                           for (QLineEdit *b : {r.hour, r.minute, r.application})
                               b->clear();
                   });
}

void WeekWindow::browse(int row)
{
    QLineEdit *box = m_rows[size_t(row)].application;
    const QString start = BrowseStartFolder(box->text(), m_lastFolder, QDir::currentPath(),
                                            [](const QString &folder) { return QDir(folder).exists(); });
    auto *dlg = new QFileDialog(this, tr("起動ファイルの選択"), start,
                                tr("すべてのファイル(*.*) (*)"));
    dlg->setObjectName(QStringLiteral("dlgBrowseWeekApplication"));
    dlg->setFileMode(QFileDialog::ExistingFile);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QFileDialog::fileSelected, this, [this, box](const QString &file) {
        if (file.isEmpty())
            return;
        m_lastFolder = QFileInfo(file).absolutePath();
        box->setText(QuoteIfSpaced(m_makeRelative ? m_makeRelative(file) : file));
    });
    dlg->open();
}

bool WeekWindow::eventFilter(QObject *watched, QEvent *event)
{
    for (const Row &r : m_rows) {
        if (watched == r.application && event->type() == QEvent::MouseButtonDblClick) {
            Q_EMIT applicationInputRequested(int(&r - m_rows.data()));
            return true;
        }
        if ((watched == r.hour || watched == r.minute) && event->type() == QEvent::KeyPress) {
            // Only a backspace may be typed (and Tab moves on).
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key != Qt::Key_Backspace && key != Qt::Key_Tab && key != Qt::Key_Backtab)
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace zk
