#include "MsSqlBackup.h"

#include "data/DataSet.h"
#include "data/Database.h"
#include "data/Exceptions.h"

QString TMsSqlBackup::QuoteName(const QString& name)
{
    return QLatin1Char('[') + QString(name).replace(QLatin1Char(']'), QStringLiteral("]]")) +
           QLatin1Char(']');
}

QString TMsSqlBackup::QuoteText(const QString& text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

QString TMsSqlBackup::BackupStatement(const QString& database, const QString& file)
{
    return QStringLiteral("backup database %1 to disk=%2 WITH FORMAT")
        .arg(QuoteName(database), QuoteText(file));
}

QString TMsSqlBackup::RestoreStatement(const QString& database, const QString& file)
{
    return QStringLiteral("restore database %1 from disk=%2").arg(QuoteName(database), QuoteText(file));
}

QString TMsSqlBackup::VerifyStatement(const QString& file)
{
    return QStringLiteral("restore verifyonly from disk=%1").arg(QuoteText(file));
}

QString TMsSqlBackup::CurrentDatabase()
{
    TDataSet ds;
    gDatabase->OpenQuery(ds, QStringLiteral("select db_name()"));
    const QString name = ds.IsEmpty() ? QString() : ds.Fields(0)->AsString();
    return name.isEmpty() ? gDatabase->ConnectionParam(QStringLiteral("Initial Catalog")) : name;
}

void TMsSqlBackup::Backup(const QString& file)
{
    gDatabase->Execute(BackupStatement(CurrentDatabase(), file));
}

void TMsSqlBackup::CheckBackupFile(const QString& file)
{
    try {
        gDatabase->Execute(VerifyStatement(file));
    } catch (const EDatabaseError& e) {
        throw Exception(QStringLiteral("所选文件不是本系统的数据库备份,数据没有恢复:\r\n") + file +
                        QStringLiteral("\r\n") + e.Message());
    }
}

void TMsSqlBackup::Restore(const QString& file)
{
    const QString database = CurrentDatabase();
    gDatabase->Execute(QStringLiteral("use Master"));
    try {
        gDatabase->Execute(RestoreStatement(database, file));
    } catch (const Exception&) {
        gDatabase->Execute(QStringLiteral("use ") + QuoteName(database));
        throw;
    }
    gDatabase->Execute(QStringLiteral("use ") + QuoteName(database));
}
