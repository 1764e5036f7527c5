#include "ui/multi_frame.h"
#include "ui/clickable_label.h"

#include "core/job_edit.h"
#include "core/multi_edit.h"
#include "core/text.h"
#include "shell/window_place.h"
#include "ui/panels/number_boxes.h"
#include "ui/message_box.h"

#include <QComboBox>
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
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace zk {

namespace {

const QString kSelected = QStringLiteral("background: #E0E0FF;");  // red 224, green 224, blue 255
const QString kPlain = QStringLiteral("background: #FFFFFF;");

QToolButton *SpinButton(QWidget *host, const QString &name, bool up)
{
    auto *b = new QToolButton(host);
    b->setObjectName(name);
    b->setText(up ? QStringLiteral("▲") : QStringLiteral("▼"));
    b->setFixedSize(16, 11);
    b->setStyleSheet(QStringLiteral("QToolButton { font-size: 6pt; padding: 0; }"));
    b->setAutoRepeat(true);
    b->setAutoRepeatDelay(kSpinFirstRepeatMs);
    b->setAutoRepeatInterval(kSpinRepeatMs);
    return b;
}

}  // namespace

MultiScheduleFrame::MultiScheduleFrame(AppState &state, std::function<QString(const QString &)> makeRelative,
                                       QWidget *parent)
    : QGroupBox(tr("時刻昇順"), parent), m_state(state), m_makeRelative(std::move(makeRelative))
{
    setObjectName(QStringLiteral("fr連続"));
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(6, 4, 6, 4);
    lay->setSpacing(2);

    auto *captions = new QWidget(this);
    captions->setObjectName(QStringLiteral("fr_Multi2"));
    auto *cl = new QHBoxLayout(captions);
    cl->setContentsMargins(24, 0, 0, 0);
    const QString texts[4] = {tr("時"), tr("分"), tr("処理"),
                              tr("起動アプリ")};
    const int widths[4] = {48, 48, 110, 0};
    for (int k = 0; k < 4; ++k) {
        auto *l = new QLabel(texts[k], captions);
        l->setObjectName(QStringLiteral("lblItemMulti_") + QString::number(k));
        l->setToolTip(tr("復帰時刻：現在時刻より前は翌日扱い"));
        if (widths[k] > 0)
            l->setFixedWidth(widths[k]);
        cl->addWidget(l);
    }
    cl->addStretch();
    lay->addWidget(captions);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("Pic_Multi"));
    m_scroll->setWidgetResizable(true);
    auto *rows = new QWidget(m_scroll);
    rows->setObjectName(QStringLiteral("fr_Multi"));
    auto *grid = new QGridLayout(rows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(1);
    for (int i = 0; i < kMultiRowCount; ++i)
        buildRow(rows, i);
    m_scroll->setWidget(rows);
    // Three rows at least: on a small screen the rest scroll.
    m_scroll->setMinimumHeight(3 * (m_rows[0].hour->sizeHint().height() + 1) + 2 * m_scroll->frameWidth());
    m_scroll->verticalScrollBar()->setObjectName(QStringLiteral("VS_Multi"));
    m_scroll->horizontalScrollBar()->setObjectName(QStringLiteral("HS_Multi"));
    lay->addWidget(m_scroll);

    auto *buttons = new QHBoxLayout;
    for (int k = 0; k < 2; ++k) {
        auto *b = new QToolButton(this);
        b->setObjectName(QStringLiteral("Order_Multi_") + QString::number(k));
        b->setText(k == 0 ? QStringLiteral("▲") : QStringLiteral("▼"));
        b->setToolTip(tr("上下に順序入れ替え"));
        b->setAccessibleName(k == 0 ? tr("上へ") : tr("下へ"));
        connect(b, &QToolButton::clicked, this, [this, k] { move(k == 0); });
        buttons->addWidget(b);
    }
    buttons->addStretch();
    auto *clear = new ClickableLabel(QStringLiteral("All Clear"), this);
    clear->setObjectName(QStringLiteral("lblAllClear_Multi"));
    clear->setCursor(Qt::PointingHandCursor);
    clear->clicked = [this] { askClear(); };
    buttons->addWidget(clear);
    lay->addLayout(buttons);

    setOperations(MultiRowOperations(true));
    load();
}

void MultiScheduleFrame::buildRow(QWidget *host, int i)
{
    auto *grid = static_cast<QGridLayout *>(host->layout());
    Row &r = m_rows[size_t(i)];
    const QString n = QLatin1Char('_') + QString::number(i);
    r.number = new QLabel(QString::number(i + 1), host);
    r.number->setObjectName(QStringLiteral("lblMulti") + n);
    r.number->setFixedWidth(20);
    auto box = [&](const QString &name, const QString &what) {
        auto *e = new QLineEdit(host);
        e->setObjectName(name + n);
        e->setFixedWidth(28);
        e->setAlignment(Qt::AlignRight);
        e->setAccessibleName(QString::number(i + 1) + QStringLiteral(" ") + what);
        e->installEventFilter(this);
        e->setAttribute(Qt::WA_InputMethodEnabled, false);
        return e;
    };
    r.hour = box(QStringLiteral("txtDateH_Multi"), tr("時"));
    r.minute = box(QStringLiteral("txtDateM_Multi"), tr("分"));
    r.spins = {SpinButton(host, QStringLiteral("UpH_Multi") + n, true),
               SpinButton(host, QStringLiteral("DnH_Multi") + n, false),
               SpinButton(host, QStringLiteral("UpM_Multi") + n, true),
               SpinButton(host, QStringLiteral("DnM_Multi") + n, false)};
    r.operation = new QComboBox(host);
    r.operation->setObjectName(QStringLiteral("cmbOp_Multi") + n);
    r.operation->setAccessibleName(QString::number(i + 1) + tr(" 処理"));
    r.operation->setFixedWidth(110);
    r.operation->installEventFilter(this);
    r.application = new QLineEdit(host);
    r.application->setObjectName(QStringLiteral("txtExecAp_Multi") + n);
    r.application->setAccessibleName(QString::number(i + 1) + tr(" 起動アプリ"));
    r.application->setMinimumWidth(160);
    r.application->installEventFilter(this);
    r.browse = new QToolButton(host);
    r.browse->setObjectName(QStringLiteral("cmd参照_Multi") + n);
    r.browse->setText(QStringLiteral("…"));
    r.browse->setAccessibleName(QString::number(i + 1) + tr(" 参照"));

    auto spinColumn = [&](QToolButton *up, QToolButton *down) {
        auto *col = new QVBoxLayout;
        col->setSpacing(0);
        col->addWidget(up);
        col->addWidget(down);
        return col;
    };
    grid->addWidget(r.number, i, 0);
    grid->addWidget(r.hour, i, 1);
    grid->addLayout(spinColumn(r.spins[0], r.spins[1]), i, 2);
    grid->addWidget(r.minute, i, 3);
    grid->addLayout(spinColumn(r.spins[2], r.spins[3]), i, 4);
    grid->addWidget(r.operation, i, 5);
    grid->addWidget(r.application, i, 6);
    grid->addWidget(r.browse, i, 7);
    grid->setColumnStretch(6, 1);

    // The spin buttons: one step on the press and each repeat while held.
    for (int k = 0; k < 4; ++k) {
        connect(r.spins[size_t(k)], &QToolButton::pressed, this, [this, i, k] {
            Row &row = m_rows[size_t(i)];
            QLineEdit *e = k < 2 ? row.hour : row.minute;
            e->setText(SpinValue(e->text(), k % 2, k < 2 ? 23 : 59, 0));
            selectRow(i);
        });
    }
    connect(r.hour, &QLineEdit::textChanged, this, [this, i](const QString &t) {
        if (m_loading == 0)
            m_state.MultiRows[size_t(i)].Hour = t;
    });
    connect(r.minute, &QLineEdit::textChanged, this, [this, i](const QString &t) {
        if (m_loading == 0)
            m_state.MultiRows[size_t(i)].Minute = t;
    });
    // The row keeps the stored (Japanese) text, the item's data; the item shows its display name.
    connect(r.operation, &QComboBox::currentIndexChanged, this, [this, i] {
        if (m_loading == 0)
            m_state.MultiRows[size_t(i)].Operation = m_rows[size_t(i)].operation->currentData().toString();
        applyApplicationVisibility(i);
    });
    connect(r.application, &QLineEdit::textChanged, this, [this, i](const QString &t) {
        m_rows[size_t(i)].application->setToolTip(t);
        if (m_loading == 0)
            m_state.MultiRows[size_t(i)].Application = t;
    });
    connect(r.browse, &QToolButton::clicked, this, [this, i] { browse(i); });
}

void MultiScheduleFrame::setOperations(const QStringList &items)
{
    ++m_loading;
    for (Row &r : m_rows) {
        r.operation->clear();
        r.operation->addItem(QString(), QString());  // an empty row
        for (const QString &item : items)
            r.operation->addItem(MultiRowDisplayName(item), item);
    }
    --m_loading;
    load();
}

void MultiScheduleFrame::load()
{
    ++m_loading;
    for (int i = 0; i < kMultiRowCount; ++i)
        showRow(i);
    --m_loading;
    selectRow(selectedRow());
}

void MultiScheduleFrame::showRow(int i)
{
    const MultiEntry &e = m_state.MultiRows[size_t(i)];
    Row &r = m_rows[size_t(i)];
    r.hour->setText(e.Hour);
    r.minute->setText(e.Minute);
    int k = r.operation->findData(e.Operation);
    if (k < 0) {
        // A text the list does not offer (here) is shown as it is.
        r.operation->addItem(MultiRowDisplayName(e.Operation), e.Operation);
        k = r.operation->count() - 1;
    }
    r.operation->setCurrentIndex(k);
    r.application->setText(e.Application);
    applyApplicationVisibility(i);
}

void MultiScheduleFrame::applyApplicationVisibility(int i)
{
    const bool shown = MultiRowShowsApplication(m_rows[size_t(i)].operation->currentData().toString());
    m_rows[size_t(i)].application->setVisible(shown);
    m_rows[size_t(i)].browse->setVisible(shown);
}

int MultiScheduleFrame::selectedRow() const
{
    return SelectedMultiRow(property("tag").toString());
}

void MultiScheduleFrame::paintRow(int i, bool selected)
{
    const Row &r = m_rows[size_t(i)];
    const QString style = selected ? kSelected : kPlain;
    r.hour->setStyleSheet(QStringLiteral("QLineEdit { ") + style + QStringLiteral(" }"));
    r.minute->setStyleSheet(QStringLiteral("QLineEdit { ") + style + QStringLiteral(" }"));
    r.operation->setStyleSheet(QStringLiteral("QComboBox { ") + style + QStringLiteral(" }"));
    r.application->setStyleSheet(QStringLiteral("QLineEdit { ") + style + QStringLiteral(" }"));
}

void MultiScheduleFrame::selectRow(int row)
{
    paintRow(selectedRow(), false);
    paintRow(row, true);
    setProperty("tag", QString::number(row));
}

void MultiScheduleFrame::showRunningRow(int row)
{
    selectRow(row);
    // Four rows above the running one stay in view (or the first row).
    const QWidget *first = m_rows[size_t(MultiScrollRow(row))].hour;
    m_scroll->verticalScrollBar()->setValue(std::min(first->y(), m_scroll->verticalScrollBar()->maximum()));
}

void MultiScheduleFrame::move(bool up)
{
    const int from = selectedRow();
    const int to = MoveMultiRow(m_state.MultiRows, from, up);
    if (to == from)
        return;
    ++m_loading;
    showRow(from);
    showRow(to);
    --m_loading;
    selectRow(to);
}

void MultiScheduleFrame::askClear()
{
    OpenMessageBox(this, tr("初期化"), tr("リストを全てクリアします。よろしいですか？"),
                   QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, [this](int button) {
                       if (button != QMessageBox::Ok)
                           return;
                       m_state.MultiRows.fill(MultiEntry());
                       load();
                   });
}

void MultiScheduleFrame::browse(int i)
{
    QLineEdit *box = m_rows[size_t(i)].application;
    const QString start = BrowseStartFolder(box->text(), m_state.LastProgramFolder, QDir::currentPath(),
                                            [](const QString &folder) { return QDir(folder).exists(); });
    auto *dlg = new QFileDialog(this, tr("起動ファイルの選択"), start,
                                tr("すべてのファイル(*.*) (*)"));
    dlg->setObjectName(QStringLiteral("dlgBrowseMultiApplication"));
    dlg->setFileMode(QFileDialog::ExistingFile);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QFileDialog::fileSelected, this, [this, box](const QString &file) {
        if (file.isEmpty())
            return;
        m_state.LastProgramFolder = QFileInfo(file).absolutePath();
        box->setText(QuoteIfSpaced(m_makeRelative ? m_makeRelative(file) : file));
    });
    dlg->open();
}

int MultiScheduleFrame::rowOf(QObject *o) const
{
    for (int i = 0; i < kMultiRowCount; ++i) {
        const Row &r = m_rows[size_t(i)];
        if (o == r.hour || o == r.minute || o == r.operation || o == r.application)
            return i;
    }
    return -1;
}

bool MultiScheduleFrame::eventFilter(QObject *watched, QEvent *event)
{
    const int row = rowOf(watched);
    if (row >= 0) {
        switch (event->type()) {
        case QEvent::FocusIn:
            selectRow(row);
            break;
        case QEvent::KeyPress:
        case QEvent::InputMethod:
            // Hour, minute and operation change only by their buttons and list.
            if (watched != m_rows[size_t(row)].application) {
                const auto *key = static_cast<QKeyEvent *>(event);
                if (event->type() == QEvent::InputMethod || (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab))
                    return true;
            }
            break;
        case QEvent::MouseButtonDblClick:
            if (watched == m_rows[size_t(row)].application) {
                Q_EMIT applicationInputRequested(row);
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

}  // namespace zk
