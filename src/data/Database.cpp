#include "Database.h"

#include "DataSet.h"
#include "Exceptions.h"
#include "qdLib.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

#include <atomic>
#include <cstring>

TDatabase* gDatabase = nullptr;

TDBParameter DBParam(const QString& name, const QVariant& value)
{
    return TDBParameter{name, value};
}

TxDBParameter DBBlobParam(const QString& name, QIODevice* stream)
{
    return TxDBParameter{name, stream};
}

namespace {

QString connectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("czpm%1").arg(++counter);
}

QString errorText(const QSqlError& e)
{
    QString t = e.databaseText().trimmed();
    if (t.isEmpty())
        t = e.text().trimmed();
    return t;
}

QString formatDateTime(const QDateTime& dt)
{
    return dt.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

// Values as every engine stores them: booleans as 0/1, date-times in one text form on SQLite.
QVariant bindable(const QVariant& v, TEngine engine)
{
    if (!v.isValid() || v.isNull())
        return QVariant();
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? 1 : 0;
    case QMetaType::QDateTime:
        return engine == TEngine::Sqlite ? QVariant(formatDateTime(v.toDateTime())) : v;
    case QMetaType::QDate:
        return engine == TEngine::Sqlite ? QVariant(formatDateTime(v.toDate().startOfDay()))
                                         : QVariant(v.toDate().startOfDay());
    default:
        return v;
    }
}

