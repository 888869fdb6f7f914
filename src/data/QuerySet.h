#pragma once

#include "DataSet.h"
#include "Database.h"

// Base of the read-mostly list objects: owns one query on the shared connection.
class TQuerySet
{
public:
    TQuerySet();
    virtual ~TQuerySet();
    TQuerySet(const TQuerySet&) = delete;
    TQuerySet& operator=(const TQuerySet&) = delete;

    TDataSet* Query() const { return m_query.get(); }
    // Opens the query and returns its record count. A failing SELECT shows the SQL and the
    // database message, leaves the set closed, and then raises the closed-set error.
    int OpenSql(const QString& sql, const TDBParameters& params = {});
    // A persistent field with display width 75; size only when 0 or more.
    TField* AddField(TFieldType type, const QString& name, int size, bool visible, const QString& label);

private:
    std::unique_ptr<TDataSet> m_query;
};

// Runs OpenSql's steps for any data set: shows the SQL error box and raises the closed-set error.
int OpenSqlInto(TDataSet& ds, const QString& sql, const TDBParameters& params);
