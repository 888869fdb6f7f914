#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

// Backup and restore of the whole database, on demand and automatically when the program
// closes, and the backup plan stored in the one row of table [backup].

// The backup plans, as stored in [backup].TypeId.
enum TBackupPlan { bpNone = 0, bpEveryExit = 1, bpMondays = 2, bpFirstOfMonth = 3 };

// The row of [backup]; Found is false when the database lacks it.
struct RBackupSettings
{
    int TypeId = bpNone;
    QString BackDir;
    bool Found = false;
};

// The tables every database of this program has; a backup without them is refused.
QStringList ProgramTables();

// The clock of the backup functions: "today" of the automatic backup and the time in the
// name of the copy taken before a restore. Tests fix it; an empty function restores the
// system clock.
void SetBackupClock(std::function<QDateTime()> clock);
QDateTime BackupClockNow();

RBackupSettings ReadBackupSettings();
// Stores the plan and the directory (closed by a separator, see BackupDirWithSeparator).
// Inserts the row when the database lacks it, so that a saved plan is never silently lost.
void WriteBackupSettings(int typeId, const QString& dir);
// The directory text as stored: closed by "\" when it is written with "\" only (a path on a
// Windows database server), else by "/"; an empty text stays empty.
QString BackupDirWithSeparator(const QString& dir);
// bakYYYYMMDD.bak in the backup directory; an empty directory means the home directory.
QString AutoBackupFileName(const QString& backDir, const QDate& today);
// Whether the plan asks for a backup at an exit on that day.
bool AutoBackupDue(int typeId, const QDate& today);

// One backup into file. On the single-file database a consistent copy of the last committed
// state is written next to the target and then put in its place, so a failed backup never
// spoils an older file of that name; a failure shows "备份时,复制文件失败,..." and gives false.
// PostgreSQL runs pg_dump (custom format), SQL Server its BACKUP statement; their failures
// raise an Exception with the tool's or server's message.
bool BackupDatabase(const QString& file);

// One restore from file. The file must be a sound backup of a database of this program,
// else nothing changes and an Exception says so. The current data are first saved as a
// backup named for the time (returned), so that a mistaken restore can be undone; then the
// data are replaced in one step. Any failure leaves the current database as it was, open,
// and raises an Exception ("恢复时,复制文件失败,请检查数据文件是否正在使用." on the
// single-file database).
QString RestoreDatabase(const QString& file);

// The automatic backup of the close sequence: reads the plan, backs up when it is due and
// shows any error with ShowInfo; it never raises, so closing continues.
void AutoBackup();
