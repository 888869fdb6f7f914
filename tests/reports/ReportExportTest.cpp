#include "ReportTestData.h"

#include "reports/ReportBarcode.h"
#include "reports/ReportEngine.h"
#include "reports/ReportExporter.h"
#include "reports/ReportFonts.h"
#include "reports/ReportHtmlWriter.h"
#include "reports/ReportXlsxWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace reporttest;

namespace {

// Characters that the Noto CJK fonts turn into radicals in a PDF's text layer, and more.
const QString kChinese =
    QStringLiteral("澄舟生产管理系统 十 舟 生 八 白 长 车 页 门 用户 日月 金 第 1 页 共 2 页");

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

TReportDocument chineseDocument(const QString& family)
{
    RReportObject o = text(kChinese, 0, 0, 190, 8);
    o.fontFamily = family;
    o.fontSize = 12;
    RReportObject bold = o;
    bold.bold = true;
    bold.geometry.moveTop(10);
    TReportEngine engine;
    engine.setTemplate(report({band(TBandKind::ReportTitle, 20, {o, bold})}));
    return engine.prepare();
}

// The share of dark pixels in an image region.
double ink(const QImage& image, const QRect& area)
{
    int dark = 0;
    int all = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            ++all;
            if (qGray(image.pixel(x, y)) < 128)
                ++dark;
        }
    }
    return all ? double(dark) / all : 0;
}

} // namespace

TEST(ReportExport, PdfKeepsChineseTextAsPrinted)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir dir;
    for (const QString& family :
         {QStringLiteral("宋体"), QStringLiteral("黑体"), QStringLiteral("Noto Sans CJK SC"),
          QStringLiteral("Noto Serif CJK SC"), QStringLiteral("no such font")}) {
        const QString path = dir.filePath(QStringLiteral("cn.pdf"));
        QString error;
        ASSERT_TRUE(TReportExporter::exportPdf(chineseDocument(family), path, &error)) << error.toStdString();
        const QString textLayer = run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
        const QStringList lines = textLayer.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_GE(lines.size(), 2) << family.toStdString() << ": " << textLayer.toStdString();
        EXPECT_EQ(lines.at(0).simplified(), kChinese.simplified()) << family.toStdString();
        EXPECT_EQ(lines.at(1).simplified(), kChinese.simplified()) << family.toStdString() << " bold";
    }
}

TEST(ReportExport, ReportFontsKeepTheirTextInPdf)
{
    for (const QString& family :
         {QStringLiteral("宋体"), QStringLiteral("黑体"), QStringLiteral("Noto Sans CJK SC")}) {
        const QString resolved = TReportFonts::resolveFamily(family);
        EXPECT_TRUE(TReportFonts::keepsTextInPdf(resolved))
            << family.toStdString() << " -> " << resolved.toStdString();
    }
    if (QFontDatabase::hasFamily(QStringLiteral("Noto Sans CJK SC"))) {
        EXPECT_FALSE(TReportFonts::keepsTextInPdf(QStringLiteral("Noto Sans CJK SC")));
    }
}

TEST(ReportExport, PdfPageRendersToPng)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    auto d0 = materials(QStringLiteral("d0"), 40);
    TReportEngine engine;
    engine.addDataSource(d0.get());
    engine.setVariable(QStringLiteral("u_Company"), QStringLiteral("澄舟机械厂"));
    TReportTemplate t;
    QFile f(QStringLiteral(":/reports/templates/materials.xml"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    ASSERT_TRUE(t.load(f.readAll()));
    engine.setTemplate(t);
    const TReportDocument doc = engine.prepare();
    const QString out = qEnvironmentVariable("CZ_REPORT_OUT");
    QTemporaryDir tmp;
    const QString dir = out.isEmpty() ? tmp.path() : out;
    QDir().mkpath(dir);
    const QString pdf = dir + QStringLiteral("/materials.pdf");
    QString error;
    ASSERT_TRUE(TReportExporter::exportPdf(doc, pdf, &error)) << error.toStdString();
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
                                         QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                         QStringLiteral("1"), pdf, dir + QStringLiteral("/materials")});
    ASSERT_TRUE(p.waitForFinished(60000));
    QImage page;
    for (const QString& name : {QStringLiteral("/materials-1.png"), QStringLiteral("/materials-01.png")}) {
        if (page.load(dir + name))
            break;
    }
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(double(page.width()) / page.height(), 210.0 / 297.0, 0.01);
    // The table occupies the page: ink in the upper half, white paper at the far margin.
    EXPECT_GT(ink(page, QRect(page.width() / 10, page.height() / 10, page.width() * 8 / 10,
                              page.height() * 4 / 10)),
              0.01);
    EXPECT_LT(ink(page, QRect(0, 0, page.width() / 40, page.height() / 4)), 0.001);
}

