#include "ReportFieldList.h"

#include "reports/ReportDataSource.h"

#include <QHeaderView>
#include <QMimeData>

const char* const TReportFieldList::kMimeType = "application/x-czreport-field";

TReportFieldList::TReportFieldList(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("FieldList"));
    setHeaderLabels({QStringLiteral("字段和变量")});
    header()->setStretchLastSection(true);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void TReportFieldList::setContents(const QList<const TReportDataSource*>& sources,
                                   const QStringList& variables)
{
    clear();
    const auto leaf = [](QTreeWidgetItem* parent, const QString& text, const QString& expr) {
        auto* item = new QTreeWidgetItem(parent, {text});
        item->setData(0, Qt::UserRole, expr);
        item->setToolTip(0, expr);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
        return item;
    };
    for (const TReportDataSource* s : sources) {
        auto* group = new QTreeWidgetItem(this, {QStringLiteral("数据集 %1").arg(s->name())});
        group->setFlags(Qt::ItemIsEnabled);
        for (int f = 0; f < s->fieldCount(); ++f) {
            const QString label = s->displayLabel(f);
            const QString text = label.isEmpty() || label == s->fieldName(f)
                                     ? s->fieldName(f)
                                     : QStringLiteral("%1 (%2)").arg(label, s->fieldName(f));
            QTreeWidgetItem* item =
                leaf(group, text, QStringLiteral("[%1.%2]").arg(s->name(), s->fieldName(f)));
            if (!s->fieldVisible(f))
                item->setForeground(0, Qt::gray);
        }
        group->setExpanded(true);
    }
    auto* vars = new QTreeWidgetItem(this, {QStringLiteral("变量")});
    vars->setFlags(Qt::ItemIsEnabled);
    for (const QString& v : variables)
        leaf(vars, v, QStringLiteral("[%1]").arg(v));
    vars->setExpanded(true);
    auto* sys = new QTreeWidgetItem(this, {QStringLiteral("系统")});
    sys->setFlags(Qt::ItemIsEnabled);
    leaf(sys, QStringLiteral("页码"), QStringLiteral("[Page]"));
    leaf(sys, QStringLiteral("总页数"), QStringLiteral("[TotalPages]"));
    leaf(sys, QStringLiteral("第 N 页 共 M 页"), QStringLiteral("第 [Page] 页 共 [TotalPages] 页"));
    leaf(sys, QStringLiteral("日期"), QStringLiteral("[Date]"));
    leaf(sys, QStringLiteral("时间"), QStringLiteral("[Time]"));
    leaf(sys, QStringLiteral("行号"), QStringLiteral("[Line]"));
    sys->setExpanded(true);
}

QString TReportFieldList::expression(const QTreeWidgetItem* item)
{
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

QStringList TReportFieldList::mimeTypes() const
{
    return {QString::fromLatin1(kMimeType)};
}

QMimeData* TReportFieldList::mimeData(const QList<QTreeWidgetItem*>& items) const
{
    if (items.isEmpty() || expression(items.first()).isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    const QString expr = expression(items.first());
    data->setData(QString::fromLatin1(kMimeType), expr.toUtf8());
    data->setText(expr);
    return data;
}
