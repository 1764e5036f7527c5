#include "ui/panels/quick_panel.h"

#include "core/job_edit.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace zk {

QuickPanel::QuickPanel(const AppState &state, QWidget *parent) : QGroupBox(tr("即実行"), parent)
{
    setObjectName(QStringLiteral("FrImmediate"));
    auto *lay = new QHBoxLayout(this);
    lay->setContentsMargins(6, 2, 6, 2);
    for (const QuickButtonSpec &spec : QuickButtons(state.platform)) {
        auto *b = new QPushButton(spec.caption, this);
        b->setObjectName(QStringLiteral("cmdQuick_") + QString::number(spec.index));
        if (!spec.toolTip.isEmpty())
            b->setToolTip(spec.toolTip);
        b->setVisible(spec.visible);
        cmdQuick[spec.index] = b;
        lay->addWidget(b);
        const int index = spec.index;
        connect(b, &QPushButton::clicked, this, [this, index] { Q_EMIT quickClicked(index); });
    }
    lay->addStretch();
}

}  // namespace zk