// Orders the given parameters by the markers of the translated statement; a name given
// but not used, or used but not given, is an error.
std::vector<QVariant> orderParams(const TPreparedSql& p, const TDBParameters& params,
                                  const TxDBParameters& blobs, TEngine engine, const QString& sql)
{
    std::vector<QVariant> values;
    values.reserve(size_t(p.paramNames.size()));
    for (const QString& name : p.paramNames) {
        bool found = false;
        for (const auto& prm : params)
            if (prm.Name.compare(name, Qt::CaseInsensitive) == 0) {
                values.push_back(bindable(prm.Value, engine));
                found = true;
                break;
            }
        if (found)
            continue;
        for (const auto& b : blobs)
            if (b.Name.compare(name, Qt::CaseInsensitive) == 0) {
                QByteArray bytes;
                if (b.Stream) {
                    if (!b.Stream->isOpen())
                        b.Stream->open(QIODevice::ReadOnly);
                    b.Stream->seek(0);
                    bytes = b.Stream->readAll();
                }
                values.push_back(bytes.isNull() ? QByteArray("") : bytes);
                found = true;
                break;
            }
        if (!found)
            throw EDatabaseError(QStringLiteral("参数 :%1 没有赋值\r\n%2").arg(name, sql));
    }
    auto used = [&](const QString& name) {
        for (const QString& n : p.paramNames)
            if (n.compare(name, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    for (const auto& prm : params)
        if (!used(prm.Name))
            throw EDatabaseError(QStringLiteral("语句中没有参数 :%1\r\n%2").arg(prm.Name, sql));
    for (const auto& b : blobs)
        if (!used(b.Name))
            throw EDatabaseError(QStringLiteral("语句中没有参数 :%1\r\n%2").arg(b.Name, sql));
    return values;
}

TFieldType typeOfDecl(const char* decl, int& size)
{
    size = 0;
    if (!decl)
        return ftUnknown;
    QByteArray d = QByteArray(decl).toUpper();
    const qsizetype open = d.indexOf('(');
    if (open >= 0)
        size = d.mid(open + 1, d.indexOf(')') - open - 1).split(',').value(0).trimmed().toInt();
    if (d.contains("BIGINT"))
        return ftLargeint;
    if (d.contains("INT"))
        return ftInteger;
    if (d.startsWith("BIT") || d.contains("BOOL"))
        return ftBoolean;
    if (d.contains("CHAR") || d.contains("CLOB"))
        return size > 0 ? ftString : ftMemo;
    if (d.contains("TEXT"))
        return ftMemo;
    if (d.contains("REAL") || d.contains("FLOA") || d.contains("DOUB") || d.contains("NUMERIC") ||
        d.contains("DECIMAL") || d.contains("MONEY"))
        return ftFloat;
    if (d.contains("DATE") || d.contains("TIME"))
        return ftDateTime;
    if (d.contains("BLOB") || d.contains("IMAGE") || d.contains("BINARY"))
        return ftBlob;
    return ftString;
}

TFieldType typeOfMeta(const QSqlField& f)
{
    switch (f.metaType().id()) {
    case QMetaType::Bool:
        return ftBoolean;
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::UChar:
        return ftSmallint;
    case QMetaType::Int:
    case QMetaType::UInt:
        return ftInteger;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return ftLargeint;
    case QMetaType::Double:
    case QMetaType::Float:
        return ftFloat;
    case QMetaType::QDate:
        return ftDate;
    case QMetaType::QTime:
        return ftTime;
    case QMetaType::QDateTime:
        return ftDateTime;
    case QMetaType::QByteArray:
        return ftBlob;
    default:
        return f.length() > 0 && f.length() < 8000 ? ftString : ftMemo;
    }
}

// Fast reading of 'yyyy-MM-dd[ hh:mm:ss]' as stored on SQLite.
bool parseStoredDateTime(const char* s, int len, qint64& out)
{
    auto num = [&](int pos, int n, int& v) {
        if (pos + n > len)
            return false;
        v = 0;
        for (int i = 0; i < n; ++i) {
            const char c = s[pos + i];
            if (c < '0' || c > '9')
                return false;
            v = v * 10 + (c - '0');
        }
        return true;
    };
    int y, mo, d, h = 0, mi = 0, se = 0;
    if (len < 10 || s[4] != '-' || s[7] != '-' || !num(0, 4, y) || !num(5, 2, mo) || !num(8, 2, d))
        return false;
    if (len >= 19 && (s[10] == ' ' || s[10] == 'T')) {
        if (!num(11, 2, h) || !num(14, 2, mi) || !num(17, 2, se))
            return false;
    } else if (len != 10) {
        return false;
    }
    const QDate date(y, mo, d);
    if (!date.isValid() || h > 23 || mi > 59 || se > 59)
        return false;
    out = date.toJulianDay() * 86400000LL + ((h * 60 + mi) * 60 + se) * 1000LL;
    return true;
}

void sqliteGetDate(sqlite3_context* ctx, int, sqlite3_value**)
{
    const QByteArray now = formatDateTime(QDateTime::currentDateTime()).toUtf8();
    sqlite3_result_text(ctx, now.constData(), int(now.size()), SQLITE_TRANSIENT);
}

void sqliteIsNull(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_result_value(ctx, sqlite3_value_type(argv[0]) == SQLITE_NULL ? argv[1] : argv[0]);
}

void sqliteLen(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    // SQL Server's len() ignores trailing blanks.
    QString s = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])),
                                  sqlite3_value_bytes(argv[0]));
    while (s.endsWith(QLatin1Char(' ')))
        s.chop(1);
    sqlite3_result_int(ctx, int(s.size()));
}

} // namespace

TDatabase::TDatabase() = default;

TDatabase::~TDatabase()
{
    const QString name = m_db.connectionName();
    if (m_db.isValid())
        m_db.close();
    m_db = QSqlDatabase();
    if (!name.isEmpty())
        QSqlDatabase::removeDatabase(name);
}

bool TDatabase::Connect(const QString& connectionString)
{
    SetConnected(false);
    m_connStr = connectionString;
    try {
        SetConnected(true);
    } catch (const Exception& e) {
        ShowInfo(QStringLiteral("连接时失败,提示如下:\r\n%1").arg(e.Message()));
    }
    return IsConnected();
}

bool TDatabase::IsConnected() const
{
    return m_db.isValid() && m_db.isOpen();
}

