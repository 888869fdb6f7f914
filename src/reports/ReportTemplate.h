#pragma once

#include <QByteArray>
#include <QColor>
#include <QIODevice>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

// Kinds of bands, in the order a page is usually laid out.
enum class TBandKind {
    ReportTitle,
    PageHeader,
    ColumnHeader,
    DataHeader,
    MasterData,
    DetailData,
    GroupHeader,
    GroupFooter,
    DataFooter,
    ReportSummary,
    PageFooter
};

enum class TObjectKind { Text, Line, Rect, Image, Barcode, CheckMark };
enum class TPaperKind { A3, A4, A5, B5, Letter, Custom };
enum class THAlign { Left, Center, Right };
enum class TVAlign { Top, Middle, Bottom };
enum class TBarcodeKind { Code128, Ean13, QrCode };

// Sides of a text frame, combined as flags.
enum TBorderSide {
    BorderNone = 0,
    BorderLeft = 1,
    BorderTop = 2,
    BorderRight = 4,
    BorderBottom = 8,
    BorderAll = 15
};

// One object on a band; every length is in millimetres from the band's top left corner.
struct RReportObject
{
    TObjectKind kind = TObjectKind::Text;
    QString name;
    // Lines run from (x, y) to (x + width, y + height).
    QRectF geometry;
    // Text with [expressions]; the data of a bar code; the condition of a check mark.
    QString text;
    QString fontFamily = QStringLiteral("宋体");
    double fontSize = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color = Qt::black;
    // Invalid colour: no fill.
    QColor fill;
    THAlign hAlign = THAlign::Left;
    TVAlign vAlign = TVAlign::Middle;
    bool wordWrap = false;
    // The object grows with its text; the band grows with it when the band can grow.
    bool canGrow = false;
    // The object's bottom follows the band's bottom when the band grows.
    bool stretch = false;
    int borders = BorderNone;
    double lineWidth = 0.2;
    QColor lineColor = Qt::black;
    // Pattern for numbers ("#,##0.00") or dates ("yyyy-MM-dd"), picked by the value's type.
    QString displayFormat;
    // Printed only when this expression is true; empty prints always.
    QString printIf;
    // The image file's bytes (PNG or JPEG), stored in the template.
    QByteArray imageData;
    bool keepAspect = true;
    TBarcodeKind barcode = TBarcodeKind::Code128;
    bool showText = true;

    bool operator==(const RReportObject&) const = default;
};

struct RReportBand
{
    TBandKind kind = TBandKind::MasterData;
    QString name;
    double height = 8;
    bool canGrow = false;
    bool keepTogether = false;
    bool startNewPage = false;
    bool newPageAfter = false;
    // Page header and footer: printed on the first page too.
    bool printOnFirstPage = true;
    // Data and group headers: printed again at the top of every following page.
    bool repeatOnEveryPage = false;
    // Master and detail bands: the data set the band runs over.
    QString dataSet;
    // The band this band belongs to: data header, data footer and group header name their data
    // band, a group footer its group header, a detail band its master band (empty: on its own).
    QString owner;
    // Detail bands: rows whose detailKey field equals the master row's masterKey field.
    QString masterKey;
    QString detailKey;
    // Group headers: the group changes when this expression's value changes.
    QString condition;
    QList<RReportObject> objects;

    bool operator==(const RReportBand&) const = default;
};

struct RReportPage
{
    TPaperKind paper = TPaperKind::A4;
    // Portrait size; used as given for a custom paper, otherwise taken from the paper kind.
    double paperWidth = 210;
    double paperHeight = 297;
    bool landscape = false;
    double marginLeft = 10;
    double marginTop = 10;
    double marginRight = 10;
    double marginBottom = 10;
    QList<RReportBand> bands;

    // Size in millimetres with the orientation applied.
    QSizeF size() const;
    double printableWidth() const { return size().width() - marginLeft - marginRight; }
    void setPaper(TPaperKind kind);

    bool operator==(const RReportPage&) const = default;
};

// A report template: pages with bands and objects. Stored as one XML document.
class TReportTemplate
{
public:
    QString title;
    QList<RReportPage> pages;
    // Catalogue number of the template; kept with the loaded report, never written into the XML.
    int id = 0;

    bool isEmpty() const { return pages.isEmpty(); }
    void clear();
    // A report with one empty A4 page, what a new or unreadable template opens as.
    static TReportTemplate emptyReport();

    QByteArray toXml() const;
    bool save(QIODevice* device, QString* error = nullptr) const;
    // Reads a template. Anything that is not a template of this engine leaves an empty report
    // (one blank A4 page) and returns false with a Chinese message; an empty blob is an empty
    // report without error.
    bool load(const QByteArray& data, QString* error = nullptr);
    bool load(QIODevice* device, QString* error = nullptr);

    static QSizeF paperSize(TPaperKind kind);
    static QString paperName(TPaperKind kind);
    static QString bandKindName(TBandKind kind);
    static QString objectKindName(TObjectKind kind);

    // Content equality; the catalogue number is not part of the content.
    bool operator==(const TReportTemplate& other) const
    {
        return title == other.title && pages == other.pages;
    }
};
