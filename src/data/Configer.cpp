#include "Configer.h"

#include "Database.h"
#include "Exceptions.h"
#include "Schema.h"
#include "qdLib.h"
#include "shell/AppPaths.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QHostInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>

namespace {
const QString kDb = QStringLiteral("db");
const QString kLogin = QStringLiteral("Login");
const QString kPublish = QStringLiteral("publish");
} // namespace

QByteArray Scramble(const QByteArray& text)
{
    static const QByteArray key = "tornibusax";
    QByteArray out = text;
    const qsizetype k = key.size();
    for (qsizetype i = 1; i <= out.size(); ++i)
        out[i - 1] = char(out[i - 1] ^ char(key[(i % k)] % 10));
    return out;
}

QString Scramble(const QString& text)
{
    return QString::fromUtf8(Scramble(text.toUtf8()));
}

TConfiger::TConfiger() : TConfiger(HomeFile(QStringLiteral("cfg.ini"))) {}

TConfiger::TConfiger(const QString& iniFile) : m_ini(iniFile)
{
    load();
}

void TConfiger::load()
{
    auto plain = [this](const QString& key) {
        return QString::fromUtf8(Scramble(m_ini.ReadBytes(kDb, key)));
    };
    mssqlServer = m_ini.ReadString(kDb, QStringLiteral("mssqlServer"));
    mssqlPort = m_ini.ReadInteger(kDb, QStringLiteral("mssqlPort"), 1433);
    mssqlDb = m_ini.ReadString(kDb, QStringLiteral("mssqlDb"));
    mssqlUser = m_ini.ReadString(kDb, QStringLiteral("mssqlUser"));
    mssqlPw = plain(QStringLiteral("mssqlPw"));
    jetfile = plain(QStringLiteral("jetfile"));
    jetUser = m_ini.ReadString(kDb, QStringLiteral("jetUser"));
    jetPw = plain(QStringLiteral("jetPw"));
    dipUrl = m_ini.ReadString(kDb, QStringLiteral("dipUrl"));
    dipUser = m_ini.ReadString(kDb, QStringLiteral("dipUser"));
    pgServer = m_ini.ReadString(kDb, QStringLiteral("pgServer"));
    pgPort = m_ini.ReadInteger(kDb, QStringLiteral("pgPort"), 5432);
    pgDb = m_ini.ReadString(kDb, QStringLiteral("pgDb"));
    pgUser = m_ini.ReadString(kDb, QStringLiteral("pgUser"));
    pgPw = plain(QStringLiteral("pgPw"));
    providerIdx = m_ini.ReadInteger(kDb, QStringLiteral("providerIdx"), pvSqlite);
    defaultCon = m_ini.ReadBool(kDb, QStringLiteral("defaultCon"), true);
    developer = m_ini.ReadBool(kPublish, QStringLiteral("developer"), false);
}

QString TConfiger::SqlServerTemplate(const QString& user, const QString& pw, const QString& db,
                                     const QString& server)
{
    QString host = QHostInfo::localHostName();
    if (host.isEmpty())
        host = QStringLiteral("CZPM");
    return QStringLiteral(
               "Provider=SQLOLEDB.1;Persist Security Info=False;User ID=%1;Password=%2;Initial Catalog=%3;"
               "Data Source=%4;Use Procedure for Prepare=1;Auto Translate=True;Packet Size=4096;"
               "Workstation ID=%5;Use Encryption for Data=False;Tag with column collation when "
               "possible=False")
        .arg(user, pw, db, server, host);
}

QString TConfiger::SqliteTemplate(const QString& file)
{
    return QStringLiteral("Provider=SQLite;Data Source=%1;Persist Security Info=True").arg(file);
}

QString TConfiger::PostgresTemplate(const QString& user, const QString& pw, const QString& db,
                                    const QString& server)
{
    return QStringLiteral("Provider=PostgreSQL;User ID=%1;Password=%2;Initial Catalog=%3;Data Source=%4;")
        .arg(user, pw, db, server);
}

QString TConfiger::BuildConnectionString() const
{
    switch (providerIdx) {
    case pvMsSql:
        return SqlServerTemplate(mssqlUser, mssqlPw, mssqlDb,
                                 mssqlPort > 0 && mssqlPort != 1433 &&
                                         !mssqlServer.contains(QLatin1Char('\\'))
                                     ? QStringLiteral("%1,%2").arg(mssqlServer).arg(mssqlPort)
                                     : mssqlServer);
    case pvSqlite:
        return SqliteTemplate(jetfile);
    case pvPostgres:
        return PostgresTemplate(pgUser, pgPw, pgDb, QStringLiteral("%1,%2").arg(pgServer).arg(pgPort));
    default:
        return {};
    }
}

