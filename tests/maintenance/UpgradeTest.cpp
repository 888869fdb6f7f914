#include "MaintenanceFixture.h"

#include "data/DataSet.h"
#include "data/Exceptions.h"
#include "maintenance/Upgrade.h"
#include "maintenance/UpgradeSet.h"
#include "shell/AppPaths.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <utility>
#include <vector>

namespace {

const QString kFailurePrefix = QStringLiteral("\r\n对不起! 数据库升级失败.详细如下:\r\n");

// An older database file in the home directory with its own, smaller catalogue tables.
void makeOldDatabase(const QString& path)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old_version"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const char* sql :
             {"create table materials (Id int, Code varchar(50), Name varchar(50), Price float)",
              "insert into materials values (1, 'M-01', '旧角钢', 3.5), (2, 'M-02', '旧螺丝', 0.1)",
              "create table products (Id int, Code varchar(30), Name varchar(30))",
              "insert into products values (7, 'P-07', '旧货架')"})
            ASSERT_TRUE(q.exec(QString::fromUtf8(sql))) << sql;
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("old_version"));
}

QStringList attachedSchemas()
{
    TDataSet ds;
    gDatabase->OpenQuery(ds, QStringLiteral("pragma database_list"));
    QStringList names;
    for (ds.First(); !ds.Eof(); ds.Next())
        names << ds.FieldByName(QStringLiteral("name"))->AsString();
    return names;
}

class UpgradeSqliteTest : public TMaintenanceSqliteTest
{
};

TEST_F(UpgradeSqliteTest, AScriptCopiesMaterialsAndProductsFromTheAttachedOlderFile)
{
    makeOldDatabase(HomeFile(QStringLiteral("czpm13.db")));
    gDatabase->Execute(QStringLiteral("insert into materials (Id, Code, Name) values (1, 'DEMO', '演示')"));
    const QString script =
        QStringLiteral("czpm13.db\r\n"
                       "// 1.3 版的原料和产品\r\n"
                       "ATTACH DATABASE '%mdb' AS old\r\n"
                       "msg:开始升级\r\n"
                       "delete from materials\r\n"
                       "\r\n"
                       "insert into materials (Id, Code, Name, Price, Stock) "
                       "select Id, Code, Name, Price, 0 from old.materials\r\n"
                       "insert into products (Id, Code, Name) select Id, Code, Name from old.products\r\n"
                       "DETACH DATABASE old\r\n");
    std::vector<std::pair<int, int>> progress;
    ASSERT_TRUE(RunUpgradeScript(script, [&](int pos, int max) { progress.emplace_back(pos, max); }));

    EXPECT_EQ(TableRows(QStringLiteral("materials")),
              (QStringList{
                  QStringLiteral("1|<null>|<null>|M-01|旧角钢|<null>|<null>|<null>|<null>|<null>|3.5|<null>|"
                                 "<null>|<null>|<null>|<null>|<null>|0|<null>"),
                  QStringLiteral("2|<null>|<null>|M-02|旧螺丝|<null>|<null>|<null>|<null>|<null>|0.1|<null>|"
                                 "<null>|<null>|<null>|<null>|<null>|0|<null>")}));
    EXPECT_EQ(TableRows(QStringLiteral("products")).size(), 1);
    EXPECT_TRUE(TableRows(QStringLiteral("products"))
                    .first()
                    .startsWith(QStringLiteral("7|<null>|<null>|P-07|旧货架")));
    EXPECT_EQ(messages().texts(), QStringList{QStringLiteral("\r\n开始升级")});
    // Nothing stays attached; the bar went through every line of the script.
    EXPECT_EQ(attachedSchemas(), QStringList{QStringLiteral("main")});
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), std::make_pair(0, 9));
    EXPECT_EQ(progress.back(), std::make_pair(8, 9));
}

TEST_F(UpgradeSqliteTest, AFailedRunDetachesTheOlderFileAndAMissingFileIsNamed)
{
    makeOldDatabase(HomeFile(QStringLiteral("old.db")));
    EXPECT_FALSE(RunUpgradeScript(
        QStringLiteral("old.db\nattach database '%MDB' as old\ninsert into nowhere values (1)")));
    EXPECT_EQ(attachedSchemas(), QStringList{QStringLiteral("main")});

    messages().messages.clear();
    EXPECT_FALSE(RunUpgradeScript(QStringLiteral("gone.db\ninsert into materials (Id) values (1)")));
    EXPECT_EQ(messages().texts(),
              QStringList{QStringLiteral("旧版数据库文件不存在:") + HomeFile(QStringLiteral("gone.db"))});
    // The exact lower-case test: old.DB names no file, and its script just runs.
    messages().messages.clear();
    EXPECT_TRUE(RunUpgradeScript(QStringLiteral("old.DB\ninsert into materials (Id) values (1)")));
    EXPECT_TRUE(messages().texts().isEmpty());
    EXPECT_EQ(RowCount(QStringLiteral("materials")), 1);
}

class UpgradeTest : public TMaintenanceTest
{
protected:
    void SetUp() override
    {
        TMaintenanceTest::SetUp();
        SeedFactory();
    }
};

