#include "data/DataSet.h"
#include "data/Collation.h"
#include "data/Exceptions.h"
#include "data/QdClientDataSet.h"
#include "data/RecordSet.h"

#include <gtest/gtest.h>

namespace {

// A small set: Id, Code, Name, Qty, BizDate.
void fill(TDataSet& ds, const std::vector<std::tuple<int, QString, QString, double, QString>>& rows)
{
    ds.AddField(ftInteger, QStringLiteral("Id"));
    ds.AddField(ftString, QStringLiteral("Code"), 20);
    ds.AddField(ftString, QStringLiteral("Name"), 40);
    ds.AddField(ftFloat, QStringLiteral("Qty"));
    ds.AddField(ftDateTime, QStringLiteral("BizDate"));
    ds.CreateDataSet();
    for (const auto& [id, code, name, qty, date] : rows) {
        ds.Append();
        ds.FieldByName(QStringLiteral("Id"))->SetValue(id);
        ds.FieldByName(QStringLiteral("Code"))->SetValue(code);
        ds.FieldByName(QStringLiteral("Name"))->SetValue(name.isEmpty() ? QVariant() : QVariant(name));
        ds.FieldByName(QStringLiteral("Qty"))->SetValue(qty);
        ds.FieldByName(QStringLiteral("BizDate"))->SetValue(date.isEmpty() ? QVariant() : QVariant(date));
        ds.Post();
    }
}

QList<int> ids(TDataSet& ds)
{
    QList<int> out;
    for (ds.First(); !ds.Eof(); ds.Next())
        out << ds.FieldByName(QStringLiteral("Id"))->AsInteger();
    return out;
}

const std::vector<std::tuple<int, QString, QString, double, QString>> kRows = {
    {1, QStringLiteral("A12"), QStringLiteral("中碳钢"), 5, QStringLiteral("2013-01-16")},
    {2, QStringLiteral("b3"), QStringLiteral("阿胶"), 0, QStringLiteral("2013-01-17 08:00:00")},
    {3, QStringLiteral("C123"), QStringLiteral("北京螺丝"), -2.5, QString()},
    {4, QStringLiteral("a1"), QString(), 12, QStringLiteral("2012-12-31")},
};

} // namespace

TEST(DataSet, EditingCycle)
{
    TDataSet ds;
    fill(ds, kRows);
    EXPECT_EQ(ds.RecordCount(), 4);

    // Edit then cancel restores the row; post keeps it.
    ds.First();
    ds.Edit();
    ds.FieldByName(QStringLiteral("Name"))->SetValue(QStringLiteral("改"));
    ds.Cancel();
    EXPECT_EQ(ds.FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("中碳钢"));

    // A failing before-post keeps the record in edit mode with its values.
    ds.BeforePost = [](TDataSet& d) {
        if (d.FieldByName(QStringLiteral("Qty"))->AsFloat() < 0)
            throw Exception(QStringLiteral("数量不能为负"));
    };
    ds.Edit();
    ds.FieldByName(QStringLiteral("Qty"))->SetValue(-1);
    EXPECT_THROW(ds.Post(), Exception);
    EXPECT_EQ(ds.State(), dsEdit);
    ds.FieldByName(QStringLiteral("Qty"))->SetValue(7);
    ds.Post();
    EXPECT_EQ(ds.State(), dsBrowse);
    EXPECT_DOUBLE_EQ(ds.FieldByName(QStringLiteral("Qty"))->AsFloat(), 7);

    // Appending then cancelling leaves no row behind.
    ds.Append();
    EXPECT_EQ(ds.RecordCount(), 5);
    ds.Cancel();
    EXPECT_EQ(ds.RecordCount(), 4);

    // Nulls read as empty text, 0 and false.
    ASSERT_TRUE(ds.Locate(QStringLiteral("Id"), 4));
    TField* name = ds.FieldByName(QStringLiteral("Name"));
    EXPECT_TRUE(name->IsNull());
    EXPECT_EQ(name->AsString(), QString());
    ASSERT_TRUE(ds.Locate(QStringLiteral("Id"), 3));
    EXPECT_EQ(ds.FieldByName(QStringLiteral("BizDate"))->AsString(), QString());
    EXPECT_FALSE(ds.FieldByName(QStringLiteral("BizDate"))->AsDateTime().isValid());

    // Delete, bookmarks survive, a deleted row's bookmark does not.
    const auto mark3 = ds.GetBookmark();
    ds.First();
    const auto mark1 = ds.GetBookmark();
    ds.Delete();
    EXPECT_EQ(ids(ds), (QList<int>{2, 3, 4}));
    EXPECT_FALSE(ds.BookmarkValid(mark1));
    ds.GotoBookmark(mark3);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("Id"))->AsInteger(), 3);
    EXPECT_THROW(ds.FieldByName(QStringLiteral("Nope")), EDataSetError);

    ds.Close();
    EXPECT_THROW(ds.RecordCount(), EDataSetError);
}

TEST(DataSet, NavigationFlags)
{
    TDataSet ds;
    fill(ds, {});
    EXPECT_TRUE(ds.Eof());
    EXPECT_TRUE(ds.Bof());
    EXPECT_EQ(ds.RecNo(), 0);
    ds.Next();
    EXPECT_TRUE(ds.Eof());
    ds.Append();
    ds.Post();
    ds.First();
    EXPECT_FALSE(ds.Eof());
    ds.Next();
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(ds.RecNo(), 1);
}

