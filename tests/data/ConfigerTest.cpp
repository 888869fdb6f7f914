#include "TestSupport.h"

#include "data/Configer.h"
#include "data/IniFile.h"
#include "data/ui/DBConfigFrm.h"
#include "shell/AppPaths.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

TEST(Scramble, IsItsOwnInverse)
{
    EXPECT_EQ(Scramble(QByteArray()), QByteArray());
    // The first byte takes the key's second letter 'o' (111 mod 10 = 1), the tenth the first 't' (6).
    EXPECT_EQ(Scramble(QByteArray("a"))[0], char('a' ^ 1));
    EXPECT_EQ(Scramble(QByteArray("0123456789"))[9], char('9' ^ ('t' % 10)));
    for (const QByteArray& s : {QByteArray("sa"), QByteArray(" p;#\\= x "),
                                QStringLiteral("生产管理").toUtf8(), QByteArray("\x01\x0f\x7f", 3)}) {
        EXPECT_EQ(Scramble(Scramble(s)), s);
        for (int i = 0; i < s.size(); ++i)
            EXPECT_EQ(Scramble(s)[i] & 0xf0, s[i] & 0xf0); // only the low four bits change
    }
}

TEST(IniFile, EveryValueReadsBackExactly)
{
    TTestEnv env;
    const QString file = env.home() + QStringLiteral("/t.ini");
    const QList<QByteArray> values = {"plain",
                                      " leading",
                                      "trailing ",
                                      ";semi#hash",
                                      "a=b=c",
                                      "back\\slash",
                                      "\"quoted\"",
                                      "tab\there",
                                      "line\r\nbreak",
                                      QByteArray("\x00\x01", 2),
                                      "",
                                      "中文"};
    {
        TIniFile ini(file);
        for (int i = 0; i < values.size(); ++i)
            ASSERT_TRUE(ini.WriteBytes(QStringLiteral("db"), QStringLiteral("k%1").arg(i), values[i]));
        ini.WriteBytes(QStringLiteral("Login"), QStringLiteral("LastLoginId"), "x");
    }
    TIniFile again(file);
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(again.ReadBytes(QStringLiteral("DB"), QStringLiteral("K%1").arg(i)), values[i]) << i;
    EXPECT_EQ(again.ReadString(QStringLiteral("login"), QStringLiteral("lastloginid")), QStringLiteral("x"));
    EXPECT_EQ(again.ReadInteger(QStringLiteral("db"), QStringLiteral("missing"), 1433), 1433);
}

TEST(Configer, SettingsRoundTripAndConnectionStrings)
{
    TTestEnv env;
    const QString ini = HomeFile(QStringLiteral("cfg.ini"));
    {
        // No cfg.ini: the single-file database with the default connection, created at once.
        TConfiger cfg;
        EXPECT_EQ(cfg.providerIdx, TConfiger::pvSqlite);
        EXPECT_TRUE(cfg.defaultCon);
        EXPECT_EQ(cfg.mssqlPort, 1433);
        QFile::remove(DefaultDatabaseFile());
        const QString conn = cfg.GetConnectionString();
        EXPECT_EQ(conn, TConfiger::SqliteTemplate(DefaultDatabaseFile()));
        EXPECT_TRUE(QFile::exists(DefaultDatabaseFile()));
        TDatabase db;
        EXPECT_TRUE(db.Connect(conn));
    }
    {
        TConfiger cfg;
        cfg.providerIdx = TConfiger::pvMsSql;
        cfg.mssqlServer = QStringLiteral("srv");
        cfg.mssqlPort = 1500;
        cfg.mssqlDb = QStringLiteral("czdb");
        cfg.mssqlUser = QStringLiteral("u");
        cfg.mssqlPw = QStringLiteral(" p;#\\=w ");
        cfg.jetfile = QStringLiteral("/数据/a;b.db");
        ASSERT_TRUE(cfg.SaveConfig());
    }
    {
        TConfiger cfg;
        EXPECT_EQ(cfg.mssqlPw, QStringLiteral(" p;#\\=w "));
        EXPECT_EQ(cfg.jetfile, QStringLiteral("/数据/a;b.db"));
        EXPECT_EQ(cfg.mssqlPort, 1500);
        const QString conn = cfg.GetConnectionString();
        EXPECT_TRUE(
            conn.startsWith(QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=u;")));
        EXPECT_TRUE(conn.contains(QStringLiteral("Data Source=srv,1500;")));
        // The stored connection string is used, not the fields in memory.
        cfg.mssqlUser = QStringLiteral("other");
        EXPECT_EQ(cfg.GetConnectionString(), conn);
        // Provider 1 with the default connection ignores ConnStr.
        cfg.providerIdx = TConfiger::pvSqlite;
        cfg.defaultCon = true;
        EXPECT_EQ(cfg.GetConnectionString(), TConfiger::SqliteTemplate(DefaultDatabaseFile()));
        cfg.providerIdx = TConfiger::pvDip;
        ASSERT_TRUE(cfg.SaveConfig());
        EXPECT_EQ(TIniFile(ini).ReadBytes(QStringLiteral("db"), QStringLiteral("ConnStr")), QByteArray());
        cfg.WriteLastLoginId(QStringLiteral("张三"));
        EXPECT_EQ(TConfiger().ReadLastLoginId(), QStringLiteral("张三"));
    }
}

TEST(Configer, DipReplies)
{
    EXPECT_EQ(
        TConfiger::DipReplyToConnectionString("h\n1433\nu\np\nd\n"),
        QStringLiteral(
            "Provider=SQLOLEDB.1;Data Source=h,1433;User ID=u;Password=p;Initial Catalog=d;Persist Security "
            "Info=True"));
    EXPECT_EQ(TConfiger::DipReplyToConnectionString("h\r\n1433\r\nu\r\np\r\nd"),
              TConfiger::DipReplyToConnectionString("h\n1433\nu\np\nd"));
    EXPECT_EQ(TConfiger::DipReplyToConnectionString("h\n1433\nu\np\n"), QString());
    EXPECT_EQ(TConfiger::DipReplyToConnectionString("h\n1433\nu\np\nd\nx\n"), QString());

    TTestEnv env;
    // A service on loopback answering five lines.
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QByteArray request;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        QTcpSocket* s = server.nextPendingConnection();
        QObject::connect(s, &QTcpSocket::readyRead, [s, &request] {
            request += s->readAll();
            if (!request.contains("\r\n\r\n"))
                return;
            const QByteArray body = "db.example\n1433\nsa\nsecret\nczpm\n";
            s->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) +
                     "\r\nConnection: close\r\n\r\n" + body);
            s->disconnectFromHost();
        });
    });
    TConfiger cfg;
    cfg.providerIdx = TConfiger::pvDip;
    cfg.dipUrl = QStringLiteral("http://127.0.0.1:%1/dip").arg(server.serverPort());
    cfg.dipUser = QStringLiteral("zhang");
    EXPECT_EQ(cfg.GetConnectionString(),
              TConfiger::DipReplyToConnectionString("db.example\n1433\nsa\nsecret\nczpm\n"));
    EXPECT_TRUE(request.startsWith("GET /dip?user=zhang HTTP/1.1")) << request.constData();
    server.close();
    EXPECT_EQ(cfg.GetConnectionString(), QString());
    EXPECT_EQ(env.messages().lastText(), QStringLiteral("\r\n无法获得DIP连接信息,请检查网络是否畅通.\t"));
}

