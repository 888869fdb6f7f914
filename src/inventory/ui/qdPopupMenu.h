#pragma once

#include <QMenu>

// The pop-up menu of the grids, class trees and list windows: windows insert their own
// commands at a given position among the items the menu already has.
class TqdPopupMenu : public QMenu
{
    Q_OBJECT

public:
    explicit TqdPopupMenu(QWidget* parent = nullptr);

    // Inserts an item bound to the action (owned by the caller) at the position among the
    // items of parent (a submenu of this menu) or of the menu itself; -1, or a position past
    // the end, appends.
    QAction* AddAction(QAction* action, int position = -1, QMenu* parent = nullptr);
    // A new item owned by the menu with the caption and click handler (a member function of
    // receiver, or a functor run in receiver's context), first when atTop is set.
    template <class Receiver, class Handler>
    QAction* AddItem(const QString& caption, bool atTop, const Receiver* receiver, Handler handler)
    {
        QAction* item = NewItem(caption, atTop);
        connect(item, &QAction::triggered, receiver, handler);
        return item;
    }
    // A separator line at the position (-1: at the end) among parent's or the menu's items.
    QAction* AddSeparator(int position = -1, QMenu* parent = nullptr);
    // Removes every top-level item, last to first; items and submenus the menu created are
    // deleted, actions of others are only taken out.
    void ClearMenu();

private:
    QAction* NewItem(const QString& caption, bool atTop);
};
