#include "ReportTestData.h"

#include "reports/ReportEngine.h"

#include <gtest/gtest.h>

using namespace reporttest;

namespace {

// Texts of a document (or one page) in printing order.
QStringList texts(const TReportDocument& doc, int page = -1)
{
    QStringList out;
    for (int p = 0; p < doc.pages.size(); ++p) {
        if (page >= 0 && p != page)
            continue;
        for (const RReportItem& item : doc.pages.at(p).items) {
            if (item.kind == TItemKind::Text)
                out.append(item.text);
        }
    }
    return out;
}

RReportBand data(TBandKind kind, const QString& name, const QString& set, double height,
                 const QList<RReportObject>& objects)
{
    RReportBand b = band(kind, height, objects, name);
    b.dataSet = set;
    return b;
}

RReportBand owned(TBandKind kind, const QString& owner, double height, const QList<RReportObject>& objects,
                  const QString& name = QString())
{
    RReportBand b = band(kind, height, objects, name);
    b.owner = owner;
    return b;
}

std::unique_ptr<TReportMemoryData> lines(const QString& name, const QList<QVariantList>& rows)
{
    auto d = std::make_unique<TReportMemoryData>(name);
    d->addField(QStringLiteral("ProductId"));
    d->addField(QStringLiteral("Name"), QStringLiteral("名称"));
    d->addField(QStringLiteral("Qty"), QStringLiteral("数量"));
    for (const QVariantList& r : rows)
        d->addRow(r);
    return d;
}

std::unique_ptr<TReportMemoryData> numbered(const QString& name, int rows)
{
    auto d = std::make_unique<TReportMemoryData>(name);
    d->addField(QStringLiteral("N"));
    for (int i = 1; i <= rows; ++i)
        d->addRow({i});
    return d;
}

} // namespace

TEST(ReportEngine, MasterRowsWithLinkedDetailsAndADetailOnItsOwn)
{
    auto d0 = products(QStringLiteral("d0"), 3);
    auto d1 = lines(QStringLiteral("d1"), {{1, QStringLiteral("立柱"), 4.0},
                                           {3, QStringLiteral("横梁"), 2.0},
                                           {1, QStringLiteral("螺丝"), 16.0}});
    RReportBand detail = data(TBandKind::DetailData, QStringLiteral("D1"), QStringLiteral("d1"), 5,
                              {text(QStringLiteral("- [d1.Name] [d1.Qty]"))});
    detail.owner = QStringLiteral("M1");
    detail.masterKey = QStringLiteral("Id");
    detail.detailKey = QStringLiteral("productid");
    RReportBand alone = data(TBandKind::DetailData, QStringLiteral("D2"), QStringLiteral("d1"), 5,
                             {text(QStringLiteral("* [d1.Name]"))});
    TReportEngine engine;
    engine.addDataSource(d0.get());
    engine.addDataSource(d1.get());
    engine.setTemplate(report(
        {data(TBandKind::MasterData, QStringLiteral("M1"), QStringLiteral("d0"), 6,
              {text(QStringLiteral("[d0.Code]: [Count(d1)] 行 共 [Sum(d1.Qty)]"))}),
         detail,
         owned(TBandKind::DataFooter, QStringLiteral("D1"), 5, {text(QStringLiteral("小计 [Sum(d1.Qty)]"))}),
         alone}));
    const TReportDocument doc = engine.prepare();
    EXPECT_TRUE(engine.warnings().isEmpty()) << engine.warnings().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(texts(doc),
              (QStringList{QStringLiteral("P001: 2 行 共 20"), QStringLiteral("- 立柱 4"),
                           QStringLiteral("- 螺丝 16"), QStringLiteral("小计 20"),
                           QStringLiteral("P002: 0 行 共 0"), QStringLiteral("P003: 1 行 共 2"),
                           QStringLiteral("- 横梁 2"), QStringLiteral("小计 2"), QStringLiteral("* 立柱"),
                           QStringLiteral("* 横梁"), QStringLiteral("* 螺丝")}));
}

TEST(ReportEngine, DetailWithoutKeysRepeatsUnderEveryMasterRow)
{
    auto d0 = numbered(QStringLiteral("d0"), 2);
    auto d1 = lines(QStringLiteral("d1"), {{0, QStringLiteral("甲"), 1.0}, {0, QStringLiteral("乙"), 1.0}});
    RReportBand detail = data(TBandKind::DetailData, QStringLiteral("D1"), QStringLiteral("d1"), 5,
                              {text(QStringLiteral("[d0.N][d1.Name]"))});
    detail.owner = QStringLiteral("M1");
    TReportEngine engine;
    engine.addDataSource(d0.get());
    engine.addDataSource(d1.get());
    engine.setTemplate(report({data(TBandKind::MasterData, QStringLiteral("M1"), QStringLiteral("d0"), 6,
                                    {text(QStringLiteral("#[d0.N]"))}),
                               detail}));
    EXPECT_EQ(texts(engine.prepare()),
              (QStringList{QStringLiteral("#1"), QStringLiteral("1甲"), QStringLiteral("1乙"),
                           QStringLiteral("#2"), QStringLiteral("2甲"), QStringLiteral("2乙")}));
}

