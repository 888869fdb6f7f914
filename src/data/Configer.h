#pragma once

#include "IniFile.h"

#include <QString>

#include <functional>

// XORs each byte with the key "tornibusax" (low four bits only); applying it twice returns
// the input, so it both scrambles and unscrambles the values kept in cfg.ini.
QByteArray Scramble(const QByteArray& text);
QString Scramble(const QString& text);

// The connection settings of cfg.ini in the home directory, and the connection string
// built from them.
class TConfiger
{
public:
    enum Provider { pvMsSql = 0, pvSqlite = 1, pvDip = 2, pvPostgres = 3 };

    TConfiger();
    explicit TConfiger(const QString& iniFile);

    QString mssqlServer, mssqlDb, mssqlUser, mssqlPw;
    int mssqlPort = 1433;
    bool smartConnect = false;
    QString jetfile, jetUser, jetPw;
    QString dipUrl, dipUser;
    QString pgServer, pgDb, pgUser, pgPw;
    int pgPort = 5432;
    // A fresh install has no cfg.ini and opens the single-file database at once.
    int providerIdx = pvSqlite;
    bool defaultCon = true;
    bool developer = false;

    // Writes the settings and the scrambled connection string. False when cfg.ini could not be written.
    bool SaveConfig();
    QString GetConnectionString();
    // Builds the connection string for the settings in memory (what SaveConfig stores).
    QString BuildConnectionString() const;
    // Host and port travel in the connection data on this platform, so no alias is recorded.
    void SetServerAlias(const QString& server, const QString& port, bool remove);

    QString ReadLastLoginId() const;
    void WriteLastLoginId(const QString& loginId);
    QString FileName() const { return m_ini.FileName(); }

    // The DIP request: GET dipUrl?user=dipUser; five lines make a SQL Server connection string.
    QString DipConnectionString();
    static QString DipReplyToConnectionString(const QByteArray& body);

    static QString SqlServerTemplate(const QString& user, const QString& pw, const QString& db,
                                     const QString& server);
    static QString SqliteTemplate(const QString& file);
    static QString PostgresTemplate(const QString& user, const QString& pw, const QString& db,
                                    const QString& server);

private:
    void load();
    TIniFile m_ini;
};

// The start-up connection loop: tries the configured connection and, while it fails, runs
// showDialog (the configuration dialog; true when closed with OK). Returns the connection state.
bool ConnectDatabase(const std::function<bool(TConfiger&)>& showDialog);