void TDatabase::SetConnected(bool on)
{
    if (!on) {
        if (m_db.isValid()) {
            const QString name = m_db.connectionName();
            m_db.close();
            m_db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
        }
        m_inTrans = false;
        return;
    }
    if (IsConnected())
        return;
    m_statements = 0;
    switch (Engine()) {
    case TEngine::Sqlite:
        openSqlite(GetDataSource());
        break;
    case TEngine::Postgres:
        openPostgres();
        break;
    case TEngine::MsSql:
        openMsSql();
        break;
    }
}

void TDatabase::openSqlite(const QString& file)
{
    if (file.isEmpty())
        throw EDatabaseError(QStringLiteral("没有指定数据库文件"));
    if (!QFileInfo::exists(file))
        throw EDatabaseError(QStringLiteral("数据库文件 %1 不存在").arg(file));
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName());
    m_db.setDatabaseName(file);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!m_db.open()) {
        const QString msg = errorText(m_db.lastError());
        SetConnected(false);
        throw EDatabaseError(msg);
    }
    auto* h = static_cast<sqlite3*>(SqliteHandle());
    const char* pragmas = "pragma foreign_keys=on; pragma journal_mode=wal; pragma synchronous=full;"
                          "select count(*) from sqlite_master;";
    char* err = nullptr;
    if (sqlite3_exec(h, pragmas, nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : "");
        sqlite3_free(err);
        SetConnected(false);
        throw EDatabaseError(QStringLiteral("%1 不是本系统的数据库文件: %2").arg(file, msg));
    }
    sqlite3_create_function_v2(h, "getdate", 0, SQLITE_UTF8, nullptr, sqliteGetDate, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(h, "isnull", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, sqliteIsNull,
                               nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(h, "len", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, sqliteLen, nullptr,
                               nullptr, nullptr);
}

static void splitHostPort(const QString& source, QString& host, int& port, int defaultPort)
{
    host = source.trimmed();
    port = defaultPort;
    const qsizetype comma = host.indexOf(QLatin1Char(','));
    if (comma >= 0) {
        port = host.mid(comma + 1).trimmed().toInt();
        host = host.left(comma).trimmed();
        if (port <= 0)
            port = defaultPort;
    }
}

void TDatabase::openPostgres()
{
    QString host;
    int port;
    splitHostPort(GetDataSource(), host, port, 5432);
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName());
    m_db.setHostName(host);
    m_db.setPort(port);
    m_db.setDatabaseName(ConnectionParam(QStringLiteral("Initial Catalog")));
    m_db.setUserName(ConnectionParam(QStringLiteral("User ID")));
    m_db.setPassword(ConnectionParam(QStringLiteral("Password")));
    m_db.setConnectOptions(QStringLiteral("connect_timeout=15"));
    if (!m_db.open()) {
        const QString msg = errorText(m_db.lastError());
        SetConnected(false);
        throw EDatabaseError(msg);
    }
    QSqlQuery q(m_db);
    q.exec(QStringLiteral("set client_min_messages to warning"));
}

void TDatabase::openMsSql()
{
    // SQL Server through FreeTDS: "host", "host,port" or "host\instance".
    QString host;
    int port;
    splitHostPort(GetDataSource(), host, port, 1433);
    auto braced = [](QString v) {
        return QLatin1Char('{') + v.replace(QLatin1Char('}'), QStringLiteral("}}")) + QLatin1Char('}');
    };
    QString driver = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so");
    if (!QFileInfo::exists(driver))
        driver = QStringLiteral("FreeTDS");
    QString dsn = QStringLiteral("DRIVER={%1};SERVER=%2;").arg(driver, host);
    if (!host.contains(QLatin1Char('\\')))
        dsn += QStringLiteral("PORT=%1;").arg(port);
    dsn += QStringLiteral("DATABASE=%1;UID=%2;PWD=%3;TDS_Version=7.3;ClientCharset=UTF-8;")
               .arg(braced(ConnectionParam(QStringLiteral("Initial Catalog"))),
                    braced(ConnectionParam(QStringLiteral("User ID"))),
                    braced(ConnectionParam(QStringLiteral("Password"))));
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), connectionName());
    m_db.setDatabaseName(dsn);
    // Without a login timeout FreeTDS waits forever on a server that accepts and never answers.
    m_db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=15;SQL_ATTR_CONNECTION_TIMEOUT=15"));
    if (!m_db.open()) {
        const QString msg = errorText(m_db.lastError());
        SetConnected(false);
        throw EDatabaseError(msg);
    }
}

