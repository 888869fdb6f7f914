#include "PickListSet.h"

#include <optional>

TPickListSet* gPickLists = nullptr;

TPickListSet::TPickListSet()
{
    AddField(ftInteger, QStringLiteral("Key"), -1, true, QString());
    AddField(ftWideString, QStringLiteral("Label"), 100, true, QString());
    AddField(ftMemo, QStringLiteral("List"), -1, true, QString());
}

void TPickListSet::OpenPickLists(bool force)
{
    if (force || !DataSet()->Active())
        OpenSql(QStringLiteral("select * from options order by [Key]"));
}

int TPickListSet::Count()
{
    OpenPickLists(false);
    return DataSet()->RecordCount();
}

void TPickListSet::SetCount(int n)
{
    const int have = Count();
    if (have >= n)
        return;
    gRecordSet->OpenSql(QStringLiteral("select max([Key]) from options"));
    const int maxKey = gRecordSet->DataSet()->Fields(0)->AsInteger();
    gRecordSet->DataSet()->Close();

    // All new lists or none: inside the caller's transaction, or in one of our own.
    std::optional<TTransaction> tr;
    if (!gDatabase->InTransaction())
        tr.emplace(*gDatabase);
    const int added = n - have;
    for (int i = 1; i <= added; ++i)
        gDatabase->Execute(QStringLiteral("insert into options([Key], List) values (:Key, :List)"),
                           {DBParam(QStringLiteral("Key"), maxKey + i),
                            DBParam(QStringLiteral("List"), QStringLiteral(""))});
    if (tr)
        tr->Commit();

    TDataSet* ds = DataSet();
    for (int i = 1; i <= added; ++i) {
        ds->Append();
        ds->FieldByName(QStringLiteral("Key"))->SetValue(maxKey + i);
        ds->FieldByName(QStringLiteral("List"))->SetValue(QStringLiteral(""));
        ds->Post();
    }
}
