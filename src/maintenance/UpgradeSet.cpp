#include "UpgradeSet.h"

#include <utility>
#include <vector>

TUpgradeSet::TUpgradeSet()
{
    m_deleId = AddField(ftInteger, QStringLiteral("DeleId"), -1, false, QString());
    m_id = AddField(ftInteger, QStringLiteral("Id"), -1, false, QString());
    m_version = AddField(ftWideString, QStringLiteral("Version"), 50, true, QStringLiteral("版本"));
    m_sqlText = AddField(ftMemo, QStringLiteral("SqlText"), -1, true, QStringLiteral("SQL"));
    Query()->OnNewRecord = [this](TDataSet&) { m_deleId->SetAsInteger(1); };
}

void TUpgradeSet::Open()
{
    OpenSql(QStringLiteral("select d.*, d.Id AS DeleId from upgrade d "));
    Query()->SetFilter(QStringLiteral("DeleId > 0"));
    Query()->SetFiltered(true);
    Query()->First();
}

bool TUpgradeSet::LocateVersion(const QString& version)
{
    return Query()->Locate(QStringLiteral("Version"), version);
}

void TUpgradeSet::AppendVersion(const QString& version)
{
    TDataSet* ds = Query();
    ds->Append();
    m_version->SetAsString(version);
    m_sqlText->SetAsString(QString());
    ds->Post();
}

void TUpgradeSet::MarkDeleted()
{
    TDataSet* ds = Query();
    if (ds->IsEmpty())
        return;
    ds->Edit();
    m_deleId->SetAsInteger(0);
    ds->Post();
    // A posted row keeps its place in the view even when it no longer passes the filter:
    // applying the filter again lets the marked row drop out.
    ds->SetFiltered(false);
    ds->SetFiltered(true);
}

bool TUpgradeSet::Save()
{
    TDataSet* ds = Query();
    ds->CheckBrowseMode();
    // The filter comes back on however the walk ends.
    struct TFilterBack
    {
        TDataSet* ds;
        ~TFilterBack() { ds->SetFiltered(true); }
    } filterBack{ds};
    ds->SetFiltered(false);

    std::vector<std::pair<TDataSet::TBookmark, int>> newIds;
    {
        TTransaction tr(*gDatabase);
        for (ds->First(); !ds->Eof(); ds->Next()) {
            const int id = m_id->AsInteger();
            if (m_deleId->AsInteger() != 0 && id != 0) {
                gDatabase->ExecSql(
                    QStringLiteral("update upgrade set Version=:Version, SqlText=:SqlText where Id=:Id"),
                    {DBParam(QStringLiteral("Version"), m_version->AsString()),
                     DBParam(QStringLiteral("SqlText"), m_sqlText->AsString()),
                     DBParam(QStringLiteral("Id"), id)});
            } else if (m_deleId->AsInteger() != 0) {
                TDataSet maxId;
                gDatabase->OpenQuery(maxId, QStringLiteral("select max(Id) from upgrade"));
                const int newId = (maxId.IsEmpty() ? 0 : maxId.Fields(0)->AsInteger()) + 1;
                if (gDatabase->ExecSql(
                        QStringLiteral(
                            "insert into upgrade( Id, Version, SqlText )values(:Id,:Version,:SqlText )"),
                        {DBParam(QStringLiteral("Id"), newId),
                         DBParam(QStringLiteral("Version"), m_version->AsString()),
                         DBParam(QStringLiteral("SqlText"), m_sqlText->AsString())}) == 1)
                    newIds.emplace_back(ds->GetBookmark(), newId);
            } else {
                gDatabase->ExecSql(QStringLiteral("delete from upgrade where Id=:Id"),
                                   {DBParam(QStringLiteral("Id"), id)});
            }
        }
        tr.Commit();
    }
    for (const auto& [bookmark, newId] : newIds) {
        ds->GotoBookmark(bookmark);
        ds->Edit();
        m_id->SetAsInteger(newId);
        // The row is stored now: from here on it is a stored row, updated by the next save.
        m_deleId->SetAsInteger(newId);
        ds->Post();
    }
    return true;
}