TEST_P(UpgradeTest, AScriptThatFailsInItsThirdStatementChangesNothing)
{
    const QStringList before = DatabaseSnapshot();
    const QString third = QStringLiteral("insert into materials (Id, Code, Name) values (1, 'DUP', '重复')");
    EXPECT_FALSE(RunUpgradeScript(QStringLiteral("v13\n"
                                                 "delete from materialsoutdl\n"
                                                 "update materials set Name='新名' where Id=3\n") +
                                  third + QStringLiteral("\ndelete from syscols\n")));
    EXPECT_EQ(DatabaseSnapshot(), before);
    EXPECT_FALSE(gDatabase->InTransaction());
    ASSERT_EQ(messages().texts().size(), 1);
    const QString shown = messages().lastText();
    EXPECT_TRUE(shown.startsWith(kFailurePrefix)) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("\r\n附当时语句是:") + third)) << shown.toStdString();
}

TEST_P(UpgradeTest, CancelAtAConfirmationChangesNothing)
{
    const QStringList before = DatabaseSnapshot();
    messages().setNextAnswer(TMessageService::AnswerOk);     // msg:
    messages().setNextAnswer(TMessageService::AnswerCancel); // cnf:
    EXPECT_FALSE(RunUpgradeScript(QStringLiteral("v13\n"
                                                 "delete from productsindl\n"
                                                 "msg:已删除成品入库明细\n"
                                                 "cnf:继续删除原料吗?\n"
                                                 "delete from materialsindl\n")));
    EXPECT_EQ(DatabaseSnapshot(), before);
    EXPECT_FALSE(gDatabase->InTransaction());
    ASSERT_EQ(messages().messages.size(), 2U);
    EXPECT_EQ(messages().messages[1].text, QStringLiteral("\r\n继续删除原料吗?"));
    EXPECT_EQ(messages().messages[1].buttons, TMessageService::OkCancel);
}

TEST_P(UpgradeTest, TheLinesOfAScriptAreReadAsTheFormatSays)
{
    const QString home = QDir(env->home()).absolutePath();
    struct Case
    {
        QString script;
        bool ok;
        QStringList shown; // exact texts, or the failure box's statement for a failure
    };
    const Case cases[] = {
        // Only the source: no statement, an empty transaction, success.
        {QStringLiteral("v13"), true, {}},
        {QString(), false, {QStringLiteral("升级文件为空白")}},
        {QStringLiteral("  \r\n \r\n"), false, {QStringLiteral("升级文件为空白")}},
        // Both markers in any case, every occurrence, in one pass.
        {QStringLiteral("src\ninsert into syscols (F02, F06) values (90, '%DIR|%mdb|%Dir')"), true, {}},
        // Leading spaces make a comment a statement, which fails.
        {QStringLiteral("v13\n  // not a comment"), false, {QStringLiteral("  // not a comment")}},
        {QStringLiteral("v13\nMSG:upper case is a statement"),
         false,
         {QStringLiteral("MSG:upper case is a statement")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script.toStdString());
        messages().messages.clear();
        EXPECT_EQ(RunUpgradeScript(c.script), c.ok);
        const QStringList texts = messages().texts();
        if (c.ok || c.shown.isEmpty() || c.shown.first() == QStringLiteral("升级文件为空白")) {
            EXPECT_EQ(texts, c.shown);
        } else {
            ASSERT_EQ(texts.size(), 1);
            EXPECT_TRUE(texts.first().startsWith(kFailurePrefix));
            EXPECT_TRUE(texts.first().endsWith(QStringLiteral("附当时语句是:") + c.shown.first()));
        }
        EXPECT_FALSE(gDatabase->InTransaction());
    }
    EXPECT_EQ(TableRows(QStringLiteral("syscols")).last(), QStringLiteral("90|%1|%1/src|%1").arg(home));
}

TEST_P(UpgradeTest, TheScriptSetSavesItsPendingChangesAllOrNothing)
{
    TUpgradeSet set;
    set.Open();
    ASSERT_TRUE(set.LocateVersion(QStringLiteral("1.3")));
    set.Query()->Edit();
    set.SqlText()->SetAsString(QStringLiteral("v13\nmsg:改过"));
    set.Query()->Post();
    set.AppendVersion(QStringLiteral("1.2"));
    set.AppendVersion(QStringLiteral("临时"));
    set.MarkDeleted(); // added and deleted before saving: never stored
    EXPECT_EQ(set.Query()->RecordCount(), 2);
    const QStringList before = TableRows(QStringLiteral("upgrade"));

    // A failure in the middle: nothing is stored and no new Id reaches memory, so the same
    // save can be repeated.
    gDatabase->SetFailAt(3);
    EXPECT_THROW(set.Save(), EDatabaseError);
    gDatabase->SetFailAt(0);
    EXPECT_EQ(TableRows(QStringLiteral("upgrade")), before);
    EXPECT_TRUE(set.Query()->Filtered());
    EXPECT_EQ(set.Query()->RecordCount(), 2);

    ASSERT_TRUE(set.Save());
    EXPECT_EQ(TableRows(QStringLiteral("upgrade")),
              (QStringList{QStringLiteral("1|1.3|v13\nmsg:改过"), QStringLiteral("2|1.2|")}));
    ASSERT_TRUE(set.LocateVersion(QStringLiteral("1.2")));
    EXPECT_EQ(set.Id()->AsInteger(), 2);

    ASSERT_TRUE(set.LocateVersion(QStringLiteral("1.3")));
    set.MarkDeleted();
    ASSERT_TRUE(set.Save());
    EXPECT_EQ(TableRows(QStringLiteral("upgrade")), QStringList{QStringLiteral("2|1.2|")});
    TUpgradeSet reloaded;
    reloaded.Open();
    EXPECT_EQ(reloaded.Query()->RecordCount(), 1);
}

CZ_INSTANTIATE_ENGINES(UpgradeTest);

} // namespace