bool TConfiger::SaveConfig()
{
    m_ini.BeginUpdate();
    m_ini.WriteString(kDb, QStringLiteral("mssqlServer"), mssqlServer);
    m_ini.WriteInteger(kDb, QStringLiteral("mssqlPort"), mssqlPort);
    m_ini.WriteString(kDb, QStringLiteral("mssqlDb"), mssqlDb);
    m_ini.WriteString(kDb, QStringLiteral("mssqlUser"), mssqlUser);
    m_ini.WriteBytes(kDb, QStringLiteral("mssqlPw"), Scramble(mssqlPw.toUtf8()));
    m_ini.WriteBytes(kDb, QStringLiteral("jetfile"), Scramble(jetfile.toUtf8()));
    m_ini.WriteString(kDb, QStringLiteral("jetUser"), jetUser);
    m_ini.WriteBytes(kDb, QStringLiteral("jetPw"), Scramble(jetPw.toUtf8()));
    m_ini.WriteString(kDb, QStringLiteral("dipUrl"), dipUrl);
    m_ini.WriteString(kDb, QStringLiteral("dipUser"), dipUser);
    m_ini.WriteString(kDb, QStringLiteral("pgServer"), pgServer);
    m_ini.WriteInteger(kDb, QStringLiteral("pgPort"), pgPort);
    m_ini.WriteString(kDb, QStringLiteral("pgDb"), pgDb);
    m_ini.WriteString(kDb, QStringLiteral("pgUser"), pgUser);
    m_ini.WriteBytes(kDb, QStringLiteral("pgPw"), Scramble(pgPw.toUtf8()));
    m_ini.WriteInteger(kDb, QStringLiteral("providerIdx"), providerIdx);
    m_ini.WriteBool(kDb, QStringLiteral("defaultCon"), defaultCon);
    if (providerIdx == pvMsSql)
        SetServerAlias(mssqlServer, QString::number(mssqlPort), smartConnect);
    m_ini.WriteBytes(kDb, QStringLiteral("ConnStr"), Scramble(BuildConnectionString().toUtf8()));
    return m_ini.EndUpdate();
}

QString TConfiger::GetConnectionString()
{
    if (providerIdx == pvSqlite && defaultCon) {
        const QString file = DefaultDatabaseFile();
        if (!QFileInfo::exists(file)) {
            try {
                CreateSqliteDatabase(file);
            } catch (const Exception& e) {
                ShowInfo(e.Message());
            }
        }
        return SqliteTemplate(file);
    }
    if (providerIdx == pvDip)
        return DipConnectionString();
    return QString::fromUtf8(Scramble(m_ini.ReadBytes(kDb, QStringLiteral("ConnStr"))));
}

void TConfiger::SetServerAlias(const QString&, const QString&, bool) {}

QString TConfiger::ReadLastLoginId() const
{
    return TIniFile(m_ini.FileName()).ReadString(kLogin, QStringLiteral("LastLoginId"));
}

void TConfiger::WriteLastLoginId(const QString& loginId)
{
    TIniFile(m_ini.FileName()).WriteString(kLogin, QStringLiteral("LastLoginId"), loginId);
}

QString TConfiger::DipReplyToConnectionString(const QByteArray& body)
{
    QString text = QString::fromUtf8(body);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        lines.removeLast(); // a final line break closes the last line, it opens none
    if (lines.size() != 5)
        return {};
    const QString server = lines[0], port = lines[1];
    const QString source = port.trimmed().isEmpty() ? server : server + QLatin1Char(',') + port.trimmed();
    return QStringLiteral(
               "Provider=SQLOLEDB.1;Data Source=%1;User ID=%2;Password=%3;Initial Catalog=%4;Persist "
               "Security Info=True")
        .arg(source, lines[2], lines[3], lines[4]);
}

QString TConfiger::DipConnectionString()
{
    QNetworkAccessManager nam;
    const QUrl url(QStringLiteral("%1?user=%2").arg(dipUrl, dipUser), QUrl::TolerantMode);
    QNetworkRequest request(url);
    request.setTransferTimeout(15000);
    QNetworkReply* reply = nam.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const bool ok = reply->error() == QNetworkReply::NoError && url.isValid() && !dipUrl.isEmpty();
    const QByteArray body = reply->readAll();
    reply->deleteLater();
    if (!ok) {
        ShowInfo(QStringLiteral("无法获得DIP连接信息,请检查网络是否畅通."));
        return {};
    }
    return DipReplyToConnectionString(body);
}

bool ConnectDatabase(const std::function<bool(TConfiger&)>& showDialog)
{
    TConfiger cfg;
    for (;;) {
        const QString conn = cfg.GetConnectionString();
        if (gDatabase->Connect(conn))
            break;
        if (!showDialog || !showDialog(cfg))
            break;
        QCoreApplication::processEvents();
    }
    return gDatabase->IsConnected();
}