void* TDatabase::SqliteHandle() const
{
    if (!IsConnected() || m_db.driverName() != QLatin1String("QSQLITE"))
        return nullptr;
    const QVariant v = m_db.driver()->handle();
    if (qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(v.data());
}

void TDatabase::ensureOpen()
{
    if (!IsConnected())
        SetConnected(true);
}

void TDatabase::countStatement(const QString& sql)
{
    ++m_statements;
    if (m_failAt > 0 && --m_failAt == 0)
        throw EDatabaseError(QStringLiteral("模拟的数据库错误\r\n") + sql);
}

int TDatabase::ExecSql(const QString& sql, const TDBParameters& params, const TxDBParameters& blobs)
{
    ensureOpen();
    countStatement(sql);
    return execPrepared(sql, params, blobs);
}

void TDatabase::Execute(const QString& sql, const TDBParameters& params, const TxDBParameters& blobs)
{
    ExecSql(sql, params, blobs);
}

int TDatabase::execPrepared(const QString& sql, const TDBParameters& params, const TxDBParameters& blobs)
{
    const TEngine engine = Engine();
    const TPreparedSql p = TranslateSql(sql, engine);
    const std::vector<QVariant> values = orderParams(p, params, blobs, engine, sql);
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    bool ok = values.empty() ? q.exec(p.sql) : q.prepare(p.sql);
    if (ok && !values.empty()) {
        for (const QVariant& v : values)
            q.addBindValue(v);
        ok = q.exec();
    }
    if (!ok)
        throw EDatabaseError(errorText(q.lastError()) + QStringLiteral("\r\n") + sql);
    return q.numRowsAffected();
}

void TDatabase::OpenQuery(TDataSet& ds, const QString& sql, const TDBParameters& params)
{
    ensureOpen();
    ds.BeginLoad();
    countStatement(sql);
    if (Engine() == TEngine::Sqlite && SqliteHandle()) {
        openSqliteQuery(ds, sql, params);
        return;
    }
    const TEngine engine = Engine();
    const TPreparedSql p = TranslateSql(sql, engine);
    const std::vector<QVariant> values = orderParams(p, params, {}, engine, sql);
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    bool ok = q.prepare(p.sql);
    if (ok) {
        for (const QVariant& v : values)
            q.addBindValue(v);
        ok = q.exec();
    }
    if (!ok)
        throw EDatabaseError(errorText(q.lastError()) + QStringLiteral("\r\n") + sql);
    const QSqlRecord rec = q.record();
    QStringList names;
    std::vector<TFieldType> types;
    std::vector<int> sizes;
    for (int i = 0; i < rec.count(); ++i) {
        names << rec.fieldName(i);
        types.push_back(typeOfMeta(rec.field(i)));
        sizes.push_back(rec.field(i).length() > 0 && rec.field(i).length() < 8000 ? rec.field(i).length()
                                                                                  : 0);
    }
    ds.BindLoadColumns(names, types, sizes);
    std::vector<int> map(static_cast<size_t>(rec.count()));
    for (int i = 0; i < rec.count(); ++i)
        map[size_t(i)] = ds.LoadFieldIndex(i);
    while (q.next()) {
        for (int i = 0; i < rec.count(); ++i) {
            const int f = map[size_t(i)];
            if (f < 0)
                continue;
            const QVariant v = q.value(i);
            if (v.isNull()) {
                ds.LoadNull(f);
                continue;
            }
            try {
                ds.LoadVariant(f, v);
            } catch (const EConvertError&) {
                // A value the column's type cannot hold reads as null.
            }
        }
        ds.LoadEndRow();
    }
    ds.EndLoad();
}

void TDatabase::openSqliteQuery(TDataSet& ds, const QString& sql, const TDBParameters& params)
{
    auto* h = static_cast<sqlite3*>(SqliteHandle());
    const TPreparedSql p = TranslateSql(sql, TEngine::Sqlite);
    const std::vector<QVariant> values = orderParams(p, params, {}, TEngine::Sqlite, sql);
    const QByteArray text = p.sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    auto fail = [&](const QString& msg) {
        if (st)
            sqlite3_finalize(st);
        throw EDatabaseError(msg + QStringLiteral("\r\n") + sql);
    };
    if (sqlite3_prepare_v2(h, text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK)
        fail(QString::fromUtf8(sqlite3_errmsg(h)));
    if (!st)
        fail(QStringLiteral("语句为空"));
    for (int i = 0; i < int(values.size()); ++i) {
        const QVariant& v = values[size_t(i)];
        int rc;
        if (!v.isValid() || v.isNull()) {
            rc = sqlite3_bind_null(st, i + 1);
        } else {
            switch (v.typeId()) {
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Short:
                rc = sqlite3_bind_int64(st, i + 1, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(st, i + 1, v.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray b = v.toByteArray();
                rc = sqlite3_bind_blob(st, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray s = v.toString().toUtf8();
                rc = sqlite3_bind_text(st, i + 1, s.constData(), int(s.size()), SQLITE_TRANSIENT);
            }
            }
        }
        if (rc != SQLITE_OK)
            fail(QString::fromUtf8(sqlite3_errmsg(h)));
    }
    const int n = sqlite3_column_count(st);
    const size_t cols = static_cast<size_t>(n);
    int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        fail(QString::fromUtf8(sqlite3_errmsg(h)));
    QStringList names;
    std::vector<TFieldType> types(cols);
    std::vector<int> sizes(cols);
    for (int i = 0; i < n; ++i) {
        names << QString::fromUtf8(sqlite3_column_name(st, i));
        TFieldType t = typeOfDecl(sqlite3_column_decltype(st, i), sizes[size_t(i)]);
        if (t == ftUnknown) {
            // An expression column: its type is that of its first value.
            switch (rc == SQLITE_ROW ? sqlite3_column_type(st, i) : SQLITE_NULL) {
            case SQLITE_INTEGER:
                t = ftInteger;
                break;
            case SQLITE_FLOAT:
                t = ftFloat;
                break;
            case SQLITE_BLOB:
                t = ftBlob;
                break;
            default:
                t = ftString;
            }
        }
        types[size_t(i)] = t;
    }
    try {
        ds.BindLoadColumns(names, types, sizes);
    } catch (...) {
        sqlite3_finalize(st);
        throw;
    }
    std::vector<int> map(cols);
    std::vector<TFieldType> target(cols, ftUnknown);
    for (int i = 0; i < n; ++i) {
        map[size_t(i)] = ds.LoadFieldIndex(i);
        if (map[size_t(i)] >= 0)
            target[size_t(i)] = ds.Fields(map[size_t(i)])->DataType;
    }
    while (rc == SQLITE_ROW) {
        for (int i = 0; i < n; ++i) {
            const int f = map[size_t(i)];
            if (f < 0)
                continue;
            const TFieldType t = target[size_t(i)];
            const int ct = sqlite3_column_type(st, i);
            if (ct == SQLITE_NULL) {
                ds.LoadNull(f);
                continue;
            }
            if (IsTextType(t)) {
                const auto* s = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                ds.LoadText(f, s, sqlite3_column_bytes(st, i));
            } else if ((IsIntegerType(t) || t == ftBoolean) && ct == SQLITE_INTEGER) {
                ds.LoadInt(f, sqlite3_column_int64(st, i));
            } else if (IsFloatType(t) && (ct == SQLITE_FLOAT || ct == SQLITE_INTEGER)) {
                ds.LoadDouble(f, sqlite3_column_double(st, i));
            } else if (IsDateType(t) && ct == SQLITE_TEXT) {
                const auto* s = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                const int len = sqlite3_column_bytes(st, i);
                qint64 code;
                if (parseStoredDateTime(s, len, code))
                    ds.LoadInt(f, code);
                else
                    try {
                        ds.LoadVariant(f, QString::fromUtf8(s, len));
                    } catch (const EConvertError&) {
                    }
            } else if (IsBlobType(t)) {
                const auto* b = static_cast<const char*>(sqlite3_column_blob(st, i));
                ds.LoadVariant(f, QByteArray(b ? b : "", sqlite3_column_bytes(st, i)));
            } else {
                QVariant v;
                if (ct == SQLITE_INTEGER)
                    v = qint64(sqlite3_column_int64(st, i));
                else if (ct == SQLITE_FLOAT)
                    v = sqlite3_column_double(st, i);
                else
                    v = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                          sqlite3_column_bytes(st, i));
                try {
                    ds.LoadVariant(f, v);
                } catch (const EConvertError&) {
                }
            }
        }
        ds.LoadEndRow();
        rc = sqlite3_step(st);
    }
    if (rc != SQLITE_DONE) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(h));
        ds.Close();
        fail(msg);
    }
    sqlite3_finalize(st);
    ds.EndLoad();
}

QString TDatabase::ConnectionParam(const QString& key) const
{
    const qsizetype at = m_connStr.indexOf(key);
    if (at < 0)
        return {};
    const qsizetype start = at + key.size() + 1;
    const qsizetype end = m_connStr.indexOf(QLatin1Char(';'), start);
    if (end < 0)
        return {};
    return m_connStr.mid(start, end - start);
}

QString TDatabase::DateLiteral(const QDateTime& dt) const
{
    return QLatin1Char('\'') + dt.date().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('\'');
}

QDateTime TDatabase::ServerNow()
{
    TDataSet ds;
    QString sql;
    switch (Engine()) {
    case TEngine::Sqlite:
        sql = QStringLiteral("select datetime('now','localtime')");
        break;
    case TEngine::Postgres:
        sql = QStringLiteral("select localtimestamp(0)");
        break;
    case TEngine::MsSql:
        sql = QStringLiteral("select GetDate()");
        break;
    }
    OpenQuery(ds, sql);
    if (ds.IsEmpty())
        throw EDatabaseError(QStringLiteral("无法读取服务器时间\r\n") + sql);
    const QDateTime dt = ds.Fields(0)->AsDateTime();
    return QDateTime(dt.date(), QTime(dt.time().hour(), dt.time().minute(), dt.time().second()));
}

void TDatabase::BeginTrans()
{
    if (m_inTrans)
        throw EDatabaseError(QStringLiteral("已有一个事务在进行中,不能再开始新的事务"));
    ensureOpen();
    if (!m_db.transaction())
        throw EDatabaseError(errorText(m_db.lastError()) + QStringLiteral("\r\nbegin transaction"));
    m_inTrans = true;
}

void TDatabase::CommitTrans()
{
    if (!m_inTrans)
        throw EDatabaseError(QStringLiteral("没有进行中的事务\r\ncommit"));
    if (!m_db.commit())
        throw EDatabaseError(errorText(m_db.lastError()) + QStringLiteral("\r\ncommit"));
    m_inTrans = false;
}

void TDatabase::RollbackTrans()
{
    if (!m_inTrans)
        return;
    m_inTrans = false;
    m_db.rollback();
}

TTransaction::TTransaction(TDatabase& db) : m_db(db)
{
    m_db.BeginTrans();
}

TTransaction::~TTransaction()
{
    if (!m_done)
        m_db.RollbackTrans();
}

void TTransaction::Commit()
{
    m_db.CommitTrans();
    m_done = true;
}
