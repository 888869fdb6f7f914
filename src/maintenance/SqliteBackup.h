#pragma once

#include <QString>

// File work of the single-file database's backup and restore. Every copy is made by SQLite
// itself (VACUUM INTO) through a separate read-only connection: it holds exactly the last
// committed state, even while the program's connection is inside a transaction (a VACUUM on
// that connection would be refused there), and it is complete even when the source keeps
// part of its data in a write-ahead log beside it.
class TSqliteBackup
{
public:
    // Writes a consistent copy of database into target, replacing target only once the copy
    // is complete and on disk. Throws EDatabaseError with SQLite's or the file system's message.
    static void Copy(const QString& database, const QString& target);

    // Throws Exception with the refusal message unless file is a sound SQLite database that
    // holds the tables of this program.
    static void CheckBackupFile(const QString& file);

    // Restores backup into the program's open database file: stages a complete copy beside
    // the database, closes gDatabase, moves the old file aside, moves the copy in and reopens
    // gDatabase; any failure moves the old file back and reopens it. Throws on failure.
    static void Restore(const QString& backup);
};
