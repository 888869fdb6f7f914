#include "RecordSet.h"

#include "QuerySet.h"

TRecordSet* gRecordSet = nullptr;

TRecordSet::TRecordSet() : m_dataSet(std::make_unique<TDataSet>()) {}

TRecordSet::~TRecordSet() = default;

int TRecordSet::OpenSql(const QString& sql, const TDBParameters& params)
{
    m_sql = sql;
    return OpenSqlInto(*m_dataSet, sql, params);
}

void TRecordSet::DeleteCurrent()
{
    if (m_dataSet->Active() && !m_dataSet->IsEmpty())
        m_dataSet->Delete();
}

void TRecordSet::DeleteAll()
{
    if (!m_dataSet->Active())
        return;
    m_dataSet->DisableControls();
    m_dataSet->First();
    while (m_dataSet->RecordCount() > 0)
        m_dataSet->Delete();
    m_dataSet->EnableControls();
}

TField* TRecordSet::AddField(TFieldType type, const QString& name, int size, bool visible,
                             const QString& label)
{
    return m_dataSet->AddField(type, name, size, visible, label);
}

QString TRecordSet::JoinFieldValues(TField* field, const QString& separator)
{
    TDataSet* ds = m_dataSet.get();
    if (!ds->Active() || ds->IsEmpty())
        return {};
    ds->First();
    QString out = field->AsString();
    ds->Next();
    while (!ds->Eof()) {
        out += separator + field->AsString();
        ds->Next();
    }
    return out;
}