TEST(ReportEngine, NestedGroupsWithHeadersFootersAndSums)
{
    auto d0 = std::make_unique<TReportMemoryData>(QStringLiteral("d0"));
    d0->addField(QStringLiteral("Cls"));
    d0->addField(QStringLiteral("Sub"));
    d0->addField(QStringLiteral("Qty"));
    for (const QVariantList& r : QList<QVariantList>{{QStringLiteral("A"), QStringLiteral("x"), 1.0},
                                                     {QStringLiteral("A"), QStringLiteral("y"), 2.0},
                                                     {QStringLiteral("A"), QStringLiteral("y"), 3.0},
                                                     {QStringLiteral("B"), QStringLiteral("y"), 4.0}})
        d0->addRow(r);
    RReportBand outer = owned(TBandKind::GroupHeader, QStringLiteral("M1"), 6,
                              {text(QStringLiteral("[d0.Cls]:[Count(d0)]"))}, QStringLiteral("G1"));
    outer.condition = QStringLiteral("d0.Cls");
    RReportBand inner = owned(TBandKind::GroupHeader, QStringLiteral("M1"), 6,
                              {text(QStringLiteral("  [d0.Sub]"))}, QStringLiteral("G2"));
    inner.condition = QStringLiteral("[d0.Sub]");
    TReportEngine engine;
    engine.addDataSource(d0.get());
    engine.setTemplate(report(
        {outer, inner,
         data(TBandKind::MasterData, QStringLiteral("M1"), QStringLiteral("d0"), 5,
              {text(QStringLiteral("    [d0.Qty]"))}),
         owned(TBandKind::GroupFooter, QStringLiteral("G2"), 5, {text(QStringLiteral("  =[Sum(d0.Qty)]"))}),
         owned(TBandKind::GroupFooter, QStringLiteral("G1"), 5,
               {text(QStringLiteral("[d0.Cls] 合计 [Sum(d0.Qty)] 平均 [Avg(d0.Qty)]"))}),
         band(TBandKind::ReportSummary, 5,
              {text(QStringLiteral("总计 [Sum(d0.Qty)] 最大 [Max(d0.Qty)] 最小 [Min(d0.Qty)]"))})}));
    EXPECT_EQ(texts(engine.prepare()),
              (QStringList{QStringLiteral("A:3"), QStringLiteral("  x"), QStringLiteral("    1"),
                           QStringLiteral("  =1"), QStringLiteral("  y"), QStringLiteral("    2"),
                           QStringLiteral("    3"), QStringLiteral("  =5"), QStringLiteral("A 合计 6 平均 2"),
                           QStringLiteral("B:1"), QStringLiteral("  y"), QStringLiteral("    4"),
                           QStringLiteral("  =4"), QStringLiteral("B 合计 4 平均 4"),
                           QStringLiteral("总计 10 最大 4 最小 1")}));
}

TEST(ReportEngine, PagesBreakWhenFullAndCountThemselves)
{
    // A4 with 10 mm margins: 277 mm, less page header 10, footer 10, repeated column titles 7
    // leaves 250 mm, that is 25 rows of 10 mm per page.
    auto d0 = numbered(QStringLiteral("d0"), 60);
    TReportEngine engine;
    engine.addDataSource(d0.get());
    RReportBand header =
        owned(TBandKind::DataHeader, QStringLiteral("M1"), 7, {text(QStringLiteral("编号"))});
    header.repeatOnEveryPage = true;
    engine.setTemplate(
        report({band(TBandKind::PageHeader, 10, {text(QStringLiteral("页眉"))}), header,
                data(TBandKind::MasterData, QStringLiteral("M1"), QStringLiteral("d0"), 10,
                     {text(QStringLiteral("[d0.N]"))}),
                band(TBandKind::PageFooter, 10,
                     {text(QStringLiteral("第 [Page] 页 共 [TotalPages] 页 本页 [Sum(d0.N)]"))})}));
    const TReportDocument doc = engine.prepare();
    ASSERT_EQ(doc.pageCount(), 3);
    const int perPage[] = {25, 25, 10};
    int first = 1;
    for (int p = 0; p < 3; ++p) {
        const QStringList t = texts(doc, p);
        ASSERT_EQ(t.size(), perPage[p] + 3) << "page " << p;
        EXPECT_EQ(t.at(0), QStringLiteral("页眉"));
        EXPECT_EQ(t.at(1), QStringLiteral("编号")) << "column titles repeat on every page";
        EXPECT_EQ(t.at(2), QString::number(first));
        const int last = first + perPage[p] - 1;
        EXPECT_EQ(t.last(),
                  QStringLiteral("第 %1 页 共 3 页 本页 %2").arg(p + 1).arg((first + last) * perPage[p] / 2));
        for (const RReportItem& item : doc.pages.at(p).items) {
            EXPECT_LE(item.rect.bottom(), 297 - 10 + 0.001);
            if (item.band == TBandKind::MasterData) {
                EXPECT_LE(item.rect.bottom(), 297 - 20 + 0.001) << "rows stay above the page footer";
            }
            if (item.band == TBandKind::DataHeader) {
                EXPECT_EQ(item.repeatedBand, p > 0);
            }
        }
        first = last + 1;
    }
}

