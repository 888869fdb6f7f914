#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString& homeDir()
{
    static QString dir;
    return dir;
}
} // namespace

QString HomeDir()
{
    if (homeDir().isEmpty())
        return QCoreApplication::applicationDirPath();
    return homeDir();
}

void SetHomeDir(const QString& dir)
{
    homeDir() = dir.isEmpty() ? QString() : QDir(dir).absolutePath();
}

bool ParseHomeArgument(const QStringList& args, QString& dir, QString& error)
{
    dir.clear();
    const QString option = QStringLiteral("--home");
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == option) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
                error = QStringLiteral("参数 --home 后面缺少目录名.");
                return false;
            }
            dir = args[++i];
        } else if (a.startsWith(option + QLatin1Char('='))) {
            dir = a.mid(option.size() + 1);
            if (dir.isEmpty()) {
                error = QStringLiteral("参数 --home 后面缺少目录名.");
                return false;
            }
        }
    }
    return true;
}

QString HomeFile(const QString& name)
{
    return QDir(HomeDir()).filePath(name);
}

QString DefaultDatabaseFile()
{
    QString base = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (base.isEmpty() || base.startsWith(QLatin1String("test_")) || base.startsWith(QLatin1String("bench_")))
        base = QStringLiteral("czpm");
    return HomeFile(base + QStringLiteral(".db"));
}
