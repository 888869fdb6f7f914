#include "Backup.h"

#include "MsSqlBackup.h"
#include "PgBackup.h"
#include "SqliteBackup.h"

#include "data/Database.h"
#include "data/Exceptions.h"
#include "data/RecordSet.h"
#include "data/qdLib.h"
#include "shell/AppPaths.h"

#include <QFileInfo>

namespace {

std::function<QDateTime()>& clockFunction()
{
    static std::function<QDateTime()> clock;
    return clock;
}

// The directory of a file named as the database server sees it (a Windows path on SQL Server).
QString directoryOf(const QString& file)
{
    if (gDatabase->IsMsSql()) {
        const qsizetype cut =
            std::max(file.lastIndexOf(QLatin1Char('\\')), file.lastIndexOf(QLatin1Char('/')));
        return cut < 0 ? QString() : file.left(cut + 1);
    }
    return QFileInfo(file).absolutePath();
}

// Where the current data go before a restore replaces them: the backup directory of the
// plan when it is set, else beside the file being restored; named for the time.
QString undoFileName(const QString& restoredFile)
{
    QString dir;
    try {
        dir = ReadBackupSettings().BackDir;
    } catch (const Exception&) {
    }
    if (dir.isEmpty() || (!gDatabase->IsMsSql() && !QFileInfo(dir).isDir()))
        dir = directoryOf(restoredFile);
    dir = BackupDirWithSeparator(dir);
    const QString stem =
        dir + QStringLiteral("bak") + BackupClockNow().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString name = stem + QStringLiteral(".bak");
    for (int n = 2; !gDatabase->IsMsSql() && QFileInfo::exists(name); ++n)
        name = stem + QStringLiteral("-%1.bak").arg(n);
    return name;
}

} // namespace

QStringList ProgramTables()
{
    return {QStringLiteral("operator"),    QStringLiteral("keyvalue"),     QStringLiteral("materials"),
            QStringLiteral("products"),    QStringLiteral("productbom"),   QStringLiteral("touchans"),
            QStringLiteral("materialsin"), QStringLiteral("materialsout"), QStringLiteral("productsin"),
            QStringLiteral("backup"),      QStringLiteral("upgrade")};
}

void SetBackupClock(std::function<QDateTime()> clock)
{
    clockFunction() = std::move(clock);
}

QDateTime BackupClockNow()
{
    return clockFunction() ? clockFunction()() : QDateTime::currentDateTime();
}

RBackupSettings ReadBackupSettings()
{
    TRecordSet rs;
    rs.OpenSql(QStringLiteral("select * from [backup]"));
    RBackupSettings s;
    TDataSet* ds = rs.DataSet();
    if (!ds->IsEmpty()) {
        s.Found = true;
        s.TypeId = ds->FieldByName(QStringLiteral("TypeId"))->AsInteger();
        s.BackDir = ds->FieldByName(QStringLiteral("BackDir"))->AsString();
    }
    return s;
}

void WriteBackupSettings(int typeId, const QString& dir)
{
    if (typeId < bpNone || typeId > bpFirstOfMonth)
        throw Exception(QStringLiteral("无效的备份计划: %1").arg(typeId));
    const TDBParameters params{DBParam(QStringLiteral("TypeId"), typeId),
                               DBParam(QStringLiteral("BackDir"), BackupDirWithSeparator(dir))};
    TTransaction tr(*gDatabase);
    if (gDatabase->ExecSql(QStringLiteral("update [backup] set TypeId=:TypeId, BackDir=:BackDir"), params) ==
        0)
        gDatabase->ExecSql(
            QStringLiteral("insert into [backup] (TypeId, BackDir) values (:TypeId, :BackDir)"), params);
    tr.Commit();
}

QString BackupDirWithSeparator(const QString& dir)
{
    const QString d = dir.trimmed();
    if (d.isEmpty() || d.endsWith(QLatin1Char('/')) || d.endsWith(QLatin1Char('\\')))
        return d;
    const bool windowsPath = d.contains(QLatin1Char('\\')) && !d.contains(QLatin1Char('/'));
    return d + (windowsPath ? QLatin1Char('\\') : QLatin1Char('/'));
}

QString AutoBackupFileName(const QString& backDir, const QDate& today)
{
    const QString dir = BackupDirWithSeparator(backDir.trimmed().isEmpty() ? HomeDir() : backDir);
    return dir + QStringLiteral("bak") + today.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".bak");
}

bool AutoBackupDue(int typeId, const QDate& today)
{
    switch (typeId) {
    case bpEveryExit:
        return true;
    case bpMondays:
        return today.dayOfWeek() == Qt::Monday;
    case bpFirstOfMonth:
        return today.day() == 1;
    default:
        return false;
    }
}

bool BackupDatabase(const QString& file)
{
    switch (gDatabase->Engine()) {
    case TEngine::Sqlite:
        try {
            if (file.trimmed().isEmpty())
                throw Exception(QStringLiteral("没有指定备份文件"));
            TSqliteBackup::Copy(gDatabase->GetDataSource(), file);
        } catch (const Exception& e) {
            qWarning("backup to %s failed: %s", qUtf8Printable(file), e.what());
            ShowInfo(QStringLiteral("备份时,复制文件失败,请检查备份路径是否正确,或者目标文件已存在."));
            return false;
        }
        return true;
    case TEngine::Postgres:
        TPgBackup::Dump(file);
        return true;
    case TEngine::MsSql:
        TMsSqlBackup::Backup(file);
        return true;
    }
    return false;
}

QString RestoreDatabase(const QString& file)
{
    if (gDatabase->InTransaction())
        throw Exception(QStringLiteral("有未完成的数据操作,现在不能恢复数据."));
    const TEngine engine = gDatabase->Engine();
    switch (engine) {
    case TEngine::Sqlite:
        TSqliteBackup::CheckBackupFile(file);
        break;
    case TEngine::Postgres:
        TPgBackup::CheckBackupFile(file);
        break;
    case TEngine::MsSql:
        TMsSqlBackup::CheckBackupFile(file);
        break;
    }

    const QString undo = undoFileName(file);
    try {
        switch (engine) {
        case TEngine::Sqlite:
            TSqliteBackup::Copy(gDatabase->GetDataSource(), undo);
            break;
        case TEngine::Postgres:
            TPgBackup::Dump(undo);
            break;
        case TEngine::MsSql:
            TMsSqlBackup::Backup(undo);
            break;
        }
    } catch (const Exception& e) {
        throw Exception(QStringLiteral("恢复前不能保存当前的数据,数据没有恢复:\r\n") + undo +
                        QStringLiteral("\r\n") + e.Message());
    }

    switch (engine) {
    case TEngine::Sqlite:
        TSqliteBackup::Restore(file);
        break;
    case TEngine::Postgres:
        TPgBackup::Restore(file);
        break;
    case TEngine::MsSql:
        TMsSqlBackup::Restore(file);
        break;
    }
    return undo;
}

void AutoBackup()
{
    try {
        const RBackupSettings s = ReadBackupSettings();
        const QDate today = BackupClockNow().date();
        if (!s.Found || !AutoBackupDue(s.TypeId, today))
            return;
        BackupDatabase(AutoBackupFileName(s.BackDir, today));
    } catch (const EAbort&) {
    } catch (const Exception& e) {
        ShowInfo(e.Message());
    } catch (const std::exception& e) {
        ShowInfo(QString::fromLocal8Bit(e.what()));
    }
}
