#include "TestSupport.h"

#include "data/Exceptions.h"
#include "data/RecordSet.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSqlQuery>

#include <cstdio>

// The child: saves numbered rows in committed transactions until it is killed.
TEST(Durability, Child)
{
    const QString conn = qEnvironmentVariable("CZ_DURABILITY_DB");
    if (conn.isEmpty())
        GTEST_SKIP() << "runs only as the child of CommittedSavesSurviveAKill";
    TDatabase db;
    ASSERT_TRUE(db.Connect(conn));
    for (int i = 1;; ++i) {
        TTransaction tr(db);
        db.ExecSql(QStringLiteral("insert into keyvalue(KeyId, Vstr) values(:Id, :S)"),
                   {DBParam(QStringLiteral("Id"), 100000 + i),
                    DBParam(QStringLiteral("S"), QString(200, QChar(0x751f)))});
        db.ExecSql(QStringLiteral("update keyvalue set Vint=:I where KeyId=100000+:J"),
                   {DBParam(QStringLiteral("I"), i), DBParam(QStringLiteral("J"), i)});
        tr.Commit();
        std::printf("committed %d\n", i);
        std::fflush(stdout);
    }
}

TEST(Durability, CommittedSavesSurviveAKill)
{
    TTestEnv env;
    const QString conn = env.connectionString();
    gDatabase->SetConnected(false);
    for (int round = 0; round < 3; ++round) {
        QProcess child;
        QProcessEnvironment pe = QProcessEnvironment::systemEnvironment();
        pe.insert(QStringLiteral("CZ_DURABILITY_DB"), conn);
        child.setProcessEnvironment(pe);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=Durability.Child")});
        ASSERT_TRUE(child.waitForStarted());
        int last = 0;
        QByteArray pending;
        while (last < 40 + round * 25 && child.waitForReadyRead(20000)) {
            pending += child.readAllStandardOutput();
            qsizetype nl;
            while ((nl = pending.indexOf('\n')) >= 0) {
                const QByteArray line = pending.left(nl);
                pending.remove(0, nl + 1);
                if (line.startsWith("committed "))
                    last = line.mid(10).toInt();
            }
        }
        child.kill(); // SIGKILL in the middle of the next save
        child.waitForFinished();
        ASSERT_GT(last, 0);

        TDatabase db;
        ASSERT_TRUE(db.Connect(conn));
        QSqlQuery q(db.Connection());
        ASSERT_TRUE(q.exec(QStringLiteral("pragma integrity_check")));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toString(), QStringLiteral("ok"));
        ASSERT_TRUE(
            q.exec(QStringLiteral("select count(*), min(Vint), max(Vint) from keyvalue where KeyId>100000")));
        ASSERT_TRUE(q.next());
        // Every committed save is there, each complete; at most the one in flight beyond it.
        EXPECT_GE(q.value(2).toInt(), last);
        EXPECT_EQ(q.value(0).toInt(), q.value(2).toInt());
        ASSERT_TRUE(
            q.exec(QStringLiteral("select count(*) from keyvalue where KeyId>100000 and Vint is null")));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), 0);
        ASSERT_TRUE(q.exec(QStringLiteral("delete from keyvalue where KeyId>100000")));
    }
}
