#pragma once

#include "DataSet.h"
#include "Database.h"

// Base of the editable sets of the project services and the scratch set gRecordSet.
class TRecordSet
{
public:
    TRecordSet();
    virtual ~TRecordSet();
    TRecordSet(const TRecordSet&) = delete;
    TRecordSet& operator=(const TRecordSet&) = delete;

    TDataSet* DataSet() const { return m_dataSet.get(); }
    QString SqlText() const { return m_sql; }
    int OpenSql(const QString& sql, const TDBParameters& params = {});
    virtual void DeleteCurrent();
    virtual void DeleteAll();
    TField* AddField(TFieldType type, const QString& name, int size, bool visible, const QString& label);
    // The field's text of every record joined by the separator; the cursor ends at the end.
    QString JoinFieldValues(TField* field, const QString& separator);

private:
    std::unique_ptr<TDataSet> m_dataSet;
    QString m_sql;
};

extern TRecordSet* gRecordSet;
