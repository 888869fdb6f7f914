#include "ControlsFixture.h"

#include "inventory/ui/qdPopupMenu.h"

#include <QAction>
#include <QPointer>

namespace {

QStringList Captions(const QMenu& menu)
{
    QStringList out;
    for (const QAction* a : menu.actions())
        out << (a->isSeparator() ? u"-"_s : a->text());
    return out;
}

TEST(PopupMenu, BillLineActionsGoOnTopInOrder)
{
    QWidget window;
    TqdPopupMenu menu(&window);
    int exported = 0;
    menu.AddItem(u"导出"_s, false, &window, [&exported] { ++exported; });
    menu.AddItem(u"排序"_s, false, &window, [] {});
    QAction add(u"添加明细"_s, &window);
    QAction remove(u"删除明细"_s, &window);
    menu.AddSeparator(0);
    menu.AddAction(&remove, 0);
    menu.AddAction(&add, 0);
    EXPECT_EQ(Captions(menu), (QStringList{u"添加明细"_s, u"删除明细"_s, u"-"_s, u"导出"_s, u"排序"_s}));

    menu.AddItem(u"刷新"_s, true, &window, [] {});
    menu.AddSeparator(-1);
    menu.AddSeparator(99);
    EXPECT_EQ(Captions(menu).first(), u"刷新"_s);
    EXPECT_EQ(Captions(menu).mid(6), (QStringList{u"-"_s, u"-"_s}));

    menu.actions().at(4)->trigger();
    EXPECT_EQ(exported, 1);
}

TEST(PopupMenu, ItemsGoIntoASubmenu)
{
    TqdPopupMenu menu;
    QMenu* sub = menu.addMenu(u"导出"_s);
    QAction excel(u"Excel"_s, nullptr);
    QAction html(u"Html"_s, nullptr);
    menu.AddAction(&html, -1, sub);
    menu.AddAction(&excel, 0, sub);
    menu.AddSeparator(1, sub);
    EXPECT_EQ(Captions(*sub), (QStringList{u"Excel"_s, u"-"_s, u"Html"_s}));
    EXPECT_EQ(Captions(menu), QStringList{u"导出"_s});
}

TEST(PopupMenu, ClearMenuDeletesItsOwnItemsOnly)
{
    QWidget window;
    auto* action = new QAction(u"保存"_s, &window);
    QPointer<QAction> item;
    QPointer<QAction> separator;
    QPointer<QMenu> sub;
    {
        TqdPopupMenu menu;
        item = menu.AddItem(u"导出"_s, false, &window, [] {});
        separator = menu.AddSeparator();
        menu.AddAction(action);
        sub = menu.addMenu(u"更多"_s);
        menu.ClearMenu();
        EXPECT_TRUE(menu.actions().isEmpty());
        EXPECT_TRUE(item.isNull());
        EXPECT_TRUE(separator.isNull());
        EXPECT_TRUE(sub.isNull());
    }
    // The window's action survives the menu.
    EXPECT_EQ(action->text(), u"保存"_s);
}

} // namespace