TEST(ReportEngine, PageBreakOptions)
{
    auto d0 = std::make_unique<TReportMemoryData>(QStringLiteral("d0"));
    d0->addField(QStringLiteral("Cls"));
    d0->addField(QStringLiteral("N"));
    for (int i = 1; i <= 5; ++i)
        d0->addRow({i <= 2 ? QStringLiteral("A") : QStringLiteral("B"), i});
    RReportBand group = owned(TBandKind::GroupHeader, QStringLiteral("M1"), 6,
                              {text(QStringLiteral("[d0.Cls]"))}, QStringLiteral("G1"));
    group.condition = QStringLiteral("d0.Cls");
    group.startNewPage = true;
    RReportBand summary = band(TBandKind::ReportSummary, 6, {text(QStringLiteral("完"))});
    summary.startNewPage = true;
    RReportBand title = band(TBandKind::ReportTitle, 6, {text(QStringLiteral("标题"))});
    RReportBand master = data(TBandKind::MasterData, QStringLiteral("M1"), QStringLiteral("d0"), 6,
                              {text(QStringLiteral("[d0.N]"))});
    TReportEngine engine;
    engine.addDataSource(d0.get());
    engine.setTemplate(report({title, group, master, summary}));
    TReportDocument doc = engine.prepare();
    ASSERT_EQ(doc.pageCount(), 3);
    EXPECT_EQ(texts(doc, 0), (QStringList{QStringLiteral("标题"), QStringLiteral("A"), QStringLiteral("1"),
                                          QStringLiteral("2")}));
    EXPECT_EQ(texts(doc, 1), (QStringList{QStringLiteral("B"), QStringLiteral("3"), QStringLiteral("4"),
                                          QStringLiteral("5")}));
    EXPECT_EQ(texts(doc, 2), QStringList{QStringLiteral("完")});

    // A break after every row; no empty page is left at the end.
    master.newPageAfter = true;
    engine.setTemplate(report({master}));
    doc = engine.prepare();
    ASSERT_EQ(doc.pageCount(), 5);
    EXPECT_EQ(texts(doc, 4), QStringList{QStringLiteral("5")});
}

TEST(ReportEngine, KeepTogetherMovesAMasterRowWithItsDetailsToTheNextPage)
{
    // 25 filler rows of 10 mm leave 257 - 250 = 7 mm: the kept block (6 + 3 × 5 mm) moves on.
    auto filler = numbered(QStringLiteral("f"), 25);
    auto d0 = numbered(QStringLiteral("d0"), 1);
    auto d1 =
        lines(QStringLiteral("d1"),
              {{1, QStringLiteral("a"), 1.0}, {1, QStringLiteral("b"), 1.0}, {1, QStringLiteral("c"), 1.0}});
    RReportBand master = data(TBandKind::MasterData, QStringLiteral("M1"), QStringLiteral("d0"), 6,
                              {text(QStringLiteral("主[d0.N]"))});
    RReportBand detail = data(TBandKind::DetailData, QStringLiteral("D1"), QStringLiteral("d1"), 5,
                              {text(QStringLiteral("[d1.Name]"))});
    detail.owner = QStringLiteral("M1");
    const auto run = [&](bool keep) {
        master.keepTogether = keep;
        TReportEngine engine;
        engine.addDataSource(filler.get());
        engine.addDataSource(d0.get());
        engine.addDataSource(d1.get());
        engine.setTemplate(report({band(TBandKind::PageHeader, 10, {}), band(TBandKind::PageFooter, 10, {}),
                                   data(TBandKind::MasterData, QStringLiteral("F"), QStringLiteral("f"), 10,
                                        {text(QStringLiteral("[f.N]"))}),
                                   master, detail}));
        return engine.prepare();
    };
    TReportDocument loose = run(false);
    ASSERT_EQ(loose.pageCount(), 2);
    EXPECT_EQ(texts(loose, 0).last(), QStringLiteral("主1"));
    EXPECT_EQ(texts(loose, 1).first(), QStringLiteral("a"));

    TReportDocument kept = run(true);
    ASSERT_EQ(kept.pageCount(), 2);
    EXPECT_EQ(texts(kept, 0).last(), QStringLiteral("25"));
    EXPECT_EQ(texts(kept, 1), (QStringList{QStringLiteral("主1"), QStringLiteral("a"), QStringLiteral("b"),
                                           QStringLiteral("c")}));
}

