#include "MaintenanceFixture.h"

#include "data/Exceptions.h"
#include "maintenance/Backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

class BackupTest : public TMaintenanceTest
{
protected:
    QString file(const QString& name) const { return QDir(env->home()).filePath(name); }
    // Changes of every kind after the backup: deleted, updated and new rows.
    static void changeEverything()
    {
        TTransaction tr(*gDatabase);
        gDatabase->Execute(QStringLiteral("delete from productsindl"));
        gDatabase->Execute(QStringLiteral("update materials set Name='改过的', Stock=-1 where Id=2"));
        gDatabase->Execute(
            QStringLiteral("insert into materials (Id, Code, Name) values (99, 'NEW', '新料')"));
        gDatabase->Execute(QStringLiteral("update [backup] set TypeId=3, BackDir='/nowhere/'"));
        gDatabase->Execute(QStringLiteral("delete from upgrade"));
        tr.Commit();
    }
};

TEST_P(BackupTest, RestoreGivesBackExactlyTheBackedUpDataAndKeepsTheReplacedData)
{
    SeedFactory();
    const QStringList before = DatabaseSnapshot();
    const QString bak = file(QStringLiteral("full.bak"));
    ASSERT_TRUE(BackupDatabase(bak));
    ASSERT_TRUE(QFileInfo(bak).size() > 0);

    changeEverything();
    const QStringList changed = DatabaseSnapshot();
    ASSERT_NE(changed, before);

    const QString undo = RestoreDatabase(bak);
    EXPECT_TRUE(gDatabase->IsConnected());
    EXPECT_EQ(DatabaseSnapshot(), before);
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(QLatin1Char('\n')).toStdString();

    // The data the restore replaced were saved first, named for the time, beside the backup
    // (the plan's directory was not set): restoring that copy undoes the restore.
    EXPECT_EQ(undo, file(QStringLiteral("bak20130116-153000.bak")));
    now = now.addSecs(1);
    RestoreDatabase(undo);
    EXPECT_EQ(DatabaseSnapshot(), changed);
}

TEST_P(BackupTest, ABackupTakenInsideAnOpenTransactionHoldsTheCommittedData)
{
    SeedFactory();
    const QStringList committed = DatabaseSnapshot();
    const QString bak = file(QStringLiteral("during.bak"));
    gDatabase->BeginTrans();
    gDatabase->Execute(QStringLiteral("delete from productbom"));
    gDatabase->Execute(QStringLiteral("insert into materials (Id, Code, Name) values (50, 'T', '事务中')"));
    ASSERT_TRUE(BackupDatabase(bak));
    // The transaction is still the program's and goes on: it commits after the backup.
    ASSERT_TRUE(gDatabase->InTransaction());
    gDatabase->CommitTrans();
    ASSERT_EQ(RowCount(QStringLiteral("productbom")), 0);

    RestoreDatabase(bak);
    EXPECT_EQ(DatabaseSnapshot(), committed);
}

TEST_P(BackupTest, AFailedRestoreLeavesTheCurrentDatabaseAsItWasAndUsable)
{
    SeedFactory();
    const QString bak = file(QStringLiteral("good.bak"));
    ASSERT_TRUE(BackupDatabase(bak));
    changeEverything();
    const QStringList current = DatabaseSnapshot();

    // What makes the replacement fail: on the single-file database another connection that
    // still has the file open; on PostgreSQL an object outside the backup that depends on a
    // table the restore has to drop.
    QString other;
    if (GetParam() == TEngine::Sqlite) {
        other = QStringLiteral("other_holder");
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), other);
        db.setDatabaseName(gDatabase->GetDataSource());
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("select count(*) from materials")) && q.next());
    } else {
        gDatabase->Execute(
            QStringLiteral("create table blocker (MaterialId integer references materials (Id))"));
    }
    try {
        RestoreDatabase(bak);
        ADD_FAILURE() << "the restore should have failed";
    } catch (const Exception& e) {
        if (GetParam() == TEngine::Sqlite)
            EXPECT_EQ(e.Message(), QStringLiteral("恢复时,复制文件失败,请检查数据文件是否正在使用."));
        else
            EXPECT_TRUE(e.Message().startsWith(QStringLiteral("恢复失败,当前数据没有改变."))) << e.what();
    }
    if (!other.isEmpty())
        QSqlDatabase::removeDatabase(other);
    EXPECT_TRUE(gDatabase->IsConnected());
    EXPECT_EQ(DatabaseSnapshot(), current);
    gDatabase->Execute(QStringLiteral("insert into materials (Id, Code, Name) values (77, 'AFTER', '之后')"));
    EXPECT_EQ(RowCount(QStringLiteral("materials")), 5);
}

