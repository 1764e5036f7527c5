#include "ui/input_form.h"
#include "ui/clickable_label.h"

#include "core/ports/input_method.h"
#include "input/edit_form.h"
#include "shell/window_place.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

namespace zk {

namespace {

QPointer<InputForm> g_open;

QString TargetText(QWidget *target)
{
    if (auto *e = qobject_cast<QLineEdit *>(target))
        return e->text();
    if (auto *p = qobject_cast<QPlainTextEdit *>(target))
        return p->toPlainText();
    return QString();
}

// The double-click filter of OpenOnDoubleClick.
class DoubleClickOpener : public QObject {
public:
    DoubleClickOpener(QObject *parent, std::function<void(QPoint)> open) : QObject(parent), m_open(std::move(open)) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::MouseButtonDblClick)
            return false;
        auto *m = static_cast<QMouseEvent *>(event);
        if (m->button() != Qt::LeftButton)
            return false;
        const QPoint at = m->globalPosition().toPoint();
        // After the event: the box finishes its own handling of the press first.
        QTimer::singleShot(0, this, [this, at] { m_open(at); });
        return true;
    }

private:
    std::function<void(QPoint)> m_open;
};

}  // namespace

void OpenOnDoubleClick(QWidget *box, std::function<void(QPoint pointer)> open)
{
    auto *filter = new DoubleClickOpener(box, std::move(open));
    box->installEventFilter(filter);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(box))
        area->viewport()->installEventFilter(filter);  // the clicks land on the viewport
}

InputForm *InputForm::current()
{
    return g_open;
}

InputForm *InputForm::open(QWidget *target, const InputFormSetup &setup, QPoint pointer)
{
    if (g_open)
        return g_open;
    auto *form = new InputForm(target, setup, target ? target->window() : nullptr);
    g_open = form;
    QScreen *screen = QGuiApplication::screenAt(pointer);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    form->move(PlaceAtPointer(pointer, form->size(), area));
    form->show();
    // Timer_Load: the box takes the focus once the form is on screen.
    QTimer::singleShot(0, form, [form] {
        form->activateWindow();
        form->txtInput->setFocus(Qt::OtherFocusReason);
        if (form->m_switchable && form->m_setup.inputMethod)
            form->m_setup.inputMethod->setOpen(form->m_imeOpen);
    });
    return form;
}

