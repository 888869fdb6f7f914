#include "PgBackup.h"

#include "Backup.h"
#include "SafeFile.h"

#include "data/Database.h"
#include "data/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace {

// The connection options every tool gets; -w: never wait for a password prompt.
QStringList connectionArgs()
{
    const QString source = gDatabase->GetDataSource().trimmed();
    QString host = source;
    QString port = QStringLiteral("5432");
    const qsizetype comma = source.indexOf(QLatin1Char(','));
    if (comma >= 0) {
        host = source.left(comma).trimmed();
        const QString p = source.mid(comma + 1).trimmed();
        if (p.toInt() > 0)
            port = p;
    }
    QStringList args{QStringLiteral("-w"), QStringLiteral("-h"), host, QStringLiteral("-p"), port};
    const QString user = gDatabase->ConnectionParam(QStringLiteral("User ID"));
    if (!user.isEmpty())
        args << QStringLiteral("-U") << user;
    return args;
}

QString databaseName()
{
    return gDatabase->ConnectionParam(QStringLiteral("Initial Catalog"));
}

struct TToolResult
{
    int exitCode = -1;
    QString output;
    QString errors;
};

TToolResult runTool(const QString& name, const QStringList& args)
{
    const QString program = TPgBackup::Tool(name);
    if (program.isEmpty())
        throw Exception(
            QStringLiteral("找不到 PostgreSQL 的客户端程序 %1,请安装 postgresql-client.").arg(name));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PGPASSWORD"), gDatabase->ConnectionParam(QStringLiteral("Password")));
    env.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("15"));
    env.insert(QStringLiteral("LC_MESSAGES"), QStringLiteral("C"));
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForStarted(30000))
        throw Exception(QStringLiteral("无法启动 %1: %2").arg(program, p.errorString()));
    p.closeWriteChannel();
    p.waitForFinished(-1);
    TToolResult r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.output = QString::fromUtf8(p.readAllStandardOutput());
    r.errors = QString::fromUtf8(p.readAllStandardError()).trimmed();
    return r;
}

} // namespace

QString TPgBackup::Tool(const QString& name)
{
    const QString found = QStandardPaths::findExecutable(name);
    if (!found.isEmpty())
        return found;
    QStringList versions =
        QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(),
              [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
    for (const QString& v : versions) {
        const QString path = QStringLiteral("/usr/lib/postgresql/%1/bin/%2").arg(v, name);
        if (QFileInfo(path).isExecutable())
            return path;
    }
    return {};
}

void TPgBackup::Dump(const QString& target)
{
    const QFileInfo ti(target);
    if (!QFileInfo(ti.absolutePath()).isDir())
        throw Exception(QStringLiteral("备份失败,目录不存在: ") + ti.absolutePath());
    std::unique_ptr<QTemporaryFile> tmp;
    try {
        tmp = SafeFile::ReserveBeside(target, QString());
    } catch (const Exception& e) {
        throw Exception(QStringLiteral("备份失败,不能写入备份文件:\r\n") + e.Message());
    }
    const TToolResult r =
        runTool(QStringLiteral("pg_dump"), connectionArgs()
                                               << QStringLiteral("-Fc") << QStringLiteral("-f")
                                               << tmp->fileName() << QStringLiteral("--") << databaseName());
    if (r.exitCode != 0)
        throw Exception(QStringLiteral("备份失败,pg_dump 提示如下:\r\n") + r.errors);
    try {
        SafeFile::SyncFile(tmp->fileName());
    } catch (const Exception& e) {
        throw Exception(QStringLiteral("备份失败:\r\n") + e.Message());
    }
    if (!SafeFile::RenameOver(tmp->fileName(), target))
        throw Exception(QStringLiteral("备份失败,不能写入备份文件:\r\n") + SafeFile::SystemError() +
                        QStringLiteral("\r\n") + target);
    tmp->setAutoRemove(false);
    SafeFile::SyncDir(ti.absolutePath());
}

void TPgBackup::CheckBackupFile(const QString& file)
{
    auto refuse = [&](const QString& why) {
        throw Exception(QStringLiteral("所选文件不是本系统的数据库备份,数据没有恢复:\r\n") + file +
                        (why.isEmpty() ? QString() : QStringLiteral("\r\n") + why));
    };
    if (!QFileInfo(file).isFile())
        refuse(QStringLiteral("文件不存在"));
    const TToolResult r = runTool(QStringLiteral("pg_restore"), {QStringLiteral("-l"), file});
    if (r.exitCode != 0)
        refuse(r.errors);
    // Table entries of the archive's contents: "215; 1259 16390 TABLE public materials owner".
    static const QRegularExpression entry(QStringLiteral("^\\d+; \\d+ \\d+ TABLE \\S+ (\\S+) "),
                                          QRegularExpression::MultilineOption);
    QStringList tables;
    for (auto it = entry.globalMatch(r.output); it.hasNext();)
        tables << it.next().captured(1).toLower();
    QStringList missing;
    for (const QString& t : ProgramTables())
        if (!tables.contains(t))
            missing << t;
    if (!missing.isEmpty())
        refuse(QStringLiteral("缺少数据表: ") + missing.join(QStringLiteral(", ")));
}

void TPgBackup::Restore(const QString& file)
{
    // The program's connection holds no lock while the tool drops and recreates the tables.
    gDatabase->SetConnected(false);
    TToolResult r;
    try {
        r = runTool(QStringLiteral("pg_restore"),
                    connectionArgs() << QStringLiteral("--clean") << QStringLiteral("--if-exists")
                                     << QStringLiteral("--single-transaction")
                                     << QStringLiteral("--exit-on-error") << QStringLiteral("--no-owner")
                                     << QStringLiteral("--no-privileges") << QStringLiteral("-d")
                                     << databaseName() << file);
    } catch (const Exception&) {
        gDatabase->SetConnected(true);
        throw;
    }
    gDatabase->SetConnected(true);
    if (r.exitCode != 0)
        throw Exception(QStringLiteral("恢复失败,当前数据没有改变. pg_restore 提示如下:\r\n") + r.errors);
}
