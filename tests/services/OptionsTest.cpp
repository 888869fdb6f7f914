#include "ServicesFixture.h"

#include "data/Exceptions.h"
#include "services/KeyValue2.h"
#include "services/PickListSet.h"

using namespace Qt::StringLiterals;

namespace {

class OptionsTest : public ServicesTest
{
protected:
    static QVariantList row(int key)
    {
        TRecordSet rs;
        rs.OpenSql(u"select Vstr, Vint, Vfloat, Vbool from keyvalue where KeyId=:KeyId"_s,
                   {DBParam(u"KeyId"_s, key)});
        TDataSet* ds = rs.DataSet();
        if (ds->RecordCount() != 1)
            return {};
        return {ds->Fields(0)->Value(), ds->Fields(1)->AsInteger(), ds->Fields(2)->AsFloat(),
                ds->Fields(3)->AsBoolean()};
    }
};

} // namespace

TEST_P(OptionsTest, MissingKeyIsInsertedEmptyAndReadsFalse)
{
    gDatabase->Execute(u"delete from keyvalue"_s);
    EXPECT_FALSE(gKeyValues->GetBool(1));
    EXPECT_EQ(count(u"from keyvalue where KeyId=1"_s), 1);
    // Only KeyId was written: the value columns keep their null default.
    EXPECT_TRUE(scalar(u"select Vstr from keyvalue where KeyId=1"_s).isNull());
    EXPECT_TRUE(scalar(u"select Vbool from keyvalue where KeyId=1"_s).isNull());
    EXPECT_EQ(gKeyValues->GetStr(2), QString());
    EXPECT_EQ(gKeyValues->GetInt(3), 0);
    EXPECT_EQ(count(u"from keyvalue"_s), 3);
    // Reading again does not insert again.
    EXPECT_FALSE(gKeyValues->GetBool(1));
    EXPECT_EQ(count(u"from keyvalue"_s), 3);
}

TEST_P(OptionsTest, EverySetterOverwritesAllFourColumns)
{
    gKeyValues->SetInt(101, 5);
    EXPECT_TRUE(gKeyValues->GetBool(101));
    EXPECT_EQ(gKeyValues->GetInt(101), 5);
    EXPECT_EQ(row(101), (QVariantList{u""_s, 5, 0.0, true}));

    gKeyValues->SetStr(101, u"材质"_s);
    EXPECT_EQ(row(101), (QVariantList{u"材质"_s, 0, 0.0, true}));
    EXPECT_EQ(gKeyValues->GetInt(101), 0);

    gKeyValues->SetBool(101, false);
    EXPECT_EQ(row(101), (QVariantList{u""_s, 0, 0.0, false}));
    EXPECT_EQ(gKeyValues->GetStr(101), QString());
    EXPECT_FALSE(gKeyValues->GetBool(101));
}

TEST_P(OptionsTest, SecondSetStrLeavesOneRowWithTheLastText)
{
    gKeyValues->SetStr(7, u"第一"_s);
    gKeyValues->SetStr(7, u"第二"_s);
    EXPECT_EQ(count(u"from keyvalue where KeyId=7"_s), 1);
    EXPECT_EQ(gKeyValues->GetStr(7), u"第二"_s);
    TKeyValue2 fresh;
    EXPECT_EQ(fresh.GetStr(7), u"第二"_s);
}

TEST_P(OptionsTest, UpdateMissingRowFallsBackToInsert)
{
    EXPECT_EQ(gKeyValues->GetInt(8), 0);
    // The row vanishes behind the in-memory copy's back: the update touches nothing.
    gDatabase->Execute(u"delete from keyvalue where KeyId=8"_s);
    gKeyValues->SetInt(8, 42);
    EXPECT_EQ(row(8), (QVariantList{u""_s, 42, 0.0, true}));
    EXPECT_EQ(gKeyValues->GetInt(8), 42);
}

TEST_P(OptionsTest, FailingStoreLeavesMemoryAndTableUnchanged)
{
    gKeyValues->SetStr(9, u"旧"_s);
    gDatabase->SetFailAt(1);
    EXPECT_THROW(gKeyValues->SetStr(9, u"新"_s), EDatabaseError);
    EXPECT_EQ(gKeyValues->GetStr(9), u"旧"_s);
    EXPECT_EQ(row(9).value(0), QVariant(u"旧"_s));
    // Update touches nothing and the fallback insert fails: still nothing changes.
    gDatabase->Execute(u"delete from keyvalue where KeyId=9"_s);
    gDatabase->SetFailAt(2);
    EXPECT_THROW(gKeyValues->SetStr(9, u"新"_s), EDatabaseError);
    EXPECT_EQ(gKeyValues->GetStr(9), u"旧"_s);
    EXPECT_EQ(count(u"from keyvalue where KeyId=9"_s), 0);
}

TEST_P(OptionsTest, PickListCountAddsEmptyListsAfterTheMaximum)
{
    EXPECT_EQ(gPickLists->Count(), 0);
    gPickLists->SetCount(3);
    EXPECT_EQ(gPickLists->Count(), 3);
    EXPECT_EQ(scalar(u"select min([Key]) from options"_s).toInt(), 1);
    EXPECT_EQ(scalar(u"select max([Key]) from options"_s).toInt(), 3);
    EXPECT_EQ(count(u"from options where List=''"_s), 3);
    gPickLists->SetCount(2); // never removes
    EXPECT_EQ(count(u"from options"_s), 3);

    gDatabase->Execute(u"delete from options where [Key]<3"_s);
    gDatabase->Execute(u"insert into options([Key], Label, List) values (7, '颜色', '红\r\n绿')"_s);
    gPickLists->OpenPickLists(true);
    gPickLists->SetCount(4);
    TRecordSet rs;
    rs.OpenSql(u"select [Key] from options order by [Key]"_s);
    EXPECT_EQ(rs.JoinFieldValues(rs.DataSet()->Fields(0), u","_s), u"3,7,8,9"_s);
    EXPECT_EQ(gPickLists->Count(), 4);
    gPickLists->OpenPickLists(true);
    EXPECT_EQ(gPickLists->Count(), 4);
}

TEST_P(OptionsTest, PickListCountAddsAllOrNothing)
{
    // Statements: the lists, the maximum, then three inserts of which the second fails.
    gDatabase->SetFailAt(4);
    EXPECT_THROW(gPickLists->SetCount(3), EDatabaseError);
    gDatabase->SetFailAt(0);
    EXPECT_EQ(count(u"from options"_s), 0);
    EXPECT_EQ(gPickLists->Count(), 0);
    gPickLists->SetCount(3);
    EXPECT_EQ(count(u"from options"_s), 3);
}

CZ_INSTANTIATE_ENGINES(OptionsTest);
