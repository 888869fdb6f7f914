#include "DeskMenus.h"

#include "data/Exceptions.h"
#include "data/RecordSet.h"

QString ReadMenus(const QString& loginId)
{
    gRecordSet->OpenSql(QStringLiteral("select Menus from operator where LoginId=:LoginId"),
                        {DBParam(QStringLiteral("LoginId"), loginId)});
    TDataSet* ds = gRecordSet->DataSet();
    const QString menus = ds->RecordCount() > 0 ? ds->Fields(0)->AsString() : QString();
    ds->Close();
    return menus;
}

void WriteMenus(const QString& loginId, const QString& menus)
{
    gDatabase->Execute(
        QStringLiteral("update operator set Menus=:Menus where LoginId=:LoginId"),
        {DBParam(QStringLiteral("Menus"), menus), DBParam(QStringLiteral("LoginId"), loginId)});
}

namespace {
int toInteger(const QString& text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' 不是有效的整数").arg(text));
    return v;
}
} // namespace

std::optional<QPoint> DeskIconPosition(const QString& value)
{
    if (value == QLatin1String("0,0"))
        return std::nullopt;
    const qsizetype comma = value.indexOf(QLatin1Char(','));
    if (comma < 0)
        return std::nullopt;
    return QPoint(toInteger(value.left(comma)), toInteger(value.mid(comma + 1)));
}

QString DeskIconValue(const QPoint& pos)
{
    return QStringLiteral("%1,%2").arg(pos.x()).arg(pos.y());
}
