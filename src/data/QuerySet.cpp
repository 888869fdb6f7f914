#include "QuerySet.h"

#include "Exceptions.h"
#include "qdLib.h"

int OpenSqlInto(TDataSet& ds, const QString& sql, const TDBParameters& params)
{
    try {
        gDatabase->OpenQuery(ds, sql, params);
    } catch (const EDatabaseError& e) {
        ds.Close();
        // The database message comes first in the error, then the SQL: show only the message part.
        QString msg = e.Message();
        const QString tail = QStringLiteral("\r\n") + sql;
        if (msg.endsWith(tail))
            msg.chop(tail.size());
        ShowInfo(QStringLiteral("SQL语句错误,原文如下:\r\n") + sql + QStringLiteral("\r\n\r\n错误提示:\r\n") +
                 msg);
    } catch (const EDataSetError& e) {
        ds.Close();
        ShowInfo(QStringLiteral("SQL语句错误,原文如下:\r\n") + sql + QStringLiteral("\r\n\r\n错误提示:\r\n") +
                 e.Message());
    }
    return ds.RecordCount();
}

TQuerySet::TQuerySet() : m_query(std::make_unique<TDataSet>()) {}

TQuerySet::~TQuerySet() = default;

int TQuerySet::OpenSql(const QString& sql, const TDBParameters& params)
{
    return OpenSqlInto(*m_query, sql, params);
}

TField* TQuerySet::AddField(TFieldType type, const QString& name, int size, bool visible,
                            const QString& label)
{
    TField* f = m_query->AddField(type, name, size, visible, label);
    f->DisplayWidth = 75;
    return f;
}
