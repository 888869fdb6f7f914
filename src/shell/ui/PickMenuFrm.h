#pragma once

#include "shell/NameValueList.h"
#include "shell/ui/ADlgFrm.h"

class QAction;
class QListWidget;
class QMenuBar;

// The shortcut chooser: the top-level menus on the left, the leaf items of the selected one
// as a check list on the right; a ticked item is on the operator's desktop. OK writes the
// working list back to the operator's Menus.
class TPickMenuFrm : public TADlgFrm
{
    Q_OBJECT

public:
    TPickMenuFrm(QMenuBar* menu, const QString& loginId, QWidget* parent = nullptr);

    QListWidget* MenuList() const { return m_menus; }
    QListWidget* ItemList() const { return m_items; }
    const TNameValueList& Working() const { return m_working; }

    // The leaf items under an action, depth-first, separators skipped.
    static QList<QAction*> LeafItems(QAction* topLevel);
    // A menu caption without its "&" accelerator markers ("文件(&F)" shows as "文件(F)").
    static QString PlainCaption(const QString& caption);

    void accept() override;

private:
    void showItems(int row);
    void foldTicks();

    QMenuBar* m_menuBar;
    QString m_loginId;
    TNameValueList m_working;
    QList<QAction*> m_topLevel;
    QList<QAction*> m_shownItems;
    QListWidget* m_menus = nullptr;
    QListWidget* m_items = nullptr;
    int m_shownRow = -1;
};
