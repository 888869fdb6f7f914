#include "DefaultReports.h"

#include <QFile>

namespace {

QByteArray resource(const char* name)
{
    QFile f(QStringLiteral(":/reports/templates/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

} // namespace

QList<TDefaultReports::RDefaultReport> TDefaultReports::all()
{
    return {
        {5, QStringLiteral("原材料清单"), resource("materials.xml")},
        {6, QStringLiteral("产品资料及 BOM 表"), resource("products.xml")},
        {7, QStringLiteral("投产单"), resource("touchans.xml")},
        {8, QStringLiteral("物料需求表"), resource("mrl.xml")},
        {9, QStringLiteral("生产进度表"), resource("progress.xml")},
    };
}

QByteArray TDefaultReports::forGroup(int groupId)
{
    for (const RDefaultReport& r : all()) {
        if (r.groupId == groupId)
            return r.xml;
    }
    return QByteArray();
}
