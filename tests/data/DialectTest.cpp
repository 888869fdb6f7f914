#include "data/Dialect.h"
#include "data/Database.h"

#include <gtest/gtest.h>

TEST(Dialect, TranslatesPerEngine)
{
    struct Case
    {
        const char* sql;
        TEngine engine;
        const char* expected;
        QStringList params;
    };
    const Case cases[] = {
        {"update options set [Value]=:Value where [Key]=:Key",
         TEngine::Postgres,
         "update options set \"value\"=? where \"key\"=?",
         {"Value", "Key"}},
        {"update options set [Value]=:Value where [Key]=:Key",
         TEngine::Sqlite,
         "update options set [Value]=? where [Key]=?",
         {"Value", "Key"}},
        {"select top 1 Id from report where RepId=:RepId order by Id desc",
         TEngine::Sqlite,
         "select Id from report where RepId=? order by Id desc limit 1",
         {"RepId"}},
        {"select top 1 Id from report order by Id desc",
         TEngine::MsSql,
         "select top 1 Id from report order by Id desc",
         {}},
        // Quoted text keeps its colons, brackets and doubled quotes.
        {"select ':x [y]' as a, 'it''s :z' from t where a=:A",
         TEngine::Postgres,
         "select ':x [y]' as a, 'it''s :z' from t where a=? ",
         {"A"}},
        {"insert into t(a,b)values(:A,:A)", TEngine::Sqlite, "insert into t(a,b)values(?,?)", {"A", "A"}},
        {"select * from m where Code like '%like%' or Unlike LIKE :K",
         TEngine::Postgres,
         "select * from m where Code ilike '%like%' or Unlike ilike ?",
         {"K"}},
    };
    for (const auto& c : cases) {
        const TPreparedSql p = TranslateSql(QString::fromUtf8(c.sql), c.engine);
        EXPECT_EQ(p.sql.trimmed(), QString::fromUtf8(c.expected).trimmed()) << c.sql;
        EXPECT_EQ(p.paramNames, c.params) << c.sql;
    }
}

TEST(Dialect, ConnectionParamAndProvider)
{
    struct Case
    {
        const char* conn;
        const char* provider;
        bool msSql;
        const char* source;
    };
    const Case cases[] = {
        {"Provider=SQLOLEDB.1;Persist Security Info=False;Data Source=srv,1433;", "SQLOLEDB.1", true,
         "srv,1433"},
        {"Provider=sqlite;Data Source=/tmp/a.db;", "sqlite", false, "/tmp/a.db"},
        {"Provider=PostgreSQL;Data Source=h;", "PostgreSQL", false, "h"},
        // Without a closing ';' the value reads empty; an empty provider counts as SQL Server.
        {"Data Source=x;Provider=SQLite", "", true, "x"},
        {"Provider=Other;Data Source=y", "Other", true, ""},
    };
    for (const auto& c : cases) {
        TDatabase db;
        db.SetConnectionString(QString::fromUtf8(c.conn));
        EXPECT_EQ(db.GetProvider(), QString::fromUtf8(c.provider)) << c.conn;
        EXPECT_EQ(db.IsMsSql(), c.msSql) << c.conn;
        EXPECT_EQ(db.GetDataSource(), QString::fromUtf8(c.source)) << c.conn;
    }
    TDatabase db;
    EXPECT_EQ(db.DateLiteral(QDateTime(QDate(2013, 1, 16), QTime(15, 30))), QStringLiteral("'2013-01-16'"));
}
