#pragma once

#include "Dialect.h"

#include <QDateTime>
#include <QIODevice>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <initializer_list>
#include <vector>

class TDataSet;

// One named parameter (":Name" in the SQL text) with its value.
struct TDBParameter
{
    QString Name;
    QVariant Value;
};

// One named blob parameter whose bytes are read from a stream (not owned).
struct TxDBParameter
{
    QString Name;
    QIODevice* Stream = nullptr;
};
using TxDBParameters = std::vector<TxDBParameter>;
using TDBParameters = std::vector<TDBParameter>;

TDBParameter DBParam(const QString& name, const QVariant& value);
TxDBParameter DBBlobParam(const QString& name, QIODevice* stream);

// The one connection of the program. Runs parameterised statements, wraps errors as
// "database message\r\nSQL", and adapts the SQL of the business code to the engine in use
// (SQLite, PostgreSQL or SQL Server) in one place.
class TDatabase
{
public:
    TDatabase();
    ~TDatabase();
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;

    // Closes, sets the connection string, opens; shows "连接时失败,提示如下:\r\n%s" on failure.
    bool Connect(const QString& connectionString);
    bool IsConnected() const;
    void SetConnected(bool on);
    QString ConnectionString() const { return m_connStr; }
    // Closes the connection and sets the string without opening it.
    void SetConnectionString(const QString& s)
    {
        SetConnected(false);
        m_connStr = s;
    }

    int ExecSql(const QString& sql, const TDBParameters& params = {}, const TxDBParameters& blobs = {});
    void Execute(const QString& sql, const TDBParameters& params = {}, const TxDBParameters& blobs = {});
    // Runs a SELECT into a data set (closing it first). Throws EDatabaseError on failure.
    void OpenQuery(TDataSet& ds, const QString& sql, const TDBParameters& params = {});

    QString ConnectionParam(const QString& key) const;
    QString GetDataSource() const { return ConnectionParam(QStringLiteral("Data Source")); }
    QString GetProvider() const { return ConnectionParam(QStringLiteral("Provider")); }
    bool IsMsSql() const { return Engine() == TEngine::MsSql; }
    TEngine Engine() const { return EngineOfProvider(GetProvider()); }
    QString DateLiteral(const QDateTime& dt) const;
    QString DateLiteral(const QDate& d) const { return DateLiteral(d.startOfDay()); }
    QDateTime ServerNow();

    // At most one transaction at a time.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const { return m_inTrans; }

    // Test seam: the n-th statement from now (1 = the next one) fails as if the database
    // refused it. 0 switches it off.
    void SetFailAt(int n) { m_failAt = n; }
    // Number of statements run since the connection was made.
    qint64 StatementCount() const { return m_statements; }

    QSqlDatabase& Connection() { return m_db; }
    // The raw SQLite handle while connected to a single-file database, else null.
    void* SqliteHandle() const;

private:
    void ensureOpen();
    void countStatement(const QString& sql);
    void openSqlite(const QString& file);
    void openPostgres();
    void openMsSql();
    int execPrepared(const QString& sql, const TDBParameters& params, const TxDBParameters& blobs);
    int execSqlite(const QString& sql, const TDBParameters& params, const TxDBParameters& blobs);
    void openSqliteQuery(TDataSet& ds, const QString& sql, const TDBParameters& params);

    QSqlDatabase m_db;
    QString m_connStr;
    bool m_inTrans = false;
    int m_failAt = 0;
    qint64 m_statements = 0;
};

// Rolls back unless Commit() was called; every multi-statement change uses it.
class TTransaction
{
public:
    explicit TTransaction(TDatabase& db);
    ~TTransaction();
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;
    void Commit();

private:
    TDatabase& m_db;
    bool m_done = false;
};

extern TDatabase* gDatabase;
