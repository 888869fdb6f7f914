#include "TestSupport.h"

#include "data/Dialect.h"
#include "data/Exceptions.h"
#include "data/RecordSet.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

namespace {

// Every statement the program runs on these engines, from statements.md beside this file.
QStringList programStatements()
{
    QFile f(QStringLiteral(CZ_SOURCE_DIR "/tests/schema/statements.md"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression block(QStringLiteral("```sql( dialect)?\\n(.*?)\\n```"),
                                          QRegularExpression::DotMatchesEverythingOption);
    QStringList out;
    for (const auto& m : block.globalMatch(QString::fromUtf8(f.readAll())))
        out << m.captured(2);
    return out;
}

class SchemaTest : public TEngineTest
{
};

} // namespace

// Each statement compiles against the schema: every table, view and column it names exists.
TEST_P(SchemaTest, EveryProgramStatementCompiles)
{
    const QStringList statements = programStatements();
    ASSERT_GT(statements.size(), 150);
    QStringList failures;
    for (const QString& sql : statements) {
        const TPreparedSql p = TranslateSql(sql, GetParam());
        if (GetParam() == TEngine::Sqlite) {
            auto* h = static_cast<sqlite3*>(gDatabase->SqliteHandle());
            sqlite3_stmt* st = nullptr;
            const QByteArray text = p.sql.toUtf8();
            if (sqlite3_prepare_v2(h, text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK)
                failures << sql + QStringLiteral("\n  ") + QString::fromUtf8(sqlite3_errmsg(h));
            sqlite3_finalize(st);
        } else {
            QSqlQuery q(gDatabase->Connection());
            if (!q.prepare(p.sql))
                failures << sql + QStringLiteral("\n  ") + q.lastError().text();
        }
    }
    EXPECT_TRUE(failures.isEmpty()) << failures.join(QStringLiteral("\n")).toStdString();
}

TEST_P(SchemaTest, SeedRowsOfANewDatabase)
{
    gRecordSet->OpenSql(QStringLiteral("select LoginId, [Password] from operator"));
    ASSERT_EQ(gRecordSet->DataSet()->RecordCount(), 1);
    EXPECT_EQ(gRecordSet->DataSet()->Fields(0)->AsString(), QStringLiteral("sa"));
    EXPECT_EQ(gRecordSet->DataSet()->Fields(1)->AsString(), QString());
    for (const char* table : {"keyvalue", "materialsintype", "materialsoutype", "productsintype", "backup"}) {
        gRecordSet->OpenSql(QStringLiteral("select count(*) from %1").arg(QLatin1String(table)));
        EXPECT_GT(gRecordSet->DataSet()->Fields(0)->AsInteger(), 0) << table;
    }
}

CZ_INSTANTIATE_ENGINES(SchemaTest);
