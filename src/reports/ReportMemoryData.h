#pragma once

#include "ReportDataSource.h"

#include <QList>
#include <QVariantList>

// A data source kept in memory: for tests, the designer's sample data and small hand-made lists.
class TReportMemoryData final : public TReportDataSource
{
public:
    explicit TReportMemoryData(const QString& name);

    void addField(const QString& name, const QString& label = QString(), bool visible = true);
    // Appends a row; missing trailing values are Null, surplus values are dropped.
    void addRow(const QVariantList& values);
    void setValue(int row, int field, const QVariant& value);
    void clearRows();

    QString name() const override { return m_name; }
    int fieldCount() const override { return int(m_fields.size()); }
    QString fieldName(int field) const override;
    QString displayLabel(int field) const override;
    bool fieldVisible(int field) const override;
    int rowCount() const override { return int(m_rows.size()); }
    QVariant value(int row, int field) const override;

private:
    struct RField
    {
        QString name;
        QString label;
        bool visible = true;
    };
    QString m_name;
    QList<RField> m_fields;
    QList<QVariantList> m_rows;
};