InputForm::InputForm(QWidget *target, const InputFormSetup &setup, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), m_target(target), m_setup(setup)
{
    setObjectName(QStringLiteral("frmInput"));
    setWindowTitle(tr("編集"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Modal over its caller's window only: a help text it opens stays usable.
    setWindowModality(Qt::WindowModal);
    setSizeGripEnabled(true);

    txtInput = new QPlainTextEdit(this);
    txtInput->setObjectName(QStringLiteral("txtInput"));
    txtInput->setAccessibleName(tr("編集する文字列"));
    txtInput->setTabChangesFocus(false);
    txtInput->installEventFilter(this);
    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmd閉じる_0"));
    cmdOk->setAutoDefault(false);
    cmdCancel = new QPushButton(tr("キャンセル"), this);
    cmdCancel->setObjectName(QStringLiteral("cmd閉じる_1"));
    cmdCancel->setAutoDefault(false);
    const char *const upNames[2] = {"UpD_0", "UpD_1"};
    const QString upTexts[2] = {QStringLiteral("A＋"), QStringLiteral("A－")};
    const QString upTips[2] = {tr("フォントサイズを大きくします"), tr("フォントサイズを小さくします")};
    for (int i = 0; i < 2; ++i) {
        UpD[i] = new QToolButton(this);
        UpD[i]->setObjectName(QString::fromLatin1(upNames[i]));
        UpD[i]->setText(upTexts[i]);
        UpD[i]->setToolTip(upTips[i]);
        UpD[i]->setAccessibleName(upTips[i]);
        connect(UpD[i], &QToolButton::clicked, this, [this, i] { changeFontSize(i == 0 ? 1 : -1); });
    }
    auto *ime = new ClickableLabel(this);
    ime->setObjectName(QStringLiteral("lblIME"));
    ime->setCursor(Qt::PointingHandCursor);
    ime->clicked = [this] { toggleInputMethod(); };
    lblIME = ime;
    auto *help = new ClickableLabel(tr("コマンドラインスイッチ"), this);
    help->setObjectName(QStringLiteral("lblComSw"));
    help->setCursor(Qt::PointingHandCursor);
    help->clicked = [this] {
        if (m_setup.openCommandHelp)
            m_setup.openCommandHelp();
    };
    lblComSw = help;
    lblComSw->setVisible(m_setup.commandHelp);

    mnuEdit = new QMenu(tr("編集"), this);
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    QAction *font = mnuEdit->addAction(tr("フォント"));
    font->setObjectName(QStringLiteral("mnuEditFont"));
    connect(font, &QAction::triggered, this, &InputForm::chooseFont);

    // The box fills what the buttons leave; a margin of two pixels (30 twips).
    auto *lay = new QGridLayout(this);
    lay->setContentsMargins(2, 2, 2, 2);
    lay->setSpacing(2);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    buttons->addStretch();
    auto *fontButtons = new QHBoxLayout;
    fontButtons->addWidget(UpD[0]);
    fontButtons->addWidget(UpD[1]);
    buttons->addLayout(fontButtons);
    lay->addWidget(txtInput, 0, 0);
    lay->addLayout(buttons, 0, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblIME);
    bottom->addStretch();
    bottom->addWidget(lblComSw);
    lay->addLayout(bottom, 1, 0, 1, 2);
    lay->setRowStretch(0, 1);
    lay->setColumnStretch(0, 1);

    connect(cmdOk, &QPushButton::clicked, this, &InputForm::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &InputForm::reject);

    const EditSettings edit = m_setup.edit ? *m_setup.edit : EditSettings();
    resize(EditFormSize(edit).value_or(QSize(511, 147)));
    if (const std::optional<int> points = EditFontSize(edit)) {
        QFont f = txtInput->font();
        f.setPointSize(*points);
        txtInput->setFont(f);
    }
    m_imeOpen = EditInputMethodOpen(edit);
    showInputMethod();
    if (m_setup.inputMethod) {
        m_setup.inputMethod->querySwitchable(this, [this](bool switchable) {
            m_switchable = switchable;
            showInputMethod();
            if (switchable && txtInput->hasFocus())
                m_setup.inputMethod->setOpen(m_imeOpen);
        });
    }
    txtInput->setPlainText(TargetText(target));
}

void InputForm::showInputMethod()
{
    lblIME->setText(InputMethodLabel(m_imeOpen));
    lblIME->setToolTip(InputMethodTooltip(m_switchable));
    lblIME->setAccessibleName(lblIME->text());
}

void InputForm::toggleInputMethod()
{
    m_imeOpen = !m_imeOpen;
    if (m_switchable && m_setup.inputMethod) {
        txtInput->setFocus(Qt::OtherFocusReason);  // the switch acts on the focused field
        m_setup.inputMethod->setOpen(m_imeOpen);
    }
    showInputMethod();
}

void InputForm::changeFontSize(int delta)
{
    QFont f = txtInput->font();
    f.setPointSize(StepEditFontSize(f.pointSize(), delta));
    txtInput->setFont(f);
}

void InputForm::chooseFont()
{
    auto *dlg = new QFontDialog(txtInput->font(), this);
    dlg->setObjectName(QStringLiteral("dlgEditFont"));
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QFontDialog::fontSelected, this, [this](const QFont &chosen) {
        // Only the size is taken.
        QFont f = txtInput->font();
        if (chosen.pointSize() > 0)
            f.setPointSize(chosen.pointSize());
        txtInput->setFont(f);
    });
    dlg->open();
}

void InputForm::accept()
{
    if (m_target) {
        const bool singleLine = qobject_cast<QLineEdit *>(m_target) != nullptr;
        const QString text = EditResultText(txtInput->toPlainText(), singleLine);
        if (auto *e = qobject_cast<QLineEdit *>(m_target))
            e->setText(text);
        else if (auto *p = qobject_cast<QPlainTextEdit *>(m_target))
            p->setPlainText(text);
    }
    if (m_setup.edit)
        RememberEditForm(*m_setup.edit, size(), txtInput->font().pointSize(), m_imeOpen);
    QDialog::accept();
}

void InputForm::done(int result)
{
    // Closed: the next opener gets a new form at once.
    if (g_open == this)
        g_open = nullptr;
    QDialog::done(result);
}

bool InputForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtInput && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;  // swallowed: the text stays one command
    }
    return QDialog::eventFilter(watched, event);
}

void InputForm::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        mnuEdit->popup(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    // The whole surface moves the form.
    if (event->button() == Qt::LeftButton && windowHandle() && windowHandle()->startSystemMove()) {
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

}  // namespace zk
