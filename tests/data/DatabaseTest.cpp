#include "TestSupport.h"

#include "data/DataSet.h"
#include "data/Exceptions.h"
#include "data/QuerySet.h"
#include "data/RecordSet.h"

#include <QBuffer>
#include <QSqlQuery>

namespace {

class DatabaseTest : public TEngineTest
{
protected:
    // A scratch table with one column of each kind the program stores.
    void createScratch()
    {
        const bool pg = GetParam() == TEngine::Postgres;
        gDatabase->ExecSql(
            QStringLiteral("create table scratch (Id int primary key, T varchar(20), D %1, B %2, F float, "
                           "Flag %3)")
                .arg(pg ? QStringLiteral("timestamp(0)") : QStringLiteral("datetime"),
                     pg ? QStringLiteral("bytea") : QStringLiteral("blob"),
                     pg ? QStringLiteral("smallint") : QStringLiteral("bit")));
    }
    int count(const QString& table)
    {
        gRecordSet->OpenSql(QStringLiteral("select count(*) from ") + table);
        return gRecordSet->DataSet()->Fields(0)->AsInteger();
    }
};

} // namespace

TEST_P(DatabaseTest, ExecSqlCountsRowsAndReportsErrors)
{
    const QString ins = QStringLiteral("insert into keyvalue(KeyId, Vstr) values(:KeyId, :Vstr)");
    EXPECT_EQ(gDatabase->ExecSql(ins, {DBParam(QStringLiteral("KeyId"), 9001),
                                       DBParam(QStringLiteral("Vstr"), QStringLiteral("中文"))}),
              1);
    EXPECT_EQ(gDatabase->ExecSql(QStringLiteral("update keyvalue set Vint=1 where KeyId=:KeyId"),
                                 {DBParam(QStringLiteral("KeyId"), -5)}),
              0);
    try {
        gDatabase->ExecSql(
            ins, {DBParam(QStringLiteral("KeyId"), 9001), DBParam(QStringLiteral("Vstr"), QString())});
        FAIL() << "duplicate key accepted";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().endsWith(QStringLiteral("\r\n") + ins)) << e.Message().toStdString();
        EXPECT_GT(e.Message().size(), ins.size() + 2);
    }
    // A parameter given but absent from the statement, and one used but not given, are errors.
    EXPECT_THROW(
        gDatabase->ExecSql(QStringLiteral("delete from keyvalue where KeyId=:KeyId"),
                           {DBParam(QStringLiteral("KeyId"), 1), DBParam(QStringLiteral("Other"), 2)}),
        EDatabaseError);
    EXPECT_THROW(gDatabase->ExecSql(QStringLiteral("delete from keyvalue where KeyId=:KeyId")),
                 EDatabaseError);
    // Text wider than its column is refused on every engine.
    EXPECT_THROW(gDatabase->ExecSql(QStringLiteral("update operator set Name=:Name where LoginId='sa'"),
                                    {DBParam(QStringLiteral("Name"), QString(51, QChar(0x4e2d)))}),
                 EDatabaseError);
    // Login names compare without letter case.
    gRecordSet->OpenSql(QStringLiteral("select LoginId from operator where LoginId=:LoginId"),
                        {DBParam(QStringLiteral("LoginId"), QStringLiteral("SA"))});
    EXPECT_EQ(gRecordSet->DataSet()->Fields(0)->AsString(), QStringLiteral("sa"));
}

TEST_P(DatabaseTest, FailingSelectShowsSqlThenClosedSetError)
{
    TQuerySet q;
    const QString sql = QStringLiteral("select Nope from keyvalue");
    EXPECT_THROW(q.OpenSql(sql), EDataSetError);
    ASSERT_EQ(messages().messages.size(), 1u);
    EXPECT_TRUE(messages().lastText().startsWith(QStringLiteral("\r\nSQL语句错误,原文如下:\r\n") + sql +
                                                 QStringLiteral("\r\n\r\n错误提示:\r\n")));
    EXPECT_FALSE(q.Query()->Active());

    // Rows appended in memory never reach the database.
    EXPECT_EQ(q.OpenSql(QStringLiteral("select KeyId, Vstr from keyvalue where KeyId=:Id"),
                        {DBParam(QStringLiteral("Id"), 777)}),
              0);
    q.Query()->Append();
    q.Query()->FieldByName(QStringLiteral("KeyId"))->SetValue(777);
    q.Query()->Post();
    EXPECT_EQ(q.OpenSql(QStringLiteral("select KeyId, Vstr from keyvalue where KeyId=:Id"),
                        {DBParam(QStringLiteral("Id"), 777)}),
              0);
}

