#include "SqliteBackup.h"

#include "Backup.h"
#include "SafeFile.h"

#include "data/Database.h"
#include "data/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <memory>

namespace {

const char* const kRestoreFailed = "恢复时,复制文件失败,请检查数据文件是否正在使用.";

// A connection of its own to an existing database file, used for reading only. Copies need
// a read-write connection: SQLite 3.40 cannot VACUUM INTO from a read-only connection a table
// with generated columns (materialsout has one).
class TSqliteReader
{
public:
    enum TMode { ReadOnly, ForCopy };
    explicit TSqliteReader(const QString& file, TMode mode = ReadOnly)
    {
        const QByteArray path = QFile::encodeName(file);
        const int flags = mode == ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
        if (sqlite3_open_v2(path.constData(), &m_db, flags, nullptr) != SQLITE_OK) {
            const QString msg = message();
            sqlite3_close(m_db);
            m_db = nullptr;
            throw EDatabaseError(msg);
        }
        sqlite3_busy_timeout(m_db, 5000);
    }
    ~TSqliteReader() { sqlite3_close(m_db); }
    TSqliteReader(const TSqliteReader&) = delete;
    TSqliteReader& operator=(const TSqliteReader&) = delete;

    // Runs sql with one optional text parameter and returns the first column of every row.
    QStringList Run(const char* sql, const QString& param = QString())
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &st, nullptr) != SQLITE_OK)
            throw EDatabaseError(message() + QStringLiteral("\r\n") + QString::fromUtf8(sql));
        const QByteArray text = param.toUtf8();
        if (!param.isNull())
            sqlite3_bind_text(st, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        QStringList out;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            throw EDatabaseError(message() + QStringLiteral("\r\n") + QString::fromUtf8(sql));
        return out;
    }

    // VACUUM INTO needs an empty or missing target; the copy is one consistent snapshot.
    void CopyInto(const QString& target) { Run("vacuum into ?1", target); }

private:
    QString message() const
    {
        return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
    }
    sqlite3* m_db = nullptr;
};

} // namespace

void TSqliteBackup::Copy(const QString& database, const QString& target)
{
    const QFileInfo ti(target);
    if (!QFileInfo(ti.absolutePath()).isDir())
        throw EDatabaseError(QStringLiteral("目录不存在: ") + ti.absolutePath());
    auto tmp = SafeFile::ReserveBeside(target, QString());
    TSqliteReader(database, TSqliteReader::ForCopy).CopyInto(tmp->fileName());
    QFile::setPermissions(tmp->fileName(), QFile::permissions(database));
    SafeFile::SyncFile(tmp->fileName());
    if (!SafeFile::RenameOver(tmp->fileName(), target))
        throw EDatabaseError(SafeFile::SystemError() + QStringLiteral("\r\n") + target);
    tmp->setAutoRemove(false);
    SafeFile::SyncDir(ti.absolutePath());
}

void TSqliteBackup::CheckBackupFile(const QString& file)
{
    auto refuse = [&](const QString& why) {
        throw Exception(QStringLiteral("所选文件不是本系统的数据库备份,数据没有恢复:\r\n") + file +
                        (why.isEmpty() ? QString() : QStringLiteral("\r\n") + why));
    };
    if (!QFileInfo(file).isFile())
        refuse(QStringLiteral("文件不存在"));
    try {
        TSqliteReader r(file);
        const QStringList check = r.Run("pragma quick_check");
        if (check != QStringList{QStringLiteral("ok")})
            refuse(QStringLiteral("文件已损坏: ") + check.join(QStringLiteral("; ")));
        const QStringList tables = r.Run("select lower(name) from sqlite_master where type='table'");
        QStringList missing;
        for (const QString& t : ProgramTables())
            if (!tables.contains(t))
                missing << t;
        if (!missing.isEmpty())
            refuse(QStringLiteral("缺少数据表: ") + missing.join(QStringLiteral(", ")));
    } catch (const EDatabaseError& e) {
        refuse(e.Message());
    }
}

void TSqliteBackup::Restore(const QString& backup)
{
    const QString dbFile = QFileInfo(gDatabase->GetDataSource()).absoluteFilePath();
    const QString failed = QString::fromUtf8(kRestoreFailed);
    // The complete new file is made beside the database before anything is touched.
    std::unique_ptr<QTemporaryFile> staged;
    try {
        staged = SafeFile::ReserveBeside(dbFile, QStringLiteral(".restore"));
        try {
            TSqliteReader(backup, TSqliteReader::ForCopy).CopyInto(staged->fileName());
        } catch (const EDatabaseError&) {
            // A backup on a medium that cannot be opened for writing: its bytes are copied
            // as they are (a backup file is complete in itself) and checked again below.
            QFile::remove(staged->fileName());
            if (!QFile::copy(backup, staged->fileName()))
                throw EDatabaseError(QStringLiteral("不能复制备份文件 ") + backup);
        }
        CheckBackupFile(staged->fileName());
        QFile::setPermissions(staged->fileName(), QFile::permissions(dbFile));
        SafeFile::SyncFile(staged->fileName());
    } catch (const Exception& e) {
        throw Exception(failed + QStringLiteral("\r\n") + e.Message());
    }

    gDatabase->SetConnected(false);
    auto reopen = [] {
        try {
            gDatabase->SetConnected(true);
        } catch (const Exception&) {
        }
    };
    // With the program's connection closed, a log or journal left beside the file means
    // another connection still has the database open: replacing it now would corrupt it.
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        if (QFileInfo::exists(dbFile + QLatin1String(suffix))) {
            reopen();
            throw Exception(failed);
        }
    std::unique_ptr<QTemporaryFile> aside;
    try {
        aside = SafeFile::ReserveBeside(dbFile, QStringLiteral(".replaced"));
    } catch (const Exception&) {
        reopen();
        throw Exception(failed);
    }
    if (!SafeFile::RenameOver(dbFile, aside->fileName())) {
        reopen();
        throw Exception(failed);
    }
    if (!SafeFile::RenameOver(staged->fileName(), dbFile)) {
        SafeFile::RenameOver(aside->fileName(), dbFile);
        aside->setAutoRemove(false);
        reopen();
        throw Exception(failed);
    }
    staged->setAutoRemove(false);
    try {
        gDatabase->SetConnected(true);
    } catch (const Exception& e) {
        QFile::remove(dbFile);
        SafeFile::RenameOver(aside->fileName(), dbFile);
        aside->setAutoRemove(false);
        reopen();
        throw Exception(failed + QStringLiteral("\r\n") + e.Message());
    }
    // aside is removed with its object: the old data are in the copy taken before.
    SafeFile::SyncDir(QFileInfo(dbFile).absolutePath());
}
