#include "ui/create_shortcut_window.h"
#include "ui/clickable_label.h"

#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <utility>

namespace zk {

namespace {

QString NoKeyTip()
{
    return CreateShortcutWindow::tr("デスクトップのランチャーにはこの設定を記録する項目がありません");
}

}  // namespace

CreateShortcutWindow::CreateShortcutWindow(const QString &handOver, ShortcutEnvironment env, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), m_env(std::move(env))
{
    setObjectName(QStringLiteral("frmCreateShortcut"));
    setWindowTitle(tr("ショートカットの作成"));
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *grid = new QGridLayout;
    const QString captions[kShortcutBoxes] = {
        tr("ファイル名"), tr("リンク先"), tr("コマンドラインスイッチ"),
        tr("ショートカットキー"), tr("作業フォルダ"), tr("コメント"),
        tr("アイコン")};
    for (int i = 0; i < kShortcutBoxes; ++i) {
        QLabel *label = nullptr;
        if (i == kBoxArguments) {
            auto *help = new ClickableLabel(captions[i], this);
            help->setObjectName(QStringLiteral("lblComSw"));
            help->setCursor(Qt::PointingHandCursor);
            help->setToolTip(tr("クリックするとコマンドラインの説明を表示します"));
            help->clicked = [this] { Q_EMIT commandLineHelpRequested(); };
            label = help;
        } else {
            label = new QLabel(captions[i], this);
        }
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("txtInfo_") + QString::number(i));
        box->setAccessibleName(captions[i]);
        box->installEventFilter(this);
        label->setBuddy(box);
        m_boxes[i] = box;
        connect(box, &QLineEdit::textChanged, box, [box](const QString &text) { box->setToolTip(text); });
        grid->addWidget(label, i, 0);
        grid->addWidget(box, i, 1);
    }
    // A desktop entry has no key for a hotkey or the window size.
    m_boxes[kBoxHotkey]->setEnabled(false);
    m_boxes[kBoxHotkey]->setPlaceholderText(NoKeyTip());
    m_boxes[kBoxFolder]->setPlaceholderText(tr("（指定なし）"));
    m_boxes[kBoxIcon]->setPlaceholderText(tr("画像ファイル、またはアイコン名"));
    connect(m_boxes[kBoxTarget], &QLineEdit::textChanged, this, [this](const QString &target) {
        m_boxes[kBoxFolder]->setText(FolderOfPath(target, m_env.fs));
    });
    connect(m_boxes[kBoxIcon], &QLineEdit::textChanged, this, &CreateShortcutWindow::showIcon);

    auto browse = [this, grid](int row, const QString &name, const QString &tip, void (CreateShortcutWindow::*slot)()) {
        auto *b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(QStringLiteral("…"));
        b->setToolTip(tip);
        b->setAccessibleName(tip);
        connect(b, &QToolButton::clicked, this, slot);
        grid->addWidget(b, row, 2);
    };
    browse(kBoxFile, QStringLiteral("cmdRef_0"), tr("ショートカット名"), &CreateShortcutWindow::browseFile);
    browse(kBoxTarget, QStringLiteral("cmdRef_1"), tr("ターゲットの選択"), &CreateShortcutWindow::browseTarget);

    m_icon = new QToolButton(this);
    m_icon->setObjectName(QStringLiteral("cmdIcon"));
    m_icon->setToolTip(tr("アイコンを変更します"));
    m_icon->setAccessibleName(tr("アイコンを変更します"));
    m_icon->setIconSize(QSize(32, 32));
    m_icon->setText(QStringLiteral("…"));
    m_icon->setToolButtonStyle(Qt::ToolButtonIconOnly);
    connect(m_icon, &QToolButton::clicked, this, &CreateShortcutWindow::chooseIcon);
    grid->addWidget(m_icon, kBoxIcon, 2);

    m_windowStyle = new QComboBox(this);
    m_windowStyle->setObjectName(QStringLiteral("cmbWindowStyle"));
    m_windowStyle->addItems({tr("通常のウィンドウ"), tr("最大化"), tr("最小化")});
    m_windowStyle->setEnabled(false);
    m_windowStyle->setToolTip(NoKeyTip());
    auto *sizeLabel = new QLabel(tr("実行時の大きさ"), this);
    sizeLabel->setBuddy(m_windowStyle);
    m_windowStyle->setAccessibleName(sizeLabel->text());
    grid->addWidget(sizeLabel, kShortcutBoxes, 0);
    grid->addWidget(m_windowStyle, kShortcutBoxes, 1);
    grid->setColumnStretch(1, 1);

