#include "ReportTestData.h"

#include <QDate>
#include <QDateTime>

namespace reporttest {

std::unique_ptr<TReportMemoryData> materials(const QString& name, int rows, bool priceVisible)
{
    auto d = std::make_unique<TReportMemoryData>(name);
    d->addField(QStringLiteral("Id"), QStringLiteral("Id"));
    d->addField(QStringLiteral("ClassId"), QString(), false);
    d->addField(QStringLiteral("CataCode"), QString(), false);
    d->addField(QStringLiteral("CataName"), QStringLiteral("类别"));
    d->addField(QStringLiteral("Code"), QStringLiteral("货号"));
    d->addField(QStringLiteral("Name"), QStringLiteral("品名"));
    d->addField(QStringLiteral("LookId"), QStringLiteral("助查码"));
    d->addField(QStringLiteral("S1"), QStringLiteral("规格"));
    d->addField(QStringLiteral("S2"), QStringLiteral("型号"));
    d->addField(QStringLiteral("S3"), QStringLiteral("品牌"));
    d->addField(QStringLiteral("S4"), QStringLiteral("包装"));
    d->addField(QStringLiteral("S5"), QStringLiteral("单位"));
    d->addField(QStringLiteral("Price"), QStringLiteral("价格"), priceVisible);
    d->addField(QStringLiteral("F2"), QStringLiteral("出库价"));
    d->addField(QStringLiteral("F3"), QStringLiteral("库存下限"));
    d->addField(QStringLiteral("F4"), QStringLiteral("库存上限"));
    d->addField(QStringLiteral("F5"), QStringLiteral("其他"));
    d->addField(QStringLiteral("Notes"), QStringLiteral("备注"));
    d->addField(QStringLiteral("Stock"), QStringLiteral("库存"));
    for (int i = 1; i <= rows; ++i) {
        d->addRow({i, 3, QStringLiteral("3."), QStringLiteral("钢材"),
                   QStringLiteral("M%1").arg(i, 4, 10, QLatin1Char('0')),
                   QStringLiteral("舟生钢板%1号").arg(i), QStringLiteral("ZSGB"),
                   QStringLiteral("1.5mm×1000mm"), QStringLiteral("Q235"), QStringLiteral("十方"),
                   QStringLiteral("捆"), QStringLiteral("张"), 12.5 + i, QVariant(), 10.0, 500.0, QVariant(),
                   QString(), double(i * 10)});
    }
    return d;
}

std::unique_ptr<TReportMemoryData> products(const QString& name, int rows)
{
    auto d = std::make_unique<TReportMemoryData>(name);
    d->addField(QStringLiteral("Id"), QStringLiteral("Id"), false);
    d->addField(QStringLiteral("ClassId"), QString(), false);
    d->addField(QStringLiteral("CataCode"), QString(), false);
    d->addField(QStringLiteral("CataName"), QStringLiteral("产品类别"));
    d->addField(QStringLiteral("Code"), QStringLiteral("货号"));
    d->addField(QStringLiteral("Name"), QStringLiteral("品名"));
    d->addField(QStringLiteral("LookId"), QStringLiteral("助查码"));
    d->addField(QStringLiteral("S1"), QStringLiteral("规格"));
    d->addField(QStringLiteral("S2"), QStringLiteral("型号"));
    d->addField(QStringLiteral("S3"), QStringLiteral("品牌"));
    d->addField(QStringLiteral("S4"), QStringLiteral("包装"));
    d->addField(QStringLiteral("S5"), QStringLiteral("单位"));
    d->addField(QStringLiteral("F1"), QStringLiteral("入库价"));
    d->addField(QStringLiteral("F2"), QStringLiteral("出库价"));
    d->addField(QStringLiteral("F3"), QStringLiteral("库存下限"));
    d->addField(QStringLiteral("F4"), QStringLiteral("库存上限"));
    d->addField(QStringLiteral("F5"), QStringLiteral("其他"));
    d->addField(QStringLiteral("Notes"), QStringLiteral("备注"));
    for (int i = 1; i <= rows; ++i) {
        d->addRow({i, 1, QStringLiteral("1."), QStringLiteral("成品"),
                   QStringLiteral("P%1").arg(i, 3, 10, QLatin1Char('0')),
                   QStringLiteral("澄舟货架%1型").arg(i), QStringLiteral("CZHJ"),
                   QStringLiteral("2000×600×1800"), QStringLiteral("HJ-%1").arg(i), QString(), QString(),
                   QStringLiteral("台"), 880.0, 1200.0, QVariant(), QVariant(), QVariant(), QString()});
    }
    return d;
}

std::unique_ptr<TReportMemoryData> bom(const QString& name, int rows, bool priceVisible)
{
    auto d = std::make_unique<TReportMemoryData>(name);
    d->addField(QStringLiteral("Id"), QStringLiteral("Id"), false);
    d->addField(QStringLiteral("MaterialId"), QString(), false);
    d->addField(QStringLiteral("MaterialCode"), QStringLiteral("货号"));
    d->addField(QStringLiteral("MaterialName"), QStringLiteral("品名"));
    d->addField(QStringLiteral("MaterialS1"), QStringLiteral("规格"));
    d->addField(QStringLiteral("MaterialS2"), QStringLiteral("型号"));
    d->addField(QStringLiteral("MaterialS3"), QStringLiteral("品牌"));
    d->addField(QStringLiteral("MaterialS4"), QStringLiteral("包装"));
    d->addField(QStringLiteral("MaterialS5"), QStringLiteral("单位"));
    d->addField(QStringLiteral("MaterialPrice"), QStringLiteral("价格"), priceVisible);
    d->addField(QStringLiteral("Qty"), QStringLiteral("数量"));
    d->addField(QStringLiteral("Fund"), QStringLiteral("金额"), priceVisible);
    d->addField(QStringLiteral("Notes"), QStringLiteral("备注"));
    d->addField(QStringLiteral("BomS01"), QStringLiteral("描述01"));
    d->addField(QStringLiteral("BomS02"), QStringLiteral("描述02"));
    d->addField(QStringLiteral("BomS03"), QStringLiteral("描述03"));
    for (int i = 1; i <= rows; ++i) {
        const double price = 2.5 * i;
        const double qty = i;
        d->addRow({i, 100 + i, QStringLiteral("M%1").arg(i, 4, 10, QLatin1Char('0')),
                   QStringLiteral("立柱%1").arg(i), QStringLiteral("40×40"), QString(), QString(), QString(),
                   QStringLiteral("根"), price, qty, price * qty, QStringLiteral("生产用"), QString(),
                   QString(), QString()});
    }
    return d;
}

std::unique_ptr<TReportMemoryData> touchans(const QString& name, int rows)
{
    auto d = std::make_unique<TReportMemoryData>(name);
    d->addField(QStringLiteral("Id"), QStringLiteral("ID"));
    d->addField(QStringLiteral("ProductId"));
    d->addField(QStringLiteral("ProductCode"), QStringLiteral("货号"));
    d->addField(QStringLiteral("ProductName"), QStringLiteral("品名"));
    d->addField(QStringLiteral("ProductS1"), QStringLiteral("规格"));
    d->addField(QStringLiteral("ProductS2"), QStringLiteral("型号"));
    d->addField(QStringLiteral("ProductS3"), QStringLiteral("品牌"));
    d->addField(QStringLiteral("ProductS4"), QStringLiteral("包装"));
    d->addField(QStringLiteral("ProductS5"), QStringLiteral("单位"));
    d->addField(QStringLiteral("ProductF1"), QStringLiteral("入库价"));
    d->addField(QStringLiteral("ProductF2"), QStringLiteral("出库价"));
    d->addField(QStringLiteral("ProductF3"), QStringLiteral("库存下限"));
    d->addField(QStringLiteral("ProductF4"), QStringLiteral("库存上限"));
    d->addField(QStringLiteral("ProductF5"), QStringLiteral("其他"));
    d->addField(QStringLiteral("TouDate"), QStringLiteral("投产日期"));
    d->addField(QStringLiteral("Qty"), QStringLiteral("投产数量"));
    d->addField(QStringLiteral("ComQty"), QStringLiteral("完成数量"));
    d->addField(QStringLiteral("Notes"), QStringLiteral("备注"));
    d->addField(QStringLiteral("Status"), QStringLiteral("状态"));
    for (int i = 1; i <= rows; ++i) {
        d->addRow({i, 7, QStringLiteral("P007"), QStringLiteral("澄舟货架"), QStringLiteral("2000×600"),
                   QString(), QString(), QString(), QStringLiteral("台"), QVariant(), QVariant(), QVariant(),
                   QVariant(), QVariant(), QDateTime(QDate(2026, 3, i % 28 + 1), QTime(0, 0)), double(i),
                   double(i) / 2, QStringLiteral("加急"), i % 2 ? QStringLiteral("执行") : QString()});
    }
    return d;
}

std::unique_ptr<TReportMemoryData> requirements(const QString& name, int rows)
{
    auto d = std::make_unique<TReportMemoryData>(name);
    d->addField(QStringLiteral("Id"));
    d->addField(QStringLiteral("MaterialId"));
    d->addField(QStringLiteral("MaterialCode"), QStringLiteral("货号"));
    d->addField(QStringLiteral("MaterialName"), QStringLiteral("品名"));
    d->addField(QStringLiteral("MaterialS1"), QStringLiteral("规格"));
    d->addField(QStringLiteral("MaterialS2"), QStringLiteral("型号"));
    d->addField(QStringLiteral("MaterialS3"), QStringLiteral("品牌"));
    d->addField(QStringLiteral("MaterialS4"), QStringLiteral("包装"));
    d->addField(QStringLiteral("MaterialS5"), QStringLiteral("单位"));
    d->addField(QStringLiteral("RequireQty"), QStringLiteral("物料|需求"));
    d->addField(QStringLiteral("StockQty"), QStringLiteral("物料|库存"));
    d->addField(QStringLiteral("AppQty"), QStringLiteral("物料|在途申购"));
    d->addField(QStringLiteral("DuanQty"), QStringLiteral("物料|短缺"));
    for (int i = 1; i <= rows; ++i) {
        const double need = 30;
        const double stock = 10 * i;
        const QVariant duan = stock >= need ? QVariant() : QVariant(stock - need);
        d->addRow({QVariant(), i, QStringLiteral("M%1").arg(i, 4, 10, QLatin1Char('0')),
                   QStringLiteral("螺丝%1").arg(i), QStringLiteral("M6×20"), QString(), QString(), QString(),
                   QStringLiteral("个"), need, stock, 0.0, duan});
    }
    return d;
}

std::unique_ptr<TReportMemoryData> progress(const QString& name, int rows)
{
    auto d = std::make_unique<TReportMemoryData>(name);
    d->addField(QStringLiteral("TouchanId"));
    d->addField(QStringLiteral("ProductId"));
    d->addField(QStringLiteral("ProductCode"), QStringLiteral("货号"));
    d->addField(QStringLiteral("ProductName"), QStringLiteral("品名"));
    d->addField(QStringLiteral("ProductS1"), QStringLiteral("规格"));
    d->addField(QStringLiteral("ProductS2"), QStringLiteral("型号"));
    d->addField(QStringLiteral("ProductS3"), QStringLiteral("品牌"));
    d->addField(QStringLiteral("ProductS4"), QStringLiteral("包装"));
    d->addField(QStringLiteral("ProductS5"), QStringLiteral("单位"));
    d->addField(QStringLiteral("ProductF1"), QStringLiteral("入库价"));
    d->addField(QStringLiteral("ProductF2"), QStringLiteral("出库价"));
    d->addField(QStringLiteral("ProductF3"), QStringLiteral("库存下限"));
    d->addField(QStringLiteral("ProductF4"), QStringLiteral("库存上限"));
    d->addField(QStringLiteral("ProductF5"), QStringLiteral("其他"));
    d->addField(QStringLiteral("QtyIn"), QStringLiteral("成品|入库"));
    d->addField(QStringLiteral("QtyOut"), QStringLiteral("成品|退库"));
    d->addField(QStringLiteral("Progress"), QStringLiteral("进度"));
    for (int i = 1; i <= rows; ++i) {
        d->addRow({i, 7, QStringLiteral("P007"), QStringLiteral("澄舟货架"), QStringLiteral("2000×600"),
                   QString(), QString(), QString(), QStringLiteral("台"), QVariant(), QVariant(), QVariant(),
                   QVariant(), QVariant(), double(5 * i), i % 3 ? QVariant() : QVariant(1.0), QVariant()});
    }
    return d;
}

RReportObject text(const QString& content, double x, double y, double width, double height)
{
    RReportObject o;
    o.kind = TObjectKind::Text;
    o.text = content;
    o.geometry = QRectF(x, y, width, height);
    return o;
}

RReportBand band(TBandKind kind, double height, const QList<RReportObject>& objects, const QString& name)
{
    RReportBand b;
    b.kind = kind;
    b.height = height;
    b.objects = objects;
    b.name = name;
    return b;
}

TReportTemplate report(const QList<RReportBand>& bands)
{
    TReportTemplate t = TReportTemplate::emptyReport();
    t.pages.first().bands = bands;
    return t;
}

} // namespace reporttest
