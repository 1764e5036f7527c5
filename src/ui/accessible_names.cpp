#include "ui/accessible_names.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

namespace zk {

void NameByCaptions(QWidget *window)
{
    const auto widgets = window->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (!w->accessibleName().isEmpty())
            continue;
        QString name;
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            name = b->text();
        else if (auto *gb = qobject_cast<QGroupBox *>(w))
            name = gb->title();
        if (name.isEmpty()) {
            // A box is named by its label.
            for (QLabel *l : window->findChildren<QLabel *>())
                if (l->buddy() == w)
                    name = l->text();
        }
        if (name.isEmpty()) {
            if (auto *l = qobject_cast<QLabel *>(w))
                name = l->text();
        }
        if (!name.isEmpty())
            w->setAccessibleName(name);
    }
}

}  // namespace zk
