#pragma once

#include "ReportTemplate.h"

#include <QImage>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <QVariant>

enum class TItemKind { Text, Line, Rect, Image, Barcode, CheckMark };

// One positioned primitive of a prepared page; lengths in millimetres from the paper's corner.
struct RReportItem
{
    TItemKind kind = TItemKind::Text;
    // Lines run from the rectangle's top left to its bottom right corner.
    QRectF rect;
    // Text as printed; for a bar code the encoded data.
    QString text;
    // Wrapped text broken into lines by the engine, so every device breaks it alike;
    // empty for single-line text.
    QStringList lines;
    double lineHeight = 0;
    // The printed value when the text is exactly one expression (numbers stay numbers in XLSX).
    QVariant value;
    QString fontFamily;
    double fontSize = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color = Qt::black;
    QColor fill;
    THAlign hAlign = THAlign::Left;
    TVAlign vAlign = TVAlign::Middle;
    int borders = BorderNone;
    double lineWidth = 0.2;
    QColor lineColor = Qt::black;
    QImage image;
    bool keepAspect = true;
    TBarcodeKind barcode = TBarcodeKind::Code128;
    bool showText = true;
    bool checked = false;
    // Where the item came from: the band's kind and a serial number per printed band, so that
    // table exports can rebuild rows; repeated headers are marked.
    TBandKind band = TBandKind::MasterData;
    int bandSerial = 0;
    bool repeatedBand = false;
};

struct RReportDocPage
{
    QSizeF size{210, 297};
    QList<RReportItem> items;
};

// A prepared report: the list of pages with their primitives, ready for any renderer.
class TReportDocument
{
public:
    QString title;
    QList<RReportDocPage> pages;

    int pageCount() const { return int(pages.size()); }
    bool isEmpty() const { return pages.isEmpty(); }
    // All texts of a page in reading order (top to bottom, left to right), one per line.
    QString pageText(int page) const;
};
