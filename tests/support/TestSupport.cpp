#include "TestSupport.h"

#include "data/Exceptions.h"
#include "data/RecordSet.h"
#include "data/Schema.h"
#include "shell/AppPaths.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

QStringList TScriptedMessages::texts() const
{
    QStringList out;
    for (const auto& m : messages)
        out << m.text;
    return out;
}

TMessageService::Answer TScriptedMessages::Message(const QString& text, const QString& caption, Icon icon,
                                                   Buttons buttons)
{
    messages.push_back({text, caption, icon, buttons});
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == Ok || buttons == OkCancel ? AnswerOk : AnswerYes;
}

bool TScriptedMessages::InputBox(const QString& caption, const QString& prompt, QString& value)
{
    messages.push_back({prompt, caption, Question, OkCancel});
    if (inputs.empty())
        return false;
    value = inputs.front();
    inputs.pop_front();
    return true;
}

static QString takeFile(std::deque<QString>& q)
{
    if (q.empty())
        return {};
    QString f = q.front();
    q.pop_front();
    return f;
}

QString TScriptedMessages::OpenFileName(const QString&, const QString&, const QString&)
{
    return takeFile(fileNames);
}

QString TScriptedMessages::SaveFileName(const QString&, const QString&, const QString&)
{
    return takeFile(fileNames);
}

QString TScriptedMessages::DirectoryName(const QString&, const QString&)
{
    return takeFile(fileNames);
}

bool TScriptedMessages::OpenUrl(const QString& fileOrUrl)
{
    openedUrls << fileOrUrl;
    return openUrlResult;
}

bool TScriptedMessages::StartProgram(const QString& program, const QStringList& args)
{
    startedPrograms << QString(program + QLatin1Char(' ') + args.join(QLatin1Char(' '))).trimmed();
    return true;
}

std::vector<TEngine> TestEngines()
{
    std::vector<TEngine> e{TEngine::Sqlite};
    if (!qEnvironmentVariableIsEmpty("CZ_TEST_PG"))
        e.push_back(TEngine::Postgres);
    return e;
}

std::string EngineName(const ::testing::TestParamInfo<TEngine>& info)
{
    switch (info.param) {
    case TEngine::Sqlite:
        return "SQLite";
    case TEngine::Postgres:
        return "PostgreSQL";
    case TEngine::MsSql:
        return "SqlServer";
    }
    return "Unknown";
}

namespace {

QString pgParam(const QString& conn, const QString& key)
{
    const qsizetype at = conn.indexOf(key + QLatin1Char('='));
    if (at < 0)
        return {};
    const qsizetype start = at + key.size() + 1;
    return conn.mid(start, conn.indexOf(QLatin1Char(';'), start) - start);
}

// Runs statements on the server's maintenance database.
void pgAdmin(const QStringList& statements)
{
    const QString conn = qEnvironmentVariable("CZ_TEST_PG");
    const QString name = QStringLiteral("cz_admin");
    {
        QSqlDatabase db = QSqlDatabase::contains(name)
                              ? QSqlDatabase::database(name)
                              : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        const QStringList hp = pgParam(conn, QStringLiteral("Data Source")).split(QLatin1Char(','));
        db.setHostName(hp.value(0));
        db.setPort(hp.value(1, QStringLiteral("5432")).toInt());
        db.setDatabaseName(pgParam(conn, QStringLiteral("Initial Catalog")));
        db.setUserName(pgParam(conn, QStringLiteral("User ID")));
        db.setPassword(pgParam(conn, QStringLiteral("Password")));
        if (!db.isOpen() && !db.open())
            throw EDatabaseError(db.lastError().text());
        for (const QString& s : statements) {
            QSqlQuery q(db);
            if (!q.exec(s))
                throw EDatabaseError(q.lastError().text() + QStringLiteral("\r\n") + s);
        }
    }
}

QString pgConnection(const QString& database)
{
    QString conn = qEnvironmentVariable("CZ_TEST_PG");
    return conn.replace(QStringLiteral("Initial Catalog=") + pgParam(conn, QStringLiteral("Initial Catalog")),
                        QStringLiteral("Initial Catalog=") + database);
}

// A database with the schema, made once per test program and copied for every test.
QString pgTemplate()
{
    static QString name;
    if (!name.isEmpty())
        return name;
    name = QStringLiteral("cz_tmpl_%1").arg(QCoreApplication::applicationPid());
    pgAdmin({QStringLiteral("drop database if exists %1").arg(name),
             QStringLiteral("create database %1").arg(name)});
    TDatabase db;
    if (!db.Connect(pgConnection(name)))
        throw EDatabaseError(QStringLiteral("无法连接测试数据库 ") + name);
    CreateSchema(db);
    db.SetConnected(false);
    return name;
}

} // namespace

TTestEnv::TTestEnv(TEngine engine) : m_engine(engine)
{
    auto scripted = std::make_unique<TScriptedMessages>();
    m_messages = scripted.get();
    m_previousMessages = SetMessageService(std::move(scripted));
    SetHomeDir(m_home.path());
    if (engine == TEngine::Sqlite) {
        const QString file = m_home.filePath(QStringLiteral("czpm.db"));
        CreateSqliteDatabase(file);
        m_connStr = QStringLiteral("Provider=SQLite;Data Source=%1;").arg(file);
    } else if (engine == TEngine::Postgres) {
        const QString tmpl = pgTemplate();
        m_pgDatabase = QStringLiteral("cz_t_%1").arg(QUuid::createUuid().toString(QUuid::Id128).left(16));
        pgAdmin({QStringLiteral("create database %1 template %2").arg(m_pgDatabase, tmpl)});
        m_connStr = pgConnection(m_pgDatabase);
    } else {
        throw EDatabaseError(QStringLiteral("没有配置 SQL Server 测试服务器"));
    }
    gDatabase = new TDatabase;
    if (!gDatabase->Connect(m_connStr))
        throw EDatabaseError(QStringLiteral("无法连接测试数据库: ") + m_messages->lastText());
    gRecordSet = new TRecordSet;
    m_messages->messages.clear();
}

TTestEnv::~TTestEnv()
{
    delete gRecordSet;
    gRecordSet = nullptr;
    delete gDatabase;
    gDatabase = nullptr;
    if (!m_pgDatabase.isEmpty()) {
        try {
            pgAdmin({QStringLiteral("drop database if exists %1").arg(m_pgDatabase)});
        } catch (const Exception&) {
        }
    }
    SetMessageService(std::move(m_previousMessages));
}