TEST(ReportExport, BarcodesRender)
{
    const struct
    {
        TBarcodeKind kind;
        const char* data;
        bool valid;
    } cases[] = {{TBarcodeKind::Code128, "M0001-a/B", true},
                 {TBarcodeKind::Code128, "M0001-舟", false},
                 {TBarcodeKind::Ean13, "690123456789", true},
                 {TBarcodeKind::Ean13, "6901234567892", true},
                 {TBarcodeKind::Ean13, "6901234567890", false},
                 {TBarcodeKind::Ean13, "12AB", false},
                 {TBarcodeKind::QrCode, "澄舟生产管理系统 M0001", true},
                 {TBarcodeKind::Code128, "", false}};
    for (const auto& c : cases) {
        const RBarcodeShapes s = TReportBarcode::encode(c.kind, QString::fromUtf8(c.data), true);
        EXPECT_EQ(s.isValid(), c.valid) << c.data << " " << s.error.toStdString();
        if (!c.valid) {
            EXPECT_FALSE(s.error.isEmpty());
            continue;
        }
        EXPECT_FALSE(s.bars.isEmpty());
        if (c.kind == TBarcodeKind::Ean13) {
            EXPECT_FALSE(s.texts.isEmpty()) << "EAN-13 prints its digits";
        }
    }

    // Through the whole engine onto an image: bars are black, the rest of the band white.
    RReportObject code;
    code.kind = TObjectKind::Barcode;
    code.barcode = TBarcodeKind::Code128;
    code.text = QStringLiteral("[d0.Code]");
    code.geometry = QRectF(0, 0, 60, 15);
    RReportObject qr = code;
    qr.barcode = TBarcodeKind::QrCode;
    qr.geometry = QRectF(70, 0, 25, 25);
    auto d0 = materials(QStringLiteral("d0"), 1);
    RReportBand master = band(TBandKind::MasterData, 30, {code, qr}, QStringLiteral("M1"));
    master.dataSet = QStringLiteral("d0");
    TReportEngine engine;
    engine.addDataSource(d0.get());
    engine.setTemplate(report({master}));
    const TReportDocument doc = engine.prepare();
    ASSERT_EQ(doc.pages.first().items.first().text, QStringLiteral("M0001"));
    const QImage image = TReportExporter::renderPage(doc, 0, 200);
    const double k = 200 / 25.4;
    const QRect bars(int(12 * k), int(11 * k), int(56 * k), int(8 * k));
    const QRect square(int(82 * k), int(12 * k), int(21 * k), int(21 * k));
    EXPECT_GT(ink(image, bars), 0.25);
    EXPECT_LT(ink(image, bars), 0.75);
    EXPECT_GT(ink(image, square), 0.25);
    EXPECT_LT(ink(image, QRect(int(110 * k), int(11 * k), int(50 * k), int(25 * k))), 0.001);
    EXPECT_TRUE(TReportBarcode::svg(TBarcodeKind::QrCode, QStringLiteral("x"), false, 20, 20)
                    .contains(QStringLiteral("<rect")));
}

