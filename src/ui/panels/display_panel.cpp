#include "ui/panels/display_panel.h"

#include "ui/clickable_label.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

namespace zk {

DisplayPanel::DisplayPanel(PanelHost &host, QWidget *parent) : QGroupBox(tr("表示"), parent), JobPanel(host)
{
    setObjectName(QStringLiteral("frDisp"));
    auto *lay = new QGridLayout(this);
    lay->setContentsMargins(6, 4, 6, 4);
    lay->setVerticalSpacing(1);
    auto box = [this](const QString &caption, const QString &name, const QString &tip) {
        auto *c = new QCheckBox(caption, this);
        c->setObjectName(name);
        if (!tip.isEmpty())
            c->setToolTip(tip);
        return c;
    };
    chkDsp = box(tr("最前面表示"), QStringLiteral("chkDsp"), tr("このウィンドウを常に最前面に表示／解除"));
    chkTaskTray = box(tr("トレイ収納"), QStringLiteral("chkTaskTray"),
                      tr("開始、および最小化時にタスクトレイに収納します。"));
    chkMinimize = box(tr("開始時最小化"), QStringLiteral("chk最小化"), tr("開始時にウィンドウを最小化します"));
    chkBeep = box(tr("カウントダウン音"), QStringLiteral("chkBeep"),
                  tr("終了間近になった時、カウントダウン音を鳴らします。"));
    chkNoDispAlert = box(tr("通知非表示"), QStringLiteral("chkNoDispAlert"), tr("警告の通知を表示しません"));
    chkCapture = box(tr("キャプチャー（Capture）"), QStringLiteral("chkCapture"),
                     tr("終了時のデスクトップイメージをファイルに出力"));
    chkDspQuick = box(tr("即実行ボタン"), QStringLiteral("chkDspQuick"), tr("即実行ボタンを表示します"));
    lay->addWidget(chkDsp, 0, 0);
    lay->addWidget(chkTaskTray, 0, 1);
    lay->addWidget(chkMinimize, 1, 0);
    lay->addWidget(chkBeep, 1, 1);
    lay->addWidget(chkNoDispAlert, 2, 0);
    lay->addWidget(chkCapture, 2, 1);
    lay->addWidget(chkDspQuick, 3, 0);
    cmdCapFolder = new QPushButton(tr("保存先"), this);
    cmdCapFolder->setObjectName(QStringLiteral("cmdCapFolder"));
    cmdCapFolder->setToolTip(tr("キャプチャーファイルの保存先フォルダを指定します"));
    connect(cmdCapFolder, &QPushButton::clicked, this, &DisplayPanel::chooseCaptureFolder);
    lay->addWidget(cmdCapFolder, 2, 2);
    cmdSave = new QPushButton(tr("設定を保存"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setToolTip(tr("現在の設定を設定ファイルに保存します"));
    cmdDefault = new QPushButton(tr("既定値に戻す"), this);
    cmdDefault->setObjectName(QStringLiteral("cmdDefault"));
    cmdDefault->setToolTip(tr("設定を既定値に戻します"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdDefault);
    buttons->addStretch();
    lay->addLayout(buttons, 4, 0, 1, 3);

    // The command line of the current settings, and a desktop launcher with it.
    cmdMakeCommandLine = new QPushButton(tr("コマンドライン生成"), this);
    cmdMakeCommandLine->setObjectName(QStringLiteral("cmdMakeCommandLine"));
    cmdMakeCommandLine->setToolTip(tr("現在の設定を実行するコマンドラインを表示します"));
    connect(cmdMakeCommandLine, &QPushButton::clicked, this, &DisplayPanel::commandLineRequested);
    cmdCreateShortcut = new QPushButton(tr("ショートカット生成"), this);
    cmdCreateShortcut->setObjectName(QStringLiteral("cmdCreateShortcut"));
    cmdCreateShortcut->setToolTip(tr("現在の設定を実行するショートカットをデスクトップに作成します"));
    connect(cmdCreateShortcut, &QPushButton::clicked, this, &DisplayPanel::shortcutRequested);
    auto *help = new ClickableLabel(tr("（説明）"), this);
    help->clicked = [this] { Q_EMIT commandLineHelpRequested(); };
    lblCommandline = help;
    lblCommandline->setObjectName(QStringLiteral("lblCommandline"));
    lblCommandline->setCursor(Qt::PointingHandCursor);
    lblCommandline->setToolTip(tr("コマンドラインの説明を表示します"));
    lblCommandline->setAccessibleName(tr("コマンドラインの説明"));
    auto *commandLine = new QHBoxLayout;
    commandLine->addWidget(cmdMakeCommandLine);
    commandLine->addWidget(cmdCreateShortcut);
    commandLine->addWidget(lblCommandline);
    commandLine->addStretch();
    lay->addLayout(commandLine, 5, 0, 1, 3);

    using B = JobBindings;
    m_bindings.check(chkDsp, B::field(&JobSettings::Topmost));
    m_bindings.check(chkTaskTray, B::field(&JobSettings::TrayIcon));
    m_bindings.check(chkMinimize, B::field(&JobSettings::MinimizeAtStart));
    m_bindings.check(chkBeep, B::field(&JobSettings::CountdownSound));
    m_bindings.check(chkNoDispAlert, B::field(&JobSettings::NoAlert));
    m_bindings.check(chkCapture, B::field(&JobSettings::CaptureOnExit));
    m_bindings.check(chkDspQuick, B::field(&JobSettings::ShowQuickButtons));
    connectLive(this);

    connect(chkDsp, &QCheckBox::toggled, this, &DisplayPanel::topmostToggled);
    connect(chkTaskTray, &QCheckBox::toggled, this, &DisplayPanel::trayToggled);
    connect(chkDspQuick, &QCheckBox::toggled, this, &DisplayPanel::quickButtonsToggled);
    connect(cmdSave, &QPushButton::clicked, this, &DisplayPanel::saveClicked);
    connect(cmdDefault, &QPushButton::clicked, this, &DisplayPanel::defaultsClicked);
}

bool DisplayPanel::trayTicked() const
{
    return chkTaskTray->isChecked();
}

void DisplayPanel::setQuickBoxEnabled(bool enabled)
{
    chkDspQuick->setEnabled(enabled);
}

void DisplayPanel::chooseCaptureFolder()
{
    auto *dlg = new QFileDialog(window(), tr("保存先フォルダの指定"), m_host.state().CaptureFolder);
    dlg->setObjectName(QStringLiteral("dlgCaptureFolder"));
    dlg->setFileMode(QFileDialog::Directory);
    dlg->setOption(QFileDialog::ShowDirsOnly);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QFileDialog::fileSelected, this, [this](const QString &folder) {
        if (!folder.isEmpty())  // cancelling keeps the folder
            m_host.state().CaptureFolder = folder;
    });
    dlg->open();
}

}  // namespace zk
