#include "ui/message_box.h"

#include <QCoreApplication>
#include <QAbstractButton>

namespace zk {

QMessageBox *OpenMessageBox(QWidget *parent, const QString &title, const QString &text, int buttons,
                            int defaultButton, std::function<void(int button)> done)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::StandardButtons(buttons), parent);
    box->setObjectName(QStringLiteral("msgBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setDefaultButton(QMessageBox::StandardButton(defaultButton));
    box->setEscapeButton(QMessageBox::StandardButton(defaultButton));
    box->setAccessibleName(title);
    const auto buttonsList = box->buttons();
    for (QAbstractButton *b : buttonsList) {
        if (b->text() == QStringLiteral("&OK") || box->standardButton(b) == QMessageBox::Ok)
            b->setText(QStringLiteral("OK"));
        else if (box->standardButton(b) == QMessageBox::Cancel)
            b->setText(QCoreApplication::translate("zk::MessageBox", "キャンセル"));
        b->setAccessibleName(b->text());
    }
    QObject::connect(box, &QMessageBox::finished, parent, [box, done](int) {
        const int button = box->standardButton(box->clickedButton());
        if (done)
            done(button == QMessageBox::NoButton ? int(QMessageBox::Cancel) : button);
    });
    box->open();
    return box;
}

}  // namespace zk