TEST(ReportExport, HtmlAndSpreadsheetCarryTheData)
{
    auto data = std::make_unique<TReportMemoryData>(QStringLiteral("d0"));
    data->addField(QStringLiteral("Name"), QStringLiteral("品名"));
    data->addField(QStringLiteral("Qty"), QStringLiteral("数量"));
    data->addRow({QStringLiteral("舟<甲>"), 1.5});
    data->addRow({QStringLiteral("生&乙"), 2.0});
    RReportBand header = band(TBandKind::DataHeader, 6,
                              {text(QStringLiteral("[Label(d0.Name)]"), 0, 0, 40),
                               text(QStringLiteral("[Label(d0.Qty)]"), 40, 0, 30)});
    header.owner = QStringLiteral("M1");
    header.repeatOnEveryPage = true;
    RReportBand master =
        band(TBandKind::MasterData, 6,
             {text(QStringLiteral("[d0.Name]"), 0, 0, 40), text(QStringLiteral("[d0.Qty]"), 40, 0, 30)},
             QStringLiteral("M1"));
    master.dataSet = QStringLiteral("d0");
    TReportEngine engine;
    engine.addDataSource(data.get());
    engine.setTemplate(
        report({band(TBandKind::PageHeader, 6, {text(QStringLiteral("页眉不导出"))}), header, master,
                band(TBandKind::ReportSummary, 6,
                     {text(QStringLiteral("合计 [Sum(d0.Qty)]"), 0, 0, 40),
                      text(QStringLiteral("[Sum(d0.Qty)]"), 40, 0, 30)})}));
    const TReportDocument doc = engine.prepare();

    const QString html = TReportHtmlWriter::toHtml(doc);
    EXPECT_TRUE(html.contains(QStringLiteral("舟&lt;甲&gt;")));
    EXPECT_TRUE(html.contains(QStringLiteral("生&amp;乙")));
    EXPECT_TRUE(html.contains(QStringLiteral("width:210.00mm;height:297.00mm")));

    const QList<TReportXlsxWriter::RCell> cells = TReportXlsxWriter::cells(doc);
    const auto at = [&](int row, int col) {
        for (const auto& c : cells) {
            if (c.row == row && c.column == col)
                return c.value;
        }
        return QVariant(QStringLiteral("<none>"));
    };
    EXPECT_EQ(at(0, 0), QVariant(QStringLiteral("品名")));
    EXPECT_EQ(at(0, 1), QVariant(QStringLiteral("数量")));
    EXPECT_EQ(at(1, 0), QVariant(QStringLiteral("舟<甲>")));
    EXPECT_EQ(at(1, 1), QVariant(1.5)) << "numbers stay numbers";
    EXPECT_EQ(at(2, 1), QVariant(2.0));
    EXPECT_EQ(at(3, 0), QVariant(QStringLiteral("合计 3.5")));
    EXPECT_EQ(at(3, 1), QVariant(3.5));
    EXPECT_EQ(cells.size(), 8) << "the page header stays out";

    QTemporaryDir dir;
    QString error;
    for (TReportExporter::TFormat format :
         {TReportExporter::TFormat::Xlsx, TReportExporter::TFormat::Html, TReportExporter::TFormat::Pdf,
          TReportExporter::TFormat::Png, TReportExporter::TFormat::Jpeg}) {
        const QString path = dir.filePath(QStringLiteral("out.") + TReportExporter::suffix(format));
        ASSERT_TRUE(TReportExporter::exportTo(doc, format, path, &error)) << error.toStdString();
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        const QByteArray head = f.read(8);
        if (format == TReportExporter::TFormat::Xlsx) {
            EXPECT_TRUE(head.startsWith("PK"));
        }
        if (format == TReportExporter::TFormat::Pdf) {
            EXPECT_TRUE(head.startsWith("%PDF"));
        }
        if (format == TReportExporter::TFormat::Png) {
            EXPECT_TRUE(head.startsWith("\x89PNG"));
        }
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 5)
        << "no temporary files are left";
    EXPECT_FALSE(TReportExporter::exportTo(doc, TReportExporter::TFormat::Xlsx,
                                           QStringLiteral("/nonexistent/dir/x.xlsx"), &error));
    EXPECT_FALSE(error.isEmpty());
}
