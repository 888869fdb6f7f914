#pragma once

#include <QString>
#include <QStringList>

// Backup and restore of a PostgreSQL database with the server's own client tools: pg_dump
// writes a custom-format archive from a snapshot of its own (so it holds exactly the
// committed data, whatever the program's connection is doing), pg_restore puts one back in a
// single transaction (so a restore that fails part-way changes nothing). The tools reach the
// server with the host, port, user and database of gDatabase's connection; the password
// travels in the environment, never on a command line.
class TPgBackup
{
public:
    // Writes the archive into target, replacing target only once it is complete. Throws
    // Exception with the tool's message.
    static void Dump(const QString& target);
    // Throws Exception with the refusal message unless file is an archive holding the tables
    // of this program.
    static void CheckBackupFile(const QString& file);
    // Replaces the database's objects and data by those of the archive, all or nothing;
    // reconnects gDatabase afterwards. Throws Exception with the tool's message.
    static void Restore(const QString& file);
    // The path of a PostgreSQL client program (PATH first, then the installed versions).
    static QString Tool(const QString& name);
};
