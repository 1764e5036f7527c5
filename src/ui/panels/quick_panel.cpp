#include "ui/panels/quick_panel.h"

#include "core/job_edit.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace zk {

QuickPanel::QuickPanel(QWidget *parent) : QGroupBox(tr("即実行"), parent)
{
    setObjectName(QStringLiteral("FrImmediate"));
    auto *lay = new QHBoxLayout(this);
    lay->setContentsMargins(6, 2, 6, 2);
    for (const QuickButtonSpec &spec : QuickButtons()) {
        auto *b = new QPushButton(spec.caption, this);
        b->setObjectName(QStringLiteral("cmdQuick_") + QString::number(spec.index));
        if (!spec.toolTip.isEmpty())
            b->setToolTip(spec.toolTip);
        cmdQuick[spec.index] = b;
        lay->addWidget(b);
        const int index = spec.index;
        connect(b, &QPushButton::clicked, this, [this, index] { Q_EMIT quickClicked(index); });
    }
    lay->addStretch();
}

}  // namespace zk
