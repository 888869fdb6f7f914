#include "ClearData.h"

#include "data/Database.h"

QStringList ClearDataStatements(TClearRange range)
{
    QStringList sql{QStringLiteral("delete from materialsindl"), QStringLiteral("delete from materialsin"),
                    QStringLiteral("delete from materialsoutdl"), QStringLiteral("delete from materialsout"),
                    QStringLiteral("delete from productsindl"), QStringLiteral("delete from productsin"),
                    QStringLiteral("delete from touchans"),
                    // Purchase applications are business documents as well; they name materials,
                    // so they go before them. With them gone no quantity is on order any more.
                    QStringLiteral("delete from materialsapp"),
                    QStringLiteral("update materials set Apps=null")};
    if (range == crAll)
        sql << QStringLiteral("delete from productbom") << QStringLiteral("delete from products")
            << QStringLiteral("delete from materials");
    return sql;
}

void ClearData(TClearRange range)
{
    TTransaction tr(*gDatabase);
    for (const QString& sql : ClearDataStatements(range))
        gDatabase->Execute(sql);
    tr.Commit();
}
