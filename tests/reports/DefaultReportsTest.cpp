#include "ReportTestData.h"

#include "reports/DefaultReports.h"
#include "reports/ReportEngine.h"
#include "reports/ReportExporter.h"

#include <gtest/gtest.h>

using namespace reporttest;

namespace {

struct RPrinted
{
    TReportDocument doc;
    QStringList warnings;
    QString all;
};

RPrinted print(int group, const QList<const TReportDataSource*>& sets)
{
    TReportTemplate t;
    QString error;
    EXPECT_TRUE(t.load(TDefaultReports::forGroup(group), &error)) << error.toStdString();
    TReportEngine engine;
    for (const TReportDataSource* s : sets)
        engine.addDataSource(s);
    engine.setVariable(QStringLiteral("u_Company"), QStringLiteral("澄舟机械厂"));
    engine.setVariable(QStringLiteral("u_Operator"), QStringLiteral("sa"));
    engine.setNow(QDateTime(QDate(2026, 1, 16), QTime(9, 0)));
    engine.setTemplate(t);
    RPrinted out;
    out.doc = engine.prepare();
    out.warnings = engine.warnings();
    for (int p = 0; p < out.doc.pageCount(); ++p)
        out.all += out.doc.pageText(p) + QLatin1Char('\n');
    return out;
}

void expectCommonParts(const RPrinted& r, int pages)
{
    EXPECT_TRUE(r.warnings.isEmpty()) << r.warnings.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(r.doc.pageCount(), pages);
    for (int p = 0; p < pages; ++p) {
        const QString page = r.doc.pageText(p);
        EXPECT_TRUE(page.startsWith(QStringLiteral("澄舟机械厂\n打印日期:2026-01-16"))) << page.toStdString();
        EXPECT_TRUE(page.endsWith(QStringLiteral("第 %1 页 共 %2 页").arg(p + 1).arg(pages)))
            << page.toStdString();
        EXPECT_EQ(r.doc.pages.at(p).size, QSizeF(210, 297));
        for (const RReportItem& item : r.doc.pages.at(p).items)
            EXPECT_LE(item.rect.right(), 200.001) << "everything stays inside the right margin";
    }
}

} // namespace

TEST(DefaultReports, OneParsingTemplatePerGroup)
{
    const QList<TDefaultReports::RDefaultReport> all = TDefaultReports::all();
    ASSERT_EQ(all.size(), 5);
    int group = 5;
    for (const auto& r : all) {
        EXPECT_EQ(r.groupId, group++);
        EXPECT_FALSE(r.title.isEmpty());
        TReportTemplate t;
        QString error;
        ASSERT_TRUE(t.load(r.xml, &error)) << r.groupId << error.toStdString();
        TReportTemplate again;
        ASSERT_TRUE(again.load(t.toXml()));
        EXPECT_TRUE(again == t);
        EXPECT_EQ(t.pages.first().paper, TPaperKind::A4);
    }
    EXPECT_TRUE(TDefaultReports::forGroup(4).isEmpty());
}

TEST(DefaultReports, Materials)
{
    auto d0 = materials(QStringLiteral("d0"), 100);
    const RPrinted r = print(5, {d0.get()});
    expectCommonParts(r, 3);
    EXPECT_TRUE(r.all.contains(QStringLiteral("原材料清单")));
    EXPECT_TRUE(r.all.contains(QStringLiteral("序号\n类别\n货号\n品名\n规格\n型号\n单位\n价格\n库存")));
    EXPECT_TRUE(
        r.all.contains(QStringLiteral("1\n钢材\nM0001\n舟生钢板1号\n1.5mm×1000mm\nQ235\n张\n13.50\n10")));
    EXPECT_TRUE(r.all.contains(QStringLiteral("共 100 种原材料")));

    // Without the right to see prices the price column stays empty.
    auto hidden = materials(QStringLiteral("d0"), 1, false);
    const RPrinted h = print(5, {hidden.get()});
    EXPECT_FALSE(h.all.contains(QStringLiteral("价格")));
    EXPECT_FALSE(h.all.contains(QStringLiteral("13.50")));
}

