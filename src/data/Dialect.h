#pragma once

#include <QString>
#include <QStringList>

enum class TEngine { Sqlite, Postgres, MsSql };

// The engine a connection string's Provider item names: "SQLite", "PostgreSQL", or
// anything else (such as "SQLOLEDB.1") for SQL Server.
TEngine EngineOfProvider(const QString& provider);

// The SQL of the business code, adapted to one engine, with its ":Name" parameters
// replaced by positional '?' markers in the order they occur.
struct TPreparedSql
{
    QString sql;
    QStringList paramNames; // one entry per marker, in order
};

// Outside quoted text: [names] (quoted lower-case on PostgreSQL), "select top N" (limit N on
// SQLite and PostgreSQL), "like" (ilike on PostgreSQL, as the other engines compare without
// letter case), and :Name parameters.
TPreparedSql TranslateSql(const QString& sql, TEngine engine);
