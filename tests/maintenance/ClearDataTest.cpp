#include "MaintenanceFixture.h"

#include "data/DataSet.h"
#include "data/Exceptions.h"
#include "maintenance/ClearData.h"

namespace {

class ClearDataTest : public TMaintenanceTest
{
protected:
    void SetUp() override
    {
        TMaintenanceTest::SetUp();
        SeedFactory();
    }
};

const QStringList kDocuments{QStringLiteral("materialsindl"),  QStringLiteral("materialsin"),
                             QStringLiteral("materialsoutdl"), QStringLiteral("materialsout"),
                             QStringLiteral("productsindl"),   QStringLiteral("productsin"),
                             QStringLiteral("touchans"),       QStringLiteral("materialsapp")};
const QStringList kMasterData{QStringLiteral("productbom"), QStringLiteral("products"),
                              QStringLiteral("materials")};
const QStringList kUntouched{
    QStringLiteral("materialclass"), QStringLiteral("productclass"), QStringLiteral("operator"),
    QStringLiteral("keyvalue"),      QStringLiteral("report"),       QStringLiteral("syscols"),
    QStringLiteral("[backup]"),      QStringLiteral("upgrade"),      QStringLiteral("materialsintype")};

TEST_P(ClearDataTest, BusinessDataOnlyRemovesEveryDocumentAndKeepsTheCatalogue)
{
    const QStringList untouched = [] {
        QStringList rows;
        for (const QString& t :
             kUntouched + QStringList{QStringLiteral("products"), QStringLiteral("productbom")})
            rows << TableRows(t);
        return rows;
    }();
    ClearData(crBusiness);
    for (const QString& t : kDocuments)
        EXPECT_EQ(RowCount(t), 0) << t.toStdString();
    QStringList after;
    for (const QString& t :
         kUntouched + QStringList{QStringLiteral("products"), QStringLiteral("productbom")})
        after << TableRows(t);
    EXPECT_EQ(after, untouched);
    // Materials stay with their stock; with the applications gone nothing is on order.
    TDataSet ds;
    gDatabase->OpenQuery(ds, QStringLiteral("select Id, Stock, Apps from materials order by Id"));
    ASSERT_EQ(ds.RecordCount(), 3);
    for (ds.First(); !ds.Eof(); ds.Next()) {
        EXPECT_DOUBLE_EQ(ds.FieldByName(QStringLiteral("Stock"))->AsFloat(),
                         10.0 * ds.Fields(0)->AsInteger());
        EXPECT_TRUE(ds.FieldByName(QStringLiteral("Apps"))->IsNull());
    }
}

TEST_P(ClearDataTest, AllDataAlsoRemovesTheMasterDataAndNothingElse)
{
    QStringList untouched;
    for (const QString& t : kUntouched)
        untouched << TableRows(t);
    ClearData(crAll);
    for (const QString& t : kDocuments + kMasterData)
        EXPECT_EQ(RowCount(t), 0) << t.toStdString();
    QStringList after;
    for (const QString& t : kUntouched)
        after << TableRows(t);
    EXPECT_EQ(after, untouched);
}

TEST_P(ClearDataTest, AFailureAtAnyStatementLeavesEveryTableAsItWas)
{
    const QStringList before = DatabaseSnapshot();
    for (TClearRange range : {crBusiness, crAll}) {
        const int statements = int(ClearDataStatements(range).size());
        for (int n = 1; n <= statements; ++n) {
            SCOPED_TRACE(n);
            gDatabase->SetFailAt(n);
            EXPECT_THROW(ClearData(range), EDatabaseError);
            gDatabase->SetFailAt(0);
            EXPECT_FALSE(gDatabase->InTransaction());
            EXPECT_EQ(DatabaseSnapshot(), before);
        }
    }
}

CZ_INSTANTIATE_ENGINES(ClearDataTest);

} // namespace