TEST(DefaultReports, ProductsWithTheirBillOfMaterials)
{
    auto d0 = products(QStringLiteral("d0"), 3);
    auto d1 = bom(QStringLiteral("d1"), 4);
    const RPrinted r = print(6, {d0.get(), d1.get()});
    expectCommonParts(r, 1);
    EXPECT_TRUE(
        r.all.contains(QStringLiteral("序号\n产品类别\n货号\n品名\n规格\n型号\n单位\n入库价\n出库价")));
    EXPECT_TRUE(r.all.contains(QStringLiteral("3\n成品\nP003\n澄舟货架3型")));
    EXPECT_TRUE(r.all.contains(QStringLiteral("共 3 种产品")));
    EXPECT_TRUE(r.all.contains(
        QStringLiteral("当前产品 BOM 表\n序号\n货号\n品名\n规格\n单位\n数量\n价格\n金额\n备注")));
    EXPECT_TRUE(r.all.contains(QStringLiteral("4\nM0004\n立柱4\n40×40\n根\n4\n10.00\n40.00\n生产用")));
    // 2.5 + 10 + 22.5 + 40 = 75
    EXPECT_TRUE(r.all.contains(QStringLiteral("共 4 种物料\n合计 75.00")));
}

TEST(DefaultReports, ProductionOrders)
{
    auto d0 = touchans(QStringLiteral("d0"), 10);
    const RPrinted r = print(7, {d0.get()});
    expectCommonParts(r, 1);
    EXPECT_TRUE(r.all.contains(
        QStringLiteral("ID\n货号\n品名\n规格\n单位\n投产日期\n投产数量\n完成数量\n状态\n备注")));
    EXPECT_TRUE(
        r.all.contains(QStringLiteral("3\nP007\n澄舟货架\n2000×600\n台\n2026-03-04\n3\n1.5\n执行\n加急")));
    EXPECT_TRUE(r.all.contains(QStringLiteral("共 10 张投产单\n55\n27.5")));
}

TEST(DefaultReports, MaterialRequirementList)
{
    auto d0 = requirements(QStringLiteral("d0"), 5);
    const RPrinted r = print(8, {d0.get()});
    expectCommonParts(r, 1);
    // Two-level titles: "物料" over 需求, 库存, 在途申购 and 短缺.
    EXPECT_TRUE(r.all.contains(
        QStringLiteral("序号\n货号\n品名\n规格\n型号\n单位\n物料\n需求\n库存\n在途申购\n短缺")));
    EXPECT_TRUE(r.all.contains(QStringLiteral("1\nM0001\n螺丝1\nM6×20\n个\n30\n10\n0\n-20")));
    EXPECT_TRUE(r.all.contains(QStringLiteral("共 5 种物料,其中短缺 2 种")));
}

TEST(DefaultReports, ProductionProgress)
{
    auto d0 = progress(QStringLiteral("d0"), 6);
    const RPrinted r = print(9, {d0.get()});
    expectCommonParts(r, 1);
    EXPECT_TRUE(r.all.contains(QStringLiteral("投产 ID\n货号\n品名\n规格\n型号\n单位\n成品\n入库\n退库")));
    EXPECT_TRUE(r.all.contains(QStringLiteral("共 6 张投产单\n105\n2")));
}

TEST(DefaultReports, EmptyDataSetsStillPrintOnePage)
{
    for (int group : {5, 7, 8, 9}) {
        auto d0 = requirements(QStringLiteral("d0"), 0);
        TReportTemplate t;
        ASSERT_TRUE(t.load(TDefaultReports::forGroup(group)));
        TReportEngine engine;
        engine.addDataSource(d0.get());
        engine.setTemplate(t);
        const TReportDocument doc = engine.prepare();
        EXPECT_EQ(doc.pageCount(), 1) << group;
        EXPECT_TRUE(doc.pageText(0).contains(QStringLiteral("共 0 "))) << group;
    }
}