TEST(Configer, ConnectLoopShowsDialogUntilConnectedOrCancelled)
{
    TTestEnv env;
    {
        TConfiger cfg;
        cfg.providerIdx = TConfiger::pvSqlite;
        cfg.defaultCon = false;
        cfg.jetfile = env.home() + QStringLiteral("/missing.db");
        cfg.SaveConfig();
    }
    delete gDatabase;
    gDatabase = new TDatabase;
    int shown = 0;
    EXPECT_FALSE(ConnectDatabase([&](TConfiger&) { return ++shown < 0; }));
    EXPECT_EQ(shown, 1);
    // The second showing switches to the default database, which then opens.
    shown = 0;
    EXPECT_TRUE(ConnectDatabase([&](TConfiger& cfg) {
        ++shown;
        cfg.defaultCon = true;
        return cfg.SaveConfig();
    }));
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(gDatabase->IsConnected());
}

TEST(DBConfigFrm, FieldsKeysAndBadPort)
{
    TTestEnv env;
    TConfiger cfg;
    TDBConfigFrm dlg(cfg);
    dlg.show();
    EXPECT_EQ(dlg.edtPort->text(), QStringLiteral("1433"));
    EXPECT_TRUE(dlg.chkDefault->isChecked());
    EXPECT_FALSE(dlg.edtJetFile->isEnabled());
    dlg.chkDefault->setChecked(false);
    EXPECT_TRUE(dlg.edtJetFile->isEnabled());
    dlg.cbProvider->setCurrentIndex(0);
    dlg.edtServer->setFocus();
    QTest::keyClick(dlg.edtServer, Qt::Key_Return);
    EXPECT_EQ(dlg.focusWidget(), dlg.edtDb);
    QTest::keyClick(dlg.edtDb, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(dlg.focusWidget(), dlg.edtServer);
    // A port that is not a number: a message, nothing written, the dialog still closes.
    dlg.edtPort->setText(QStringLiteral("14x3"));
    QTest::mouseClick(dlg.btnOk, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(QFile::exists(HomeFile(QStringLiteral("cfg.ini"))));
    EXPECT_TRUE(env.messages().lastText().contains(QStringLiteral("14x3")));
    dlg.edtPort->setText(QStringLiteral("1500"));
    QTest::mouseClick(dlg.btnOk, Qt::LeftButton);
    EXPECT_EQ(TConfiger().mssqlPort, 1500);
    EXPECT_EQ(TConfiger().providerIdx, TConfiger::pvMsSql);
}