TEST(DataSet, CalculatedFieldsAndLocateOptions)
{
    TDataSet ds;
    ds.AddField(ftString, QStringLiteral("Code"), 20);
    ds.AddField(ftFloat, QStringLiteral("Qty"));
    ds.AddField(ftFloat, QStringLiteral("Price"));
    ds.AddField(ftFloat, QStringLiteral("Amount"), -1, true, QStringLiteral("金额"), fkCalculated);
    ds.OnCalcFields = [](TDataSet& d) {
        d.FieldByName(QStringLiteral("Amount"))
            ->SetValue(d.FieldByName(QStringLiteral("Qty"))->AsFloat() *
                       d.FieldByName(QStringLiteral("Price"))->AsFloat());
    };
    ds.CreateDataSet();
    ds.Append();
    ds.FieldByName(QStringLiteral("Code"))->SetValue(QStringLiteral("Abc"));
    ds.FieldByName(QStringLiteral("Qty"))->SetValue(3);
    ds.FieldByName(QStringLiteral("Price"))->SetValue(2.5);
    EXPECT_DOUBLE_EQ(ds.FieldByName(QStringLiteral("Amount"))->AsFloat(), 7.5);
    ds.Post();
    EXPECT_THROW(ds.FieldByName(QStringLiteral("Qty"))->SetValue(1), EDataSetError); // not editing
    EXPECT_FALSE(ds.Locate(QStringLiteral("Code"), QStringLiteral("abc")));
    EXPECT_TRUE(ds.Locate(QStringLiteral("Code"), QStringLiteral("abc"), loCaseInsensitive));
    EXPECT_TRUE(ds.Locate(QStringLiteral("Code"), QStringLiteral("Ab"), loPartialKey));
    EXPECT_TRUE(ds.Locate(QStringLiteral("Code;Qty"), QVariantList{QStringLiteral("Abc"), 3}));
}

TEST(DataSet, FilterLanguage)
{
    TDataSet ds;
    fill(ds, kRows);
    EXPECT_THROW(ds.AddField(ftString, QStringLiteral("X"), 5), EDataSetError); // the set is open
    struct Case
    {
        const char* filter;
        QList<int> ids;
    };
    const Case cases[] = {
        {"Code like '%12%'", {1, 3}},
        {"Code like 'a%'", {1, 4}}, // without letter case
        {"Code like '_1'", {4}},
        {"Name like '%钢%' or Name like '阿%'", {1, 2}},
        {"(Code like 'a%') and (Name like '%钢%' or Name like '%x%')", {1}},
        {"not Code like 'a%'", {2, 3}},
        {"Id=3", {3}},
        {"Id <> 3 and Qty >= 5", {1, 4}},
        {"Qty < 0", {3}},
        {"Code = 'B3'", {2}},
        {"BizDate >= '2013-01-16' and BizDate < '2013-01-17'", {1}},
        {"BizDate is null", {3}},
        {"Name = ''", {4}},
        {"[Id] > 2", {3, 4}},
    };
    for (const auto& c : cases) {
        ds.SetFilter(QString::fromUtf8(c.filter));
        ds.SetFiltered(true);
        EXPECT_EQ(ids(ds), c.ids) << c.filter;
    }
    ds.SetFiltered(false);
    EXPECT_EQ(ds.RecordCount(), 4);
    for (const char* bad :
         {"Code like", "Code = 'x", "(Id = 1", "Nope = 1", "Id = = 1", "Id 1", "Code like 5"})
        EXPECT_THROW(ds.SetFilter(QString::fromUtf8(bad)), EDataSetError) << bad;
}

TEST(DataSet, SortInBothTextFormsAndChineseOrder)
{
    TDataSet ds;
    fill(ds, kRows);
    ds.SetSort(QStringLiteral("Name ASC"));
    EXPECT_EQ(ids(ds), (QList<int>{4, 2, 3, 1})); // null, 阿 a, 北 bei, 中 zhong
    ds.SetSort(QStringLiteral("Name DESC"));
    EXPECT_EQ(ids(ds), (QList<int>{1, 3, 2, 4}));
    ds.SetSort(QStringLiteral("Qty, Id DESC "));
    EXPECT_EQ(ids(ds), (QList<int>{3, 2, 1, 4}));
    ds.SetSort(QStringLiteral("BizDate DESC ,Id"));
    EXPECT_EQ(ids(ds), (QList<int>{2, 1, 4, 3}));
    ds.SetSort(QString());
    EXPECT_EQ(ids(ds), (QList<int>{1, 2, 3, 4}));
    EXPECT_THROW(ds.SetSort(QStringLiteral("Nope")), EDataSetError);
    EXPECT_THROW(ds.SetSort(QStringLiteral("Code sideways")), EDataSetError);
    EXPECT_LT(CompareChinese(QStringLiteral("阿"), QStringLiteral("北")), 0);
    EXPECT_LT(CompareChinese(QStringLiteral("北"), QStringLiteral("中")), 0);
}

TEST(ClientDataSet, FieldDefSizesAndJoin)
{
    TQdClientDataSet cds;
    EXPECT_EQ(cds.AddFieldDef(ftString, QStringLiteral("A"), 200, true, QString())->Size, 140);
    EXPECT_EQ(cds.AddFieldDef(ftString, QStringLiteral("B"), 30, true, QString())->Size, 30);
    EXPECT_EQ(cds.AddFieldDef(ftString, QStringLiteral("C"), 20, true, QString())->Size, 20);
    EXPECT_EQ(cds.AddFieldDef(ftString, QStringLiteral("D"), 5, true, QString())->Size, 20);
}