    auto *ok = new QPushButton(tr("作成"), this);
    ok->setObjectName(QStringLiteral("cmdClose_0"));
    auto *cancel = new QPushButton(tr("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cmdClose_1"));
    // Enter in a box does nothing; only a click creates.
    for (QPushButton *b : {ok, cancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(ok, &QPushButton::clicked, this, &CreateShortcutWindow::create);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addLayout(buttons);
    resize(560, sizeHint().height());

    // The file name, target and arguments come from the hand-over (the
    // target fills in the working folder); the other boxes start empty.
    const ShortcutFields f = FieldsFromHandOver(handOver);
    for (int i : {kBoxFile, kBoxTarget, kBoxArguments})
        m_boxes[i]->setText(f.boxes[i]);
    m_windowStyle->setCurrentIndex(f.windowStyle);
}

ShortcutFields CreateShortcutWindow::fields() const
{
    ShortcutFields f;
    for (int i = 0; i < kShortcutBoxes; ++i)
        f.boxes[i] = m_boxes[i]->text();
    f.windowStyle = m_windowStyle->currentIndex();
    return f;
}

bool CreateShortcutWindow::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (box && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    } else if (box && event->type() == QEvent::MouseButtonDblClick) {
        Q_EMIT inputFormRequested(box);
    }
    return QDialog::eventFilter(watched, event);
}

void CreateShortcutWindow::browseFile()
{
    auto *dlg = new QFileDialog(this, tr("ショートカット名"), m_boxes[kBoxFile]->text(),
                                tr("ショートカット(*.desktop) (*.desktop)"));
    dlg->setObjectName(QStringLiteral("dlgShortcutFile"));
    dlg->setAcceptMode(QFileDialog::AcceptSave);
    dlg->setDefaultSuffix(QStringLiteral("desktop"));
    dlg->setOption(QFileDialog::DontConfirmOverwrite);  // the create button asks
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QFileDialog::fileSelected, this, [this](const QString &file) {
        if (!file.isEmpty())
            m_boxes[kBoxFile]->setText(file);
    });
    dlg->open();
}

void CreateShortcutWindow::browseTarget()
{
    auto *dlg = new QFileDialog(this, tr("ターゲットの選択"), m_boxes[kBoxTarget]->text(),
                                tr("すべてのファイル(*.*) (*)"));
    dlg->setObjectName(QStringLiteral("dlgShortcutTarget"));
    dlg->setFileMode(QFileDialog::ExistingFile);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QFileDialog::fileSelected, this, [this](const QString &file) {
        if (!file.isEmpty())
            m_boxes[kBoxTarget]->setText(file);
    });
    dlg->open();
}

void CreateShortcutWindow::chooseIcon()
{
    const QString current = m_boxes[kBoxIcon]->text().trimmed();
    auto *dlg = new QFileDialog(this, tr("アイコンの選択"), current.contains(QLatin1Char('/')) ? current : QString(),
                                tr("アイコン (*.png *.svg *.xpm *.ico)"));
    dlg->setObjectName(QStringLiteral("dlgShortcutIcon"));
    dlg->setFileMode(QFileDialog::ExistingFile);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QFileDialog::fileSelected, this, [this](const QString &file) {
        if (!file.isEmpty())
            m_boxes[kBoxIcon]->setText(file);
    });
    dlg->open();
}

void CreateShortcutWindow::showIcon()
{
    const QString icon = m_boxes[kBoxIcon]->text().trimmed();
    QIcon shown;
    if (icon.contains(QLatin1Char('/')))
        shown = QFileInfo(icon).isFile() ? QIcon(icon) : QIcon();
    else if (!icon.isEmpty())
        shown = QIcon::fromTheme(icon);
    m_icon->setIcon(shown);
    m_icon->setToolButtonStyle(shown.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
}

QMessageBox *CreateShortcutWindow::message(const QString &title, const QString &text, int buttons, int defaultButton,
                                           std::function<void(int button)> done)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::StandardButtons(buttons), this);
    box->setObjectName(QStringLiteral("msgBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    if (defaultButton)
        box->setDefaultButton(QMessageBox::StandardButton(defaultButton));
    if (QAbstractButton *b = box->button(QMessageBox::Cancel))
        b->setText(tr("キャンセル"));
    if (QAbstractButton *b = box->button(QMessageBox::Yes))
        b->setText(tr("はい"));
    if (QAbstractButton *b = box->button(QMessageBox::No))
        b->setText(tr("いいえ"));
    connect(box, &QMessageBox::finished, this, [box, done = std::move(done)](int) {
        QAbstractButton *clicked = box->clickedButton();
        done(clicked ? int(box->standardButton(clicked)) : int(QMessageBox::Cancel));
    });
    m_message = box;
    box->open();
    return box;
}

void CreateShortcutWindow::create()
{
    if (m_message)
        return;  // a question is still open
    const ShortcutCheck check = CheckShortcut(fields(), m_env.fs);
    switch (check.result) {
    case ShortcutCheck::Refused: {
        QPointer<QLineEdit> box = m_boxes[check.focusBox];
        message(check.title, check.text, QMessageBox::Ok, QMessageBox::Ok, [box](int) {
            if (box) {
                box->setFocus();
                box->selectAll();
            }
        });
        break;
    }
    case ShortcutCheck::AskOverwrite:
        message(check.title, check.text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel, [this](int button) {
            if (button == QMessageBox::Ok)
                write();
        });
        break;
    case ShortcutCheck::Ok:
        write();
        break;
    }
}

void CreateShortcutWindow::write()
{
    const ShortcutFields f = fields();
    const QString path = LauncherPath(f.boxes[kBoxFile]);
    if (!m_env.write || !m_env.write(path, DesktopLauncherText(f))) {
        // Nothing was written: say so and let the user choose another place.
        QPointer<QLineEdit> box = m_boxes[kBoxFile];
        message(tr("失敗"), WriteFailedText(path), QMessageBox::Ok, QMessageBox::Ok, [box](int) {
            if (box) {
                box->setFocus();
                box->selectAll();
            }
        });
        return;
    }
    Q_EMIT created(path);
    const QString folder = FolderOfPath(path, m_env.fs);
    message(CreatedTitle(), CreatedText(), QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, [this, folder](int button) {
        if (button == QMessageBox::Yes && m_env.openFolder)
            m_env.openFolder(folder);
        accept();
    });
}

}  // namespace zk
