#pragma once

#include <QList>
#include <QStringList>
#include <QTreeWidget>

class TReportDataSource;

// The designer's list of what a text can show: the fields of the handed-over data sets by
// their captions, the variables and the built-in values. Dragging one onto a band makes a text
// object with its expression.
class TReportFieldList final : public QTreeWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TReportFieldList)

public:
    static const char* const kMimeType;

    explicit TReportFieldList(QWidget* parent = nullptr);
    void setContents(const QList<const TReportDataSource*>& sources, const QStringList& variables);
    // The expression of an item ("[d0.Code]"), empty for group rows.
    static QString expression(const QTreeWidgetItem* item);

protected:
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    QStringList mimeTypes() const override;
};
