#include "AppIdentity.h"

#include "data/IniFile.h"
#include "shell/AppPaths.h"

QString gAppTitle;
QString gEdition;
QString gBuild;

void InitAppIdentity()
{
    gAppTitle = QStringLiteral("澄舟生产管理系统");
    gEdition = QStringLiteral("单机版 1.4.130116");
    gBuild = QStringLiteral("Build130116");
}

QString PublishedBuild(const QString& build, const QString& iniFile)
{
    const TIniFile ini(iniFile);
    if (!ini.Exists())
        return build;
    return QStringLiteral("(%1%2)").arg(build,
                                        ini.ReadString(QStringLiteral("publish"), QStringLiteral("b")));
}

void ApplyPublishedBuild()
{
    gBuild = PublishedBuild(gBuild, HomeFile(QStringLiteral("cfg.ini")));
}
