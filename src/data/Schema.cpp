#include "Schema.h"

#include "Database.h"
#include "Exceptions.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

QStringList SchemaStatements(TEngine engine)
{
    const QString name = engine == TEngine::Sqlite     ? QStringLiteral(":/schema/sqlite.sql")
                         : engine == TEngine::Postgres ? QStringLiteral(":/schema/postgresql.sql")
                                                       : QStringLiteral(":/schema/mssql.sql");
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("找不到数据库结构文件 %1").arg(name));
    const QString text = QString::fromUtf8(f.readAll());
    static const QRegularExpression go(QStringLiteral("^[ \\t]*GO[ \\t]*\\r?$"),
                                       QRegularExpression::MultilineOption);
    QStringList out;
    for (const QString& part : text.split(go)) {
        const QString s = part.trimmed();
        // A block of comments alone is no statement.
        bool onlyComments = true;
        for (const QString& line : s.split(QLatin1Char('\n')))
            if (!line.trimmed().isEmpty() && !line.trimmed().startsWith(QLatin1String("--")))
                onlyComments = false;
        if (!onlyComments)
            out << s;
    }
    return out;
}

void CreateSchema(TDatabase& db)
{
    const QStringList statements = SchemaStatements(db.Engine());
    TTransaction tr(db);
    auto& conn = db.Connection();
    for (const QString& s : statements) {
        // Schema text is run as it stands: it may contain ':' and '[' that are not parameters.
        QSqlQuery q(conn);
        if (!q.exec(s))
            throw EDatabaseError(q.lastError().text() + QStringLiteral("\r\n") + s);
    }
    tr.Commit();
}

void CreateSqliteDatabase(const QString& path)
{
    const QString tmp = path + QStringLiteral(".creating");
    QFile::remove(tmp);
    sqlite3* h = nullptr;
    auto fail = [&](const QString& msg) {
        if (h)
            sqlite3_close(h);
        QFile::remove(tmp);
        throw EDatabaseError(QStringLiteral("创建数据库文件 %1 失败: %2").arg(path, msg));
    };
    if (sqlite3_open_v2(QFile::encodeName(tmp).constData(), &h, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        fail(QString::fromUtf8(sqlite3_errmsg(h)));
    QString script = QStringLiteral("begin;\n");
    for (const QString& s : SchemaStatements(TEngine::Sqlite))
        script += s + QStringLiteral(";\n");
    script += QStringLiteral("commit;\n");
    char* err = nullptr;
    if (sqlite3_exec(h, script.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : "");
        sqlite3_free(err);
        fail(msg);
    }
    sqlite3_close(h);
    h = nullptr;
    if (QFile::exists(path) || !QFile::rename(tmp, path))
        fail(QStringLiteral("文件已存在或无法改名"));
}
