#include "ControlsFixture.h"

#include "inventory/ui/Edit.h"

#include <memory>

namespace {

// A class-like record that counts its live copies.
struct RClass
{
    int Id = 0;
    QString Code;
    QString Name;
    static inline int live = 0;
    RClass() { ++live; }
    RClass(int id, QString code, QString name) : Id(id), Code(std::move(code)), Name(std::move(name))
    {
        ++live;
    }
    RClass(const RClass& o) : Id(o.Id), Code(o.Code), Name(o.Name) { ++live; }
    RClass& operator=(const RClass&) = default;
    ~RClass() { --live; }
};

struct ROrder
{
    int Id = 0;
    int ProductId = 0;
};

TEST(LookupBox, EmptyBoxHoldsNothing)
{
    TEdit box;
    EXPECT_TRUE(box.isReadOnly());
    EXPECT_FALSE(box.HoldsRecord());
    EXPECT_FALSE(box.HeldId().isValid());
    EXPECT_EQ(box.HeldRecord<RClass>(), nullptr);
    EXPECT_EQ(box.GetRecord<ROrder>().Id, 0);
}

TEST(LookupBox, HoldsItsOwnCopy)
{
    ASSERT_EQ(RClass::live, 0);
    {
        TEdit box;
        {
            RClass picked(12, u"7.12."_s, u"钢材"_s);
            box.HoldRecord(picked, picked.Name);
            picked.Name = u"改了"_s;
        }
        EXPECT_EQ(RClass::live, 1);
        EXPECT_EQ(box.text(), u"钢材"_s);
        EXPECT_EQ(box.HeldId(), QVariant(12));
        ASSERT_NE(box.HeldRecord<RClass>(), nullptr);
        EXPECT_EQ(box.HeldRecord<RClass>()->Name, u"钢材"_s);
        EXPECT_EQ(box.HeldRecord<ROrder>(), nullptr); // another kind

        // Holding another record replaces the first; the text stays unless given.
        box.HoldRecord(RClass(30, u"7.12.30."_s, u"板材"_s));
        EXPECT_EQ(RClass::live, 1);
        EXPECT_EQ(box.text(), u"钢材"_s);
        EXPECT_EQ(box.GetRecord<RClass>().Code, u"7.12.30."_s);

        box.ClearLookup();
        EXPECT_EQ(RClass::live, 0);
        EXPECT_EQ(box.text(), QString());
        EXPECT_FALSE(box.HeldId().isValid());

        box.HoldRecord(ROrder{5, 9}, u"P-001"_s);
        box.HoldRecord(RClass(1, u"1."_s, u"原料"_s), u"原料"_s); // a record of another kind
        EXPECT_EQ(box.HeldRecord<ROrder>(), nullptr);
        EXPECT_EQ(box.HeldId(), QVariant(1));
    }
    EXPECT_EQ(RClass::live, 0) << "destroying the box releases its record";
}

} // namespace
