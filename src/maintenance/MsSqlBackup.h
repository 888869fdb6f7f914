#pragma once

#include <QString>

// Backup and restore on SQL Server with the server's BACKUP and RESTORE statements; the
// files are on the database server's machine. Names and paths are quoted, so a database
// name or a path with a bracket or a quote cannot break or extend the statement.
class TMsSqlBackup
{
public:
    // [name], with "]" doubled.
    static QString QuoteName(const QString& name);
    // 'text', with "'" doubled.
    static QString QuoteText(const QString& text);
    static QString BackupStatement(const QString& database, const QString& file);
    static QString RestoreStatement(const QString& database, const QString& file);
    static QString VerifyStatement(const QString& file);

    // The current database of the connection.
    static QString CurrentDatabase();
    static void Backup(const QString& file);
    // Throws Exception with the refusal message unless the server can read file as a backup.
    static void CheckBackupFile(const QString& file);
    // Switches to master, restores, and switches back, also when the restore fails.
    static void Restore(const QString& file);
};
