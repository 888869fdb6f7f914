#include "inventory/ui/qdPopupMenu.h"

#include <QAction>

namespace {

void InsertAt(QMenu* menu, QAction* action, int position)
{
    const QList<QAction*> items = menu->actions();
    QAction* before = (position >= 0 && position < items.size()) ? items.at(position) : nullptr;
    menu->insertAction(before, action);
}

} // namespace

TqdPopupMenu::TqdPopupMenu(QWidget* parent) : QMenu(parent) {}

QAction* TqdPopupMenu::AddAction(QAction* action, int position, QMenu* parent)
{
    InsertAt(parent ? parent : this, action, position);
    return action;
}

QAction* TqdPopupMenu::AddSeparator(int position, QMenu* parent)
{
    QMenu* menu = parent ? parent : this;
    auto* separator = new QAction(menu);
    separator->setSeparator(true);
    InsertAt(menu, separator, position);
    return separator;
}

QAction* TqdPopupMenu::NewItem(const QString& caption, bool atTop)
{
    auto* item = new QAction(caption, this);
    InsertAt(this, item, atTop ? 0 : -1);
    return item;
}

void TqdPopupMenu::ClearMenu()
{
    const QList<QAction*> items = actions();
    for (auto it = items.crbegin(); it != items.crend(); ++it) {
        QAction* item = *it;
        removeAction(item);
        if (QMenu* sub = item->menu(); sub && sub->parent() == this)
            delete sub; // takes its own menu action along
        else if (item->parent() == this)
            delete item;
    }
}
