#include "ReportMemoryData.h"

TReportMemoryData::TReportMemoryData(const QString& name) : m_name(name) {}

void TReportMemoryData::addField(const QString& name, const QString& label, bool visible)
{
    m_fields.append({name, label.isEmpty() ? name : label, visible});
    for (QVariantList& row : m_rows)
        row.append(QVariant());
}

void TReportMemoryData::addRow(const QVariantList& values)
{
    QVariantList row = values.mid(0, m_fields.size());
    while (row.size() < m_fields.size())
        row.append(QVariant());
    m_rows.append(row);
}

void TReportMemoryData::setValue(int row, int field, const QVariant& value)
{
    if (row >= 0 && row < m_rows.size() && field >= 0 && field < m_fields.size())
        m_rows[row][field] = value;
}

void TReportMemoryData::clearRows()
{
    m_rows.clear();
}

QString TReportMemoryData::fieldName(int field) const
{
    return field >= 0 && field < m_fields.size() ? m_fields.at(field).name : QString();
}

QString TReportMemoryData::displayLabel(int field) const
{
    return field >= 0 && field < m_fields.size() ? m_fields.at(field).label : QString();
}

bool TReportMemoryData::fieldVisible(int field) const
{
    return field >= 0 && field < m_fields.size() && m_fields.at(field).visible;
}

QVariant TReportMemoryData::value(int row, int field) const
{
    if (row < 0 || row >= m_rows.size() || field < 0 || field >= m_fields.size())
        return {};
    return m_rows.at(row).at(field);
}
