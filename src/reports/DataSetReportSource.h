#pragma once

#include "data/DataSet.h"
#include "reports/ReportDataSource.h"

#include <QPointer>

// A data set as the report engine sees it: the rows of its view (filtered and sorted) and its
// fields with their captions. The set is not owned and must outlive the report run.
class TDataSetReportSource final : public TReportDataSource
{
public:
    TDataSetReportSource(QString name, TDataSet* ds) : m_name(std::move(name)), m_ds(ds) {}

    QString name() const override { return m_name; }
    int fieldCount() const override { return m_ds ? m_ds->FieldCount() : 0; }
    QString fieldName(int field) const override { return m_ds->Fields(field)->FieldName; }
    QString displayLabel(int field) const override { return m_ds->Fields(field)->Label(); }
    bool fieldVisible(int field) const override { return m_ds->Fields(field)->Visible; }
    int rowCount() const override { return m_ds && m_ds->Active() ? m_ds->RecordCount() : 0; }
    QVariant value(int row, int field) const override { return m_ds->CellValue(row, field); }

private:
    QString m_name;
    QPointer<TDataSet> m_ds;
};
