#include "ReporterFrm.h"

#include "Rep.h"

#include "data/MessageService.h"
#include "data/qdLib.h"
#include "services/RepSet.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
TReporterFrm::TExecHook& execHook()
{
    static TReporterFrm::TExecHook hook;
    return hook;
}
} // namespace

TReporterFrm::TReporterFrm(QWidget* parent) : TaFrm(parent)
{
    setWindowTitle(QStringLiteral("打印"));
    auto* layout = new QVBoxLayout(this);
    auto* toolbar = new QToolBar(this);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_new = toolbar->addAction(QStringLiteral("新建"));
    m_delete = toolbar->addAction(QStringLiteral("删除"));
    m_rename = toolbar->addAction(QStringLiteral("重命名"));
    m_design = toolbar->addAction(QStringLiteral("设计"));
    layout->addWidget(toolbar);
    layout->addWidget(new QLabel(QStringLiteral("请选择一种打印样式"), this));
    m_list = new QListWidget(this);
    layout->addWidget(m_list);
    m_previewButton = new QPushButton(QStringLiteral("预览"), this);
    m_previewButton->setDefault(true);
    layout->addWidget(m_previewButton, 0, Qt::AlignRight);
    resize(300, 320);

    connect(m_new, &QAction::triggered, this, &TReporterFrm::NewReport);
    connect(m_delete, &QAction::triggered, this, &TReporterFrm::DeleteSelected);
    connect(m_rename, &QAction::triggered, this, &TReporterFrm::RenameSelected);
    connect(m_design, &QAction::triggered, this, &TReporterFrm::DesignSelected);
    connect(m_previewButton, &QPushButton::clicked, this, &TReporterFrm::PreviewSelected);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { PreviewSelected(); });
    UpdateActions();
}

void TReporterFrm::SetGroupId(int groupId)
{
    m_groupId = groupId;
    ReloadList();
}

void TReporterFrm::SetCanDesign(bool canDesign)
{
    m_canDesign = canDesign;
    UpdateActions();
}

void TReporterFrm::UpdateActions()
{
    for (QAction* a : {m_new, m_delete, m_rename, m_design})
        a->setEnabled(m_canDesign);
}

void TReporterFrm::ReloadList()
{
    m_list->clear();
    TRepSet set;
    set.OpenGroup(m_groupId);
    TDataSet* ds = set.DataSet();
    for (ds->First(); !ds->Eof(); ds->Next()) {
        auto* item = new QListWidgetItem(ds->FieldByName(QStringLiteral("Title"))->AsString(), m_list);
        item->setData(Qt::UserRole, ds->FieldByName(QStringLiteral("Id"))->AsInteger());
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}

int TReporterFrm::SelectedId() const
{
    const QListWidgetItem* item = m_list->currentItem();
    return item && item->isSelected() ? item->data(Qt::UserRole).toInt() : 0;
}

QString TReporterFrm::SelectedTitle() const
{
    const QListWidgetItem* item = m_list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void TReporterFrm::SelectRow(int row)
{
    m_list->setCurrentRow(row);
}

bool TReporterFrm::RequireSelection()
{
    if (SelectedId() != 0)
        return true;
    MessageService().Message(QStringLiteral("请先从左框列表中选中您要操作的项目."), gMessageCaption,
                             TMessageService::Information, TMessageService::Ok);
    return false;
}

void TReporterFrm::PreviewSelected()
{
    if (!RequireSelection() || !m_reper)
        return;
    m_reper->Preview(SelectedId());
    accept();
}

void TReporterFrm::NewReport()
{
    if (!m_canDesign)
        return;
    QString title;
    if (!MessageService().InputBox(QStringLiteral("添加报表"), QStringLiteral("请输入报表名称:\t\t"), title))
        return;
    TRep::AddReport(title, m_groupId);
    ReloadList();
}

void TReporterFrm::DeleteSelected()
{
    if (!m_canDesign || !RequireSelection())
        return;
    const auto answer =
        MessageService().Message(QStringLiteral("确定要删除") + SelectedTitle() + QStringLiteral("吗?"),
                                 gMessageCaption, TMessageService::Warning, TMessageService::OkCancel);
    if (answer != TMessageService::AnswerOk)
        return;
    TRep::DeleteReport(SelectedId());
    ReloadList();
}

void TReporterFrm::RenameSelected()
{
    if (!m_canDesign || !RequireSelection())
        return;
    QString title = SelectedTitle();
    if (!MessageService().InputBox(QStringLiteral("修改报表标题"), QStringLiteral("请输入新的报表名称:\t\t"),
                                   title))
        return;
    TRep::RenameReport(SelectedId(), title);
    ReloadList();
}

void TReporterFrm::DesignSelected()
{
    if (!m_canDesign || !RequireSelection() || !m_reper)
        return;
    m_reper->Design(SelectedId());
}

void TReporterFrm::Execute()
{
    if (execHook())
        execHook()(*this);
    else
        exec();
}

void TReporterFrm::SetExecHook(TExecHook hook)
{
    execHook() = std::move(hook);
}

QPoint TReporterFrm::Placement(const QSize& size, const QPoint& cursor, const QRect& screen)
{
    int x = cursor.x() - size.width() / 2;
    int y = cursor.y() - size.height() / 4;
    if (x + size.width() > screen.right() + 1 || y + size.height() > screen.bottom() + 1) {
        x = screen.left() + (screen.width() - size.width()) / 2;
        y = screen.top() + (screen.height() - size.height()) / 2;
    }
    if (x < screen.left())
        x = screen.left() + 10;
    if (y < screen.top())
        y = screen.top() + 10;
    return {x, y};
}

void TReporterFrm::setVisible(bool visible)
{
    const bool showing = visible && !isVisible();
    TaFrm::setVisible(visible);
    if (!showing)
        return;
    const QPoint cursor = QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(cursor);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        move(Placement(frameGeometry().size(), cursor, screen->availableGeometry()));
}
