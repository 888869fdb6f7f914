#include "RepCatalog.h"

#include "data/Database.h"
#include "data/RecordSet.h"

#include <QBuffer>

int TRepCatalog::NextId()
{
    gRecordSet->OpenSql(QStringLiteral("select top 1 Id from report order by Id desc"));
    TDataSet* ds = gRecordSet->DataSet();
    return (ds->IsEmpty() ? 0 : ds->Fields(0)->AsInteger()) + 1;
}

int TRepCatalog::AddReport(const QString& title, int groupId)
{
    // The number is read and used inside one transaction, so a failing insert leaves nothing.
    TTransaction tr(*gDatabase);
    const int id = NextId();
    gDatabase->ExecSql(QStringLiteral("insert into report(Id,GrpId,Title)values(:Id,:GroupId,:Title)"),
                       {DBParam(QStringLiteral("Id"), id), DBParam(QStringLiteral("GroupId"), groupId),
                        DBParam(QStringLiteral("Title"), title)});
    tr.Commit();
    return id;
}

void TRepCatalog::DeleteReport(int id)
{
    gDatabase->ExecSql(QStringLiteral("delete from report where Id=:Id"),
                       {DBParam(QStringLiteral("Id"), id)});
}

void TRepCatalog::RenameReport(int id, const QString& title)
{
    gDatabase->ExecSql(QStringLiteral("update report set Title=:Title where Id=:Id"),
                       {DBParam(QStringLiteral("Title"), title), DBParam(QStringLiteral("Id"), id)});
}

QByteArray TRepCatalog::LoadTemplate(int id)
{
    gRecordSet->OpenSql(QStringLiteral("select * from report where Id=:Id"),
                        {DBParam(QStringLiteral("Id"), id)});
    TDataSet* ds = gRecordSet->DataSet();
    if (ds->IsEmpty())
        return {};
    return ds->FieldByName(QStringLiteral("Fr3File"))->AsBytes();
}

void TRepCatalog::SaveTemplate(int id, const QByteArray& blob)
{
    TTransaction tr(*gDatabase);
    gRecordSet->OpenSql(QStringLiteral("select 1 from report where Id=:Id"),
                        {DBParam(QStringLiteral("Id"), id)});
    const bool exists = !gRecordSet->DataSet()->IsEmpty();
    QByteArray data = blob;
    QBuffer stream(&data);
    stream.open(QIODevice::ReadOnly);
    const QString sql = exists ? QStringLiteral("update report set Fr3File=:Fr3File where Id=:Id")
                               : QStringLiteral("insert into report (Fr3File,Id)values(:Fr3File,:Id)");
    gDatabase->ExecSql(sql, {DBParam(QStringLiteral("Id"), id)},
                       {DBBlobParam(QStringLiteral("Fr3File"), &stream)});
    tr.Commit();
}

bool TRepCatalog::GroupHasReports(int groupId)
{
    gRecordSet->OpenSql(QStringLiteral("select top 1 Id from report where GrpId=:GroupId"),
                        {DBParam(QStringLiteral("GroupId"), groupId)});
    return !gRecordSet->DataSet()->IsEmpty();
}

bool TRepCatalog::EnsureDefaultReport(int groupId, const QString& title, const QByteArray& blob)
{
    if (blob.isEmpty() || GroupHasReports(groupId))
        return false;
    TTransaction tr(*gDatabase);
    const int id = NextId();
    QByteArray data = blob;
    QBuffer stream(&data);
    stream.open(QIODevice::ReadOnly);
    gDatabase->ExecSql(
        QStringLiteral("insert into report(Id,GrpId,Title,Fr3File)values(:Id,:GroupId,:Title,:Fr3File)"),
        {DBParam(QStringLiteral("Id"), id), DBParam(QStringLiteral("GroupId"), groupId),
         DBParam(QStringLiteral("Title"), title)},
        {DBBlobParam(QStringLiteral("Fr3File"), &stream)});
    tr.Commit();
    return true;
}