TEST(ReportEngine, GrowingTextsStretchTheirNeighbours)
{
    auto d0 = std::make_unique<TReportMemoryData>(QStringLiteral("d0"));
    d0->addField(QStringLiteral("S1"));
    d0->addRow({QStringLiteral("很长的规格说明文字会自动换行显示在多行之中,直到全部内容都能看到为止")});
    d0->addRow({QStringLiteral("短")});
    RReportObject longText = text(QStringLiteral("[d0.S1]"), 0, 0, 30, 6);
    longText.wordWrap = longText.canGrow = true;
    RReportObject neighbour = text(QStringLiteral("邻"), 30, 0, 20, 6);
    neighbour.stretch = true;
    neighbour.borders = BorderAll;
    RReportBand master =
        data(TBandKind::MasterData, QStringLiteral("M1"), QStringLiteral("d0"), 6, {longText, neighbour});
    master.canGrow = true;
    TReportEngine engine;
    engine.addDataSource(d0.get());
    engine.setTemplate(report({master}));
    const TReportDocument doc = engine.prepare();
    const QList<RReportItem>& items = doc.pages.first().items;
    ASSERT_EQ(items.size(), 4);
    EXPECT_GT(items.at(0).lines.size(), 2);
    EXPECT_EQ(items.at(0).lines.join(QString()), d0->value(0, 0).toString());
    EXPECT_GT(items.at(0).rect.height(), 6);
    EXPECT_DOUBLE_EQ(items.at(1).rect.height(), items.at(0).rect.height());
    EXPECT_DOUBLE_EQ(items.at(2).rect.top(), items.at(0).rect.bottom())
        << "the next row starts below the grown one";
    EXPECT_DOUBLE_EQ(items.at(2).rect.height(), 6);
}

TEST(ReportEngine, MissingDataSetsAndFieldsAreReportedNotFatal)
{
    auto d0 = numbered(QStringLiteral("d0"), 2);
    TReportEngine engine;
    engine.addDataSource(d0.get());
    engine.setTemplate(report({data(TBandKind::MasterData, QStringLiteral("M1"), QStringLiteral("d0"), 6,
                                    {text(QStringLiteral("[d0.N] [d0.Nope]"))}),
                               data(TBandKind::MasterData, QStringLiteral("M2"), QStringLiteral("d1"), 6,
                                    {text(QStringLiteral("[d1.Code]"))}),
                               owned(TBandKind::GroupFooter, QStringLiteral("nothing"), 5, {})}));
    const TReportDocument doc = engine.prepare();
    EXPECT_EQ(texts(doc), (QStringList{QStringLiteral("1 d0.Nope"), QStringLiteral("2 d0.Nope")}));
    const QString w = engine.warnings().join(QLatin1Char('\n'));
    EXPECT_TRUE(w.contains(QStringLiteral("Nope")));
    EXPECT_TRUE(w.contains(QStringLiteral("d1")));
    EXPECT_TRUE(w.contains(QStringLiteral("nothing")));
}

TEST(ReportEngine, EmptyTemplateGivesOneEmptyPage)
{
    TReportEngine engine;
    engine.setTemplate(TReportTemplate::emptyReport());
    const TReportDocument doc = engine.prepare();
    ASSERT_EQ(doc.pageCount(), 1);
    EXPECT_TRUE(doc.pages.first().items.isEmpty());
    EXPECT_EQ(doc.pages.first().size, QSizeF(210, 297));
}

TEST(ReportEngine, AggregatesInADataRowRunOverTheBandsRows)
{
    auto d0 = numbered(QStringLiteral("d0"), 4);
    TReportEngine engine;
    engine.addDataSource(d0.get());
    engine.setTemplate(
        report({data(TBandKind::MasterData, QStringLiteral("M1"), QStringLiteral("d0"), 6,
                     {text(QStringLiteral("[d0.N] [Round(d0.N / Sum(d0.N) * 100, 0)]% [Line]"))}),
                band(TBandKind::ReportSummary, 6, {text(QStringLiteral("[Count(d0)] [Sum(d0.N)]"))})}));
    EXPECT_EQ(texts(engine.prepare()),
              (QStringList{QStringLiteral("1 10% 1"), QStringLiteral("2 20% 2"), QStringLiteral("3 30% 3"),
                           QStringLiteral("4 40% 4"), QStringLiteral("4 10")}));
}
