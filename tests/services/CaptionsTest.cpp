#include "ServicesFixture.h"

#include "data/Exceptions.h"
#include "masterdata/Captions.h"
#include "services/KeyValue2.h"

using namespace Qt::StringLiterals;

namespace {

class CaptionsTest : public ServicesTest
{
protected:
    void TearDown() override
    {
        gCaptions = TCaptions();
        ServicesTest::TearDown();
    }
    static QStringList values(const QList<RLabelRow>& rows)
    {
        QStringList out;
        for (const RLabelRow& r : rows)
            out << r.Title + u'=' + r.Value;
        return out;
    }
};

} // namespace

TEST_P(CaptionsTest, NewDatabaseHoldsTheDefaults)
{
    const QList<QList<RLabelRow>> defaults{LabelRows(cgMaterial), LabelRows(cgProduct), LabelRows(cgBom)};
    const qint64 before = gDatabase->StatementCount();
    LoadCaptions();
    // The seeded keys exist: loading inserts nothing.
    EXPECT_EQ(count(u"from keyvalue"_s), 31);
    EXPECT_GT(gDatabase->StatementCount(), before);
    EXPECT_EQ(values(LabelRows(cgMaterial)), values(defaults[0]));
    EXPECT_EQ(values(LabelRows(cgProduct)), values(defaults[1]));
    EXPECT_EQ(values(LabelRows(cgBom)), values(defaults[2]));

    EXPECT_EQ(values(defaults[0]),
              (QStringList{u"助查码=助查码"_s, u"字符型1=货号"_s, u"字符型2=品名"_s, u"字符型3=规格"_s,
                           u"字符型4=型号"_s, u"字符型5=品牌"_s, u"字符型6=包装"_s, u"字符型7=单位"_s,
                           u"价格=不可更改"_s, u"数字型2=出库价"_s, u"数字型3=库存下限"_s,
                           u"数字型4=库存上限"_s, u"数字型5=其他"_s}));
    EXPECT_EQ(values(defaults[1]).mid(8),
              (QStringList{u"数字型1=入库价"_s, u"数字型2=出库价"_s, u"数字型3=库存下限"_s,
                           u"数字型4=库存上限"_s, u"数字型5=其他"_s, u"备注型=备注"_s}));
    EXPECT_EQ(values(defaults[2]),
              (QStringList{u"字符型1=描述01"_s, u"字符型2=描述02"_s, u"字符型3=描述03"_s}));
    EXPECT_EQ(gCaptions.Touchan.MaterialNeed, u"物料|需求"_s);
    EXPECT_EQ(gCaptions.Bill2.Fund, u"金额"_s);
}

TEST_P(CaptionsTest, SavedLabelsTakeEffectAtTheNextLoad)
{
    QList<RLabelRow> rows = LabelRows(cgMaterial);
    ASSERT_EQ(rows[3].Title, u"字符型3"_s);
    rows[3].Value = u"材质"_s;
    rows[4].Value = QString();     // an empty caption stays empty
    rows[8].Value = u"改了价格"_s; // read-only price row: never stored
    SaveLabelRows(rows);
    EXPECT_EQ(gCaptions.Material.S1, u"规格"_s);

    LoadCaptions();
    EXPECT_EQ(gCaptions.Material.S1, u"材质"_s);
    EXPECT_EQ(gCaptions.Material.S2, QString());
    EXPECT_EQ(gCaptions.Material.Price, u"价格"_s);
    EXPECT_EQ(count(u"from keyvalue where Vstr='改了价格' or Vstr='不可更改'"_s), 0);
    EXPECT_EQ(gCaptions.Product.S1, u"规格"_s); // the product group is apart

    QList<RLabelRow> bom = LabelRows(cgBom);
    bom[2].Value = u"工序"_s;
    SaveLabelRows(bom);
    LoadCaptions();
    EXPECT_EQ(gCaptions.Bom.BomS03, u"工序"_s);
}

TEST_P(CaptionsTest, MissingKeyLoadsEmptyAndIntegersRoundTrip)
{
    gDatabase->Execute(u"delete from keyvalue where KeyId=1005"_s);
    gKeyValues->SetInt(101, 7);
    LoadCaptions();
    EXPECT_EQ(gCaptions.Product.S1, QString());
    EXPECT_EQ(count(u"from keyvalue where KeyId=1005"_s), 1);
    EXPECT_EQ(gCaptions.Setting101, 7);
    EXPECT_EQ(gCaptions.Setting102, 0);

    gCaptions.Setting102 = 3;
    SaveCaptionSettings();
    EXPECT_EQ(scalar(u"select Vint from keyvalue where KeyId=102"_s).toInt(), 3);
}

TEST_P(CaptionsTest, FailingSaveStoresNoLabel)
{
    QList<RLabelRow> rows = LabelRows(cgProduct);
    for (RLabelRow& r : rows)
        r.Value += u"X"_s;
    for (int failAt : {1, 5, 14}) {
        gDatabase->SetFailAt(failAt);
        EXPECT_THROW(SaveLabelRows(rows), Exception) << failAt;
        EXPECT_EQ(count(u"from keyvalue where Vstr like '%X'"_s), 0) << failAt;
        EXPECT_EQ(gKeyValues->GetStr(1001), u"助查码"_s);
    }
    gDatabase->SetFailAt(0);
    SaveLabelRows(rows);
    EXPECT_EQ(count(u"from keyvalue where Vstr like '%X'"_s), 14);
}

CZ_INSTANTIATE_ENGINES(CaptionsTest);
