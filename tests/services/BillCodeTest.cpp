#include "ServicesFixture.h"

#include "data/Exceptions.h"
#include "masterdata/BillCode.h"

using namespace Qt::StringLiterals;

namespace {

const QDate kJan2013(2013, 1, 15);

class BillCodeTest : public ServicesTest
{
protected:
    void insert(const QString& table, const QString& code)
    {
        gDatabase->Execute(u"insert into %1(Id, Code) values(:Id, :Code)"_s.arg(table),
                           {DBParam(u"Id"_s, ++m_id), DBParam(u"Code"_s, code)});
    }
    int m_id = 0;
};

} // namespace

TEST_P(BillCodeTest, NextCodeWithinPrefixAndMonth)
{
    const struct
    {
        const char16_t* prefix;
        const char16_t* table;
        QStringList stored;
        const char16_t* expected;
    } cases[] = {
        {u"MI", u"materialsin", {}, u"MI13010001"},
        {u"MI", u"materialsin", {u"MI13010001"_s, u"MI13010099"_s, u"MI13010007"_s}, u"MI13010100"},
        {u"MI", u"materialsin", {u"MI12120001"_s, u"MI12120031"_s}, u"MI13010001"}, // month change
        {u"MO", u"materialsout", {u"MI13010005"_s, u"XX13010009"_s, u"MO13010002"_s}, u"MO13010003"},
        {u"PI", u"productsin", {u"PI13020004"_s}, u"PI13010001"}, // a later month is not looked at
    };
    for (const auto& c : cases) {
        const QString table = QString::fromUtf16(c.table);
        gDatabase->Execute(u"delete from "_s + table);
        for (const QString& code : c.stored)
            insert(table, code);
        EXPECT_EQ(NewBillCode(QString::fromUtf16(c.prefix), table, kJan2013), QString::fromUtf16(c.expected))
            << table.toStdString() << " " << c.stored.join(u',').toStdString();
    }
}

TEST_P(BillCodeTest, ServerDateGivesTheMonth)
{
    const QString code = NewBillCode(u"MA"_s, u"materialsapp"_s);
    EXPECT_EQ(code, u"MA"_s + gDatabase->ServerNow().date().toString(u"yyMM"_s) + u"0001"_s);
}

TEST_P(BillCodeTest, PastNineThousandNineHundredNinetyNineNumbersWiden)
{
    insert(u"materialsin"_s, u"MI13019998"_s);
    EXPECT_EQ(NewBillCode(u"MI"_s, u"materialsin"_s, kJan2013), u"MI13019999"_s);
    insert(u"materialsin"_s, u"MI13019999"_s);
    // Every further code is new although the string maximum stays at ...9999.
    for (const QString& expected : {u"MI130110000"_s, u"MI130110001"_s, u"MI130110002"_s}) {
        const QString code = NewBillCode(u"MI"_s, u"materialsin"_s, kJan2013);
        EXPECT_EQ(code, expected);
        insert(u"materialsin"_s, code);
    }
    // Also when the 9999th code was deleted, and past the five-digit numbers.
    gDatabase->Execute(u"delete from materialsin where Code='MI13019999'"_s);
    EXPECT_EQ(NewBillCode(u"MI"_s, u"materialsin"_s, kJan2013), u"MI13019999"_s);
    insert(u"materialsin"_s, u"MI13019999"_s);
    insert(u"materialsin"_s, u"MI130199999"_s);
    EXPECT_EQ(NewBillCode(u"MI"_s, u"materialsin"_s, kJan2013), u"MI1301100000"_s);
    // A stray code of another width that sorts above the real ones does not mislead.
    insert(u"materialsout"_s, u"MO13010005"_s);
    insert(u"materialsout"_s, u"MO13019"_s);
    EXPECT_EQ(NewBillCode(u"MO"_s, u"materialsout"_s, kJan2013), u"MO13010006"_s);
}

TEST_P(BillCodeTest, RefusesNumbersThatAreNotAndUnsafeNames)
{
    insert(u"materialsin"_s, u"MI1301ABCD"_s);
    try {
        NewBillCode(u"MI"_s, u"materialsin"_s, kJan2013);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_TRUE(e.Message().contains(u"MI1301ABCD"_s));
    }
    EXPECT_THROW(NewBillCode(u"MI"_s, u"materialsin where 1=1 --"_s, kJan2013), EConvertError);
    EXPECT_THROW(NewBillCode(u"M'I"_s, u"materialsin"_s, kJan2013), EConvertError);
}

CZ_INSTANTIATE_ENGINES(BillCodeTest);
