#include "OsInfo.h"

#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>

QString OsReleasePrettyName(const QString& osReleaseFile)
{
    QFile f(osReleaseFile);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (!line.startsWith(QLatin1String("PRETTY_NAME=")))
            continue;
        QString v = line.mid(12);
        if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
            v.back() == v.front())
            v = v.mid(1, v.size() - 2);
        return v;
    }
    return {};
}

QString OsDescriptionFrom(const QString& osName, const QString& kernelType, const QString& kernelRelease)
{
    static const QRegularExpression version(QStringLiteral("^(\\d+)\\.(\\d+)(?:\\.(\\d+))?"));
    const QRegularExpressionMatch m = version.match(kernelRelease);
    if (!m.hasMatch())
        return QStringLiteral("Unknown");
    QString type = kernelType;
    if (!type.isEmpty())
        type[0] = type[0].toUpper();
    const QString service = (type.isEmpty() ? QString() : type + QLatin1Char(' ')) + kernelRelease;
    return QStringLiteral("%1 Version %2.%3 Build %4.%5")
        .arg(osName)
        .arg(m.captured(1).toInt())
        .arg(m.captured(2).toInt())
        .arg(m.captured(3).toInt())
        .arg(service);
}

QString OsDescription()
{
    QString name = OsReleasePrettyName(QStringLiteral("/etc/os-release"));
    if (name.isEmpty())
        name = OsReleasePrettyName(QStringLiteral("/usr/lib/os-release"));
    if (name.isEmpty())
        name = QStringLiteral("Linux");
    return OsDescriptionFrom(name, QSysInfo::kernelType(), QSysInfo::kernelVersion());
}
