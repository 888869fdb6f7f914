#include "PickMenuFrm.h"

#include "shell/DeskMenus.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

TPickMenuFrm::TPickMenuFrm(QMenuBar* menu, const QString& loginId, QWidget* parent)
    : TADlgFrm(parent), m_menuBar(menu), m_loginId(loginId)
{
    setObjectName(QStringLiteral("PickMenuFrm"));
    setWindowTitle(QStringLiteral("请选择您所常用的功能菜单"));
    m_working.SetText(ReadMenus(loginId));

    auto* layout = new QHBoxLayout(ClientArea());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("功能菜单:"), ClientArea()));
    m_menus = new QListWidget(ClientArea());
    m_menus->setObjectName(QStringLiteral("lbMenus"));
    left->addWidget(m_menus);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("打勾的项目显示在我的桌面上:"), ClientArea()));
    m_items = new QListWidget(ClientArea());
    m_items->setObjectName(QStringLiteral("clbItems"));
    right->addWidget(m_items);
    layout->addLayout(left, 2);
    layout->addLayout(right, 3);

    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            continue;
        m_topLevel << a;
        m_menus->addItem(PlainCaption(a->text()));
    }
    connect(m_menus, &QListWidget::currentRowChanged, this, [this](int row) {
        foldTicks();
        showItems(row);
    });
    connect(m_items, &QListWidget::itemDoubleClicked, this, [](QListWidgetItem* item) {
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });
    if (!m_topLevel.isEmpty())
        m_menus->setCurrentRow(0);
    resize(460, 360);
}

QString TPickMenuFrm::PlainCaption(const QString& caption)
{
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) {
            out += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
            out += QLatin1Char('&'); // "&&" shows one "&"
            ++i;
        }
    }
    return out;
}

QList<QAction*> TPickMenuFrm::LeafItems(QAction* topLevel)
{
    QList<QAction*> out;
    if (!topLevel->menu())
        return out;
    for (QAction* a : topLevel->menu()->actions()) {
        if (a->isSeparator())
            continue;
        if (a->menu())
            out << LeafItems(a);
        else
            out << a;
    }
    return out;
}

void TPickMenuFrm::showItems(int row)
{
    m_items->clear();
    m_shownItems.clear();
    m_shownRow = row;
    if (row < 0 || row >= m_topLevel.size())
        return;
    m_shownItems = LeafItems(m_topLevel[row]);
    for (QAction* a : m_shownItems) {
        auto* item = new QListWidgetItem(a->text(), m_items);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(m_working.IndexOfName(a->text()) >= 0 ? Qt::Checked : Qt::Unchecked);
    }
}

void TPickMenuFrm::foldTicks()
{
    for (int i = 0; i < m_items->count() && i < m_shownItems.size(); ++i) {
        const QString caption = m_shownItems[i]->text();
        const int at = m_working.IndexOfName(caption);
        const bool ticked = m_items->item(i)->checkState() == Qt::Checked;
        if (ticked && at < 0)
            m_working.Append(caption + QStringLiteral("=0,0"));
        else if (!ticked && at >= 0)
            m_working.Delete(at);
    }
}

void TPickMenuFrm::accept()
{
    foldTicks();
    WriteMenus(m_loginId, m_working.Text());
    TADlgFrm::accept();
}