TEST_P(DatabaseTest, ValuesKeepTheirTypes)
{
    createScratch();
    QByteArray bytes("\x00\x01\xffzz", 5);
    QBuffer buf(&bytes);
    const QDateTime when(QDate(2013, 1, 16), QTime(15, 30, 7));
    gDatabase->ExecSql(QStringLiteral("insert into scratch values(:Id,:T,:D,:B,:F,:Flag)"),
                       {DBParam(QStringLiteral("Id"), 1),
                        DBParam(QStringLiteral("T"), QStringLiteral("生产")),
                        DBParam(QStringLiteral("D"), when), DBParam(QStringLiteral("F"), 2.25),
                        DBParam(QStringLiteral("Flag"), true)},
                       {DBBlobParam(QStringLiteral("B"), &buf)});
    gDatabase->ExecSql(QStringLiteral("insert into scratch(Id, D) values(2, :D)"),
                       {DBParam(QStringLiteral("D"), QDate(2013, 1, 17))});
    TQuerySet q;
    ASSERT_EQ(q.OpenSql(QStringLiteral("select * from scratch order by Id")), 2);
    TDataSet* ds = q.Query();
    EXPECT_EQ(ds->FieldByName(QStringLiteral("T"))->AsString(), QStringLiteral("生产"));
    EXPECT_EQ(ds->FieldByName(QStringLiteral("D"))->AsDateTime(), when);
    EXPECT_EQ(ds->FieldByName(QStringLiteral("B"))->AsBytes(), bytes);
    EXPECT_DOUBLE_EQ(ds->FieldByName(QStringLiteral("F"))->AsFloat(), 2.25);
    EXPECT_TRUE(ds->FieldByName(QStringLiteral("Flag"))->AsBoolean());
    EXPECT_EQ(ds->FieldByName(QStringLiteral("T"))->Size, 20);
    ds->Next();
    EXPECT_EQ(ds->FieldByName(QStringLiteral("D"))->AsDateTime(), QDateTime(QDate(2013, 1, 17), QTime(0, 0)));
    EXPECT_EQ(ds->FieldByName(QStringLiteral("T"))->AsString(), QString());
    // Date ranges built with DateLiteral select by day on every engine.
    EXPECT_EQ(q.OpenSql(QStringLiteral("select Id from scratch where D>=") +
                        gDatabase->DateLiteral(QDate(2013, 1, 16)) + QStringLiteral(" and D<") +
                        gDatabase->DateLiteral(QDate(2013, 1, 17))),
              1);
    if (GetParam() == TEngine::Sqlite) {
        QSqlQuery raw(gDatabase->Connection());
        ASSERT_TRUE(raw.exec(QStringLiteral("select D from scratch order by Id")));
        raw.next();
        EXPECT_EQ(raw.value(0).toString(), QStringLiteral("2013-01-16 15:30:07"));
        raw.next();
        EXPECT_EQ(raw.value(0).toString(), QStringLiteral("2013-01-17 00:00:00"));
    }
    const QDateTime now = gDatabase->ServerNow();
    EXPECT_LT(std::abs(now.secsTo(QDateTime::currentDateTime())), 120);
}

TEST_P(DatabaseTest, TransactionsRollBackOnEveryFailure)
{
    auto save = [] {
        TTransaction tr(*gDatabase);
        for (int id : {8001, 8002, 8003})
            gDatabase->ExecSql(QStringLiteral("insert into keyvalue(KeyId) values(:Id)"),
                               {DBParam(QStringLiteral("Id"), id)});
        tr.Commit();
    };
    for (int failAt = 1; failAt <= 3; ++failAt) {
        gDatabase->SetFailAt(failAt);
        EXPECT_THROW(save(), EDatabaseError) << failAt;
        EXPECT_FALSE(gDatabase->InTransaction());
        EXPECT_EQ(count(QStringLiteral("keyvalue where KeyId>8000")), 0) << failAt;
    }
    save();
    EXPECT_EQ(count(QStringLiteral("keyvalue where KeyId>8000")), 3);
    TTransaction outer(*gDatabase);
    EXPECT_THROW(gDatabase->BeginTrans(), EDatabaseError);
}

TEST_P(DatabaseTest, JoinFieldValues)
{
    for (int id : {1, 2, 3})
        gDatabase->ExecSql(QStringLiteral("insert into keyvalue(KeyId, Vstr) values(:Id, :S)"),
                           {DBParam(QStringLiteral("Id"), 7000 + id),
                            DBParam(QStringLiteral("S"), QStringLiteral("行%1").arg(id))});
    TRecordSet rs;
    rs.OpenSql(QStringLiteral("select Vstr from keyvalue where KeyId>7000 order by KeyId"));
    EXPECT_EQ(rs.JoinFieldValues(rs.DataSet()->Fields(0), QStringLiteral("\r\n")),
              QStringLiteral("行1\r\n行2\r\n行3"));
    EXPECT_TRUE(rs.DataSet()->Eof());
    rs.DeleteAll();
    EXPECT_EQ(rs.DataSet()->RecordCount(), 0);
    rs.DeleteCurrent(); // nothing to delete: no error
}

CZ_INSTANTIATE_ENGINES(DatabaseTest);

TEST(Connect, FailureShowsMessageAndReturnsFalse)
{
    TTestEnv env;
    TDatabase db;
    EXPECT_FALSE(db.Connect(QStringLiteral("Provider=SQLite;Data Source=") + env.home() +
                            QStringLiteral("/missing.db;")));
    EXPECT_TRUE(env.messages().lastText().startsWith(QStringLiteral("\r\n连接时失败,提示如下:\r\n")));
    // A file that is not a database is refused, not treated as an empty one.
    QFile junk(env.home() + QStringLiteral("/junk.db"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    EXPECT_FALSE(
        db.Connect(QStringLiteral("Provider=SQLite;Data Source=") + junk.fileName() + QStringLiteral(";")));
}
