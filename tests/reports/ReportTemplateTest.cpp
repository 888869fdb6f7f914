#include "ReportTestData.h"

#include "reports/ReportTemplate.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace reporttest;

namespace {

// A template that uses every kind of band and object and every property away from its default.
TReportTemplate richTemplate()
{
    TReportTemplate t;
    t.title = QStringLiteral("全部 <对象> & \"引号\"");
    RReportPage a4;
    a4.setPaper(TPaperKind::A4);
    a4.marginLeft = 12.5;
    a4.marginTop = 7.25;
    a4.marginRight = 0.1 + 0.2; // not a short decimal: must survive exactly
    a4.marginBottom = 15;

    RReportObject title = text(QStringLiteral("[u_Company]\r\n第二行\t制表"), 1.1, 2.2, 100.3, 7.7);
    title.fontFamily = QStringLiteral("黑体");
    title.fontSize = 14.5;
    title.bold = title.italic = title.underline = true;
    title.color = QColor(10, 20, 30);
    title.fill = QColor(200, 210, 220, 128);
    title.hAlign = THAlign::Center;
    title.vAlign = TVAlign::Bottom;
    title.wordWrap = title.canGrow = title.stretch = true;
    title.borders = BorderLeft | BorderBottom;
    title.lineWidth = 0.35;
    title.lineColor = Qt::red;
    title.displayFormat = QStringLiteral("#,##0.00");
    title.printIf = QStringLiteral("[Page] > 1");
    title.name = QStringLiteral("Title1");

    RReportObject line;
    line.kind = TObjectKind::Line;
    line.geometry = QRectF(0, 9, 190, 0);
    RReportObject rect;
    rect.kind = TObjectKind::Rect;
    rect.geometry = QRectF(5, 5, 20, 10);
    rect.fill = QColor(Qt::yellow);
    QImage img(4, 3, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    RReportObject image;
    image.kind = TObjectKind::Image;
    image.geometry = QRectF(30, 0, 12, 9);
    image.imageData = png;
    image.keepAspect = false;
    RReportObject code;
    code.kind = TObjectKind::Barcode;
    code.text = QStringLiteral("[d0.Code]");
    code.barcode = TBarcodeKind::QrCode;
    code.showText = false;
    RReportObject check;
    check.kind = TObjectKind::CheckMark;
    check.text = QStringLiteral("[d0.Flag]");

    RReportBand header = band(TBandKind::PageHeader, 12, {title, line, rect, image}, QStringLiteral("PH"));
    header.printOnFirstPage = false;
    RReportBand master = band(TBandKind::MasterData, 6.5, {code, check}, QStringLiteral("M1"));
    master.dataSet = QStringLiteral("d0");
    master.canGrow = master.keepTogether = master.startNewPage = master.newPageAfter = true;
    RReportBand detail = band(TBandKind::DetailData, 5, {}, QStringLiteral("D1"));
    detail.dataSet = QStringLiteral("d1");
    detail.owner = QStringLiteral("M1");
    detail.masterKey = QStringLiteral("Id");
    detail.detailKey = QStringLiteral("ProductId");
    RReportBand group = band(TBandKind::GroupHeader, 7, {}, QStringLiteral("G1"));
    group.owner = QStringLiteral("M1");
    group.condition = QStringLiteral("d0.CataName");
    group.repeatOnEveryPage = true;
    a4.bands = {header, group, master, detail};

    RReportPage custom;
    custom.setPaper(TPaperKind::Custom);
    custom.paperWidth = 100;
    custom.paperHeight = 60;
    custom.landscape = true;
    custom.bands = {band(TBandKind::ReportSummary, 10, {text(QStringLiteral("[Sum(d0.Qty)]"))})};
    t.pages = {a4, custom};
    return t;
}

} // namespace

TEST(ReportTemplate, RoundTripKeepsEveryPropertyAndBytes)
{
    const TReportTemplate t = richTemplate();
    const QByteArray xml = t.toXml();
    TReportTemplate back;
    back.id = 42;
    QString error;
    ASSERT_TRUE(back.load(xml, &error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(back == t);
    EXPECT_EQ(back.pages.at(0).bands.at(0).objects.at(0).text, QStringLiteral("[u_Company]\r\n第二行\t制表"));
    EXPECT_EQ(back.pages.at(0).marginRight, 0.1 + 0.2);
    EXPECT_EQ(back.id, 42) << "loading keeps the catalogue number";
    EXPECT_EQ(back.toXml(), xml) << "a template written by the engine is written back byte for byte";

    // Through a device as well.
    QBuffer device;
    device.open(QIODevice::WriteOnly);
    ASSERT_TRUE(t.save(&device));
    device.close();
    device.open(QIODevice::ReadOnly);
    TReportTemplate viaDevice;
    ASSERT_TRUE(viaDevice.load(&device));
    EXPECT_TRUE(viaDevice == t);
}

TEST(ReportTemplate, PaperSizesAndOrientation)
{
    RReportPage p;
    const struct
    {
        TPaperKind kind;
        QSizeF size;
    } cases[] = {{TPaperKind::A4, {210, 297}},
                 {TPaperKind::A5, {148, 210}},
                 {TPaperKind::B5, {176, 250}},
                 {TPaperKind::A3, {297, 420}}};
    for (const auto& c : cases) {
        p.setPaper(c.kind);
        p.landscape = false;
        EXPECT_EQ(p.size(), c.size);
        p.landscape = true;
        EXPECT_EQ(p.size(), c.size.transposed());
    }
    // A standard paper ignores stray sizes in the file; a custom one keeps them.
    TReportTemplate t;
    ASSERT_TRUE(
        t.load(QByteArrayLiteral("<czreport version=\"1\"><page paper=\"A5\" width=\"1\" height=\"2\"/>"
                                 "<page paper=\"Custom\" width=\"80\" height=\"50\"/></czreport>")));
    EXPECT_EQ(t.pages.at(0).size(), QSizeF(148, 210));
    EXPECT_EQ(t.pages.at(1).size(), QSizeF(80, 50));
}

TEST(ReportTemplate, BlobsThatAreNoTemplateOpenAsEmptyReportWithMessage)
{
    QByteArray random(4096, Qt::Uninitialized);
    QRandomGenerator gen(7);
    for (char& c : random)
        c = char(gen.bounded(256));
    QByteArray ours = richTemplate().toXml();
    const struct
    {
        const char* what;
        QByteArray data;
    } cases[] = {
        {"another engine's XML",
         QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?><OtherReport Version=\"4.9\">"
                           "<ReportPage Name=\"Page1\"/></OtherReport>")},
        {"a binary form stream", QByteArrayLiteral("TPF0\x0bOtherReport\x0aReport1\x07Version\x06\x03"
                                                   "4.9\x00\x00")},
        {"random bytes", random},
        {"our document cut short", ours.left(ours.size() / 2)},
        {"a newer format version", QByteArrayLiteral("<czreport version=\"99\"><page/></czreport>")},
        {"an unknown band kind",
         QByteArrayLiteral("<czreport version=\"1\"><page><band kind=\"Nope\"/></page></czreport>")},
        {"broken image data",
         QByteArrayLiteral("<czreport version=\"1\"><page><band kind=\"MasterData\"><object "
                           "kind=\"Image\"><image>!!!</image></object></band></page></czreport>")},
        {"trailing garbage", ours + QByteArrayLiteral("<extra")},
    };
    for (const auto& c : cases) {
        TReportTemplate t = richTemplate();
        t.id = 5;
        QString error;
        EXPECT_FALSE(t.load(c.data, &error)) << c.what;
        EXPECT_TRUE(t == TReportTemplate::emptyReport()) << c.what;
        EXPECT_EQ(t.id, 5) << c.what;
        EXPECT_TRUE(error.contains(QStringLiteral("空白报表"))) << c.what << ": " << error.toStdString();
    }
}

TEST(ReportTemplate, EmptyBlobIsAnEmptyReportWithoutMessage)
{
    for (const QByteArray& data : {QByteArray(), QByteArrayLiteral("  \r\n")}) {
        TReportTemplate t = richTemplate();
        QString error = QStringLiteral("x");
        EXPECT_TRUE(t.load(data, &error));
        EXPECT_TRUE(error.isEmpty());
        EXPECT_TRUE(t == TReportTemplate::emptyReport());
        ASSERT_EQ(t.pages.size(), 1);
        EXPECT_EQ(t.pages.first().size(), QSizeF(210, 297));
    }
}

TEST(ReportTemplate, OutOfRangeValuesAreClamped)
{
    TReportTemplate t;
    ASSERT_TRUE(
        t.load(QByteArrayLiteral("<czreport version=\"1\"><page marginLeft=\"-5\"><band kind=\"PageHeader\" "
                                 "height=\"nan\"><object kind=\"Text\" size=\"0\" width=\"1e300\"/></band>"
                                 "</page></czreport>")));
    const RReportPage& p = t.pages.first();
    EXPECT_EQ(p.marginLeft, 0);
    EXPECT_EQ(p.bands.first().height, 8);
    EXPECT_EQ(p.bands.first().objects.first().fontSize, 1);
    EXPECT_LE(p.bands.first().objects.first().geometry.width(), 10000);
}
