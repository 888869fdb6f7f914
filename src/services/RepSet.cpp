#include "RepSet.h"

TRepSet::TRepSet()
{
    AddField(ftInteger, QStringLiteral("Id"), 0, true, QStringLiteral("Id"));
    AddField(ftWideString, QStringLiteral("Title"), 100, true, QStringLiteral("标题"));
}

int TRepSet::OpenGroup(int groupId)
{
    return OpenSql(QStringLiteral("select Id,Title from report where GrpId=:GroupId order by Title"),
                   {DBParam(QStringLiteral("GroupId"), groupId)});
}