TEST_P(BackupTest, AFileThatIsNotABackupOfThisProgramIsRefusedAndNothingChanges)
{
    SeedFactory();
    const QStringList current = DatabaseSnapshot();
    QFile text(file(QStringLiteral("notes.bak")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("这不是数据库\n");
    text.close();
    QFile(file(QStringLiteral("empty.bak"))).open(QIODevice::WriteOnly);
    {
        // A sound SQLite database, but not one of this program.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign_db"));
        db.setDatabaseName(file(QStringLiteral("foreign.bak")));
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec(QStringLiteral("create table materials (Id int)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("foreign_db"));
    const QStringList before = QDir(env->home()).entryList(QDir::Files);

    for (const char* name : {"notes.bak", "empty.bak", "foreign.bak", "missing.bak"}) {
        SCOPED_TRACE(name);
        try {
            RestoreDatabase(file(QString::fromLatin1(name)));
            ADD_FAILURE() << "accepted";
        } catch (const Exception& e) {
            EXPECT_TRUE(
                e.Message().startsWith(QStringLiteral("所选文件不是本系统的数据库备份,数据没有恢复:")))
                << e.what();
        }
        EXPECT_EQ(DatabaseSnapshot(), current);
        // Refused before anything was written: no copy of the current data either.
        EXPECT_EQ(QDir(env->home()).entryList(QDir::Files), before);
    }
}

TEST_P(BackupTest, TheAutomaticBackupFollowsThePlanAndTheWeekday)
{
    const QString dir = file(QStringLiteral("auto"));
    ASSERT_TRUE(QDir().mkpath(dir));
    struct Case
    {
        int plan;
        QDate day;
        bool made;
    };
    const Case cases[] = {
        {bpNone, QDate(2013, 1, 14), false},        // Monday, no plan
        {bpEveryExit, QDate(2013, 1, 15), true},    // Tuesday
        {bpMondays, QDate(2013, 1, 15), false},     // Tuesday
        {bpMondays, QDate(2013, 1, 14), true},      // Monday
        {bpFirstOfMonth, QDate(2013, 2, 1), true},  // a Friday, first of the month
        {bpFirstOfMonth, QDate(2013, 1, 14), false} // a Monday, not the first
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plan);
        SCOPED_TRACE(c.day.toString(Qt::ISODate).toStdString());
        WriteBackupSettings(c.plan, dir);
        now = QDateTime(c.day, QTime(18, 0));
        AutoBackup();
        const QString expected = dir + QStringLiteral("/bak") + c.day.toString(QStringLiteral("yyyyMMdd")) +
                                 QStringLiteral(".bak");
        EXPECT_EQ(QFileInfo::exists(expected), c.made);
        QFile::remove(expected);
    }
    EXPECT_TRUE(messages().texts().isEmpty());
}

TEST_P(BackupTest, TheAutomaticBackupOverwritesTheDaysFileAndItsErrorsDoNotStopClosing)
{
    const QString dir = file(QStringLiteral("auto"));
    ASSERT_TRUE(QDir().mkpath(dir));
    WriteBackupSettings(bpEveryExit, dir);
    AutoBackup();
    gDatabase->Execute(QStringLiteral("insert into materials (Id, Code, Name) values (1, 'LATE', '晚些')"));
    AutoBackup();
    const QString made = dir + QStringLiteral("/bak20130116.bak");
    ASSERT_TRUE(QFileInfo::exists(made));
    gDatabase->Execute(QStringLiteral("delete from materials"));
    RestoreDatabase(made);
    EXPECT_EQ(TableRows(QStringLiteral("materials")).size(), 1);

    // A directory that does not exist: the error is shown, nothing is raised.
    WriteBackupSettings(bpEveryExit, file(QStringLiteral("gone/away")));
    messages().messages.clear();
    EXPECT_NO_THROW(AutoBackup());
    ASSERT_EQ(messages().texts().size(), 1);
    if (GetParam() == TEngine::Sqlite) {
        EXPECT_EQ(messages().lastText(),
                  QStringLiteral("\r\n备份时,复制文件失败,请检查备份路径是否正确,或者目标文件已存在.\t"));
    }
    EXPECT_FALSE(QFileInfo::exists(file(QStringLiteral("gone"))));
}

TEST_P(BackupTest, TheBackupDirectoryIsStoredWithItsSeparatorAndAMissingRowIsInserted)
{
    const struct
    {
        const char* typed;
        const char* stored;
    } cases[] = {{"D:\\bk", "D:\\bk\\"},
                 {"D:\\bk\\", "D:\\bk\\"},
                 {"/srv/bk", "/srv/bk/"},
                 {"/srv/bk/", "/srv/bk/"},
                 {"", ""}};
    for (const auto& c : cases) {
        WriteBackupSettings(bpMondays, QString::fromLatin1(c.typed));
        const RBackupSettings s = ReadBackupSettings();
        EXPECT_TRUE(s.Found);
        EXPECT_EQ(s.TypeId, bpMondays);
        EXPECT_EQ(s.BackDir, QString::fromLatin1(c.stored));
    }
    gDatabase->Execute(QStringLiteral("delete from [backup]"));
    EXPECT_FALSE(ReadBackupSettings().Found);
    WriteBackupSettings(bpFirstOfMonth, QStringLiteral("/srv/x"));
    EXPECT_EQ(TableRows(QStringLiteral("[backup]")), QStringList{QStringLiteral("3|/srv/x/")});
    // An empty directory puts the automatic backups into the home directory.
    EXPECT_EQ(AutoBackupFileName(QString(), QDate(2013, 1, 16)), file(QStringLiteral("bak20130116.bak")));
}

CZ_INSTANTIATE_ENGINES(BackupTest);

} // namespace
