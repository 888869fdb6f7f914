#include "ReportBarcode.h"

#include "ReportFonts.h"

#include <QCache>
#include <QPainter>
#include <QPainterPath>

#include <zint.h>

#include <cmath>

namespace {

// How the shapes are scaled into a target rectangle.
struct RPlacement
{
    double sx = 1;
    double sy = 1;
    QPointF origin;
};

RPlacement place(const RBarcodeShapes& s, const QRectF& target, TBarcodeKind kind)
{
    RPlacement p;
    p.sx = target.width() / s.size.width();
    p.sy = target.height() / s.size.height();
    p.origin = target.topLeft();
    if (kind == TBarcodeKind::QrCode) {
        const double k = std::min(p.sx, p.sy);
        p.origin +=
            QPointF((target.width() - s.size.width() * k) / 2, (target.height() - s.size.height() * k) / 2);
        p.sx = p.sy = k;
    }
    return p;
}

QPolygonF hexagon(const RBarcodeShapes::RHexagon& h, const RPlacement& p)
{
    QPolygonF poly;
    const double r = h.diameter / 2;
    for (int i = 0; i < 6; ++i) {
        const double a = M_PI / 3 * i + M_PI / 6;
        const QPointF pt(h.centre.x() + r * std::cos(a), h.centre.y() + r * std::sin(a));
        poly.append(QPointF(p.origin.x() + pt.x() * p.sx, p.origin.y() + pt.y() * p.sy));
    }
    return poly;
}

} // namespace

QString TReportBarcode::kindName(TBarcodeKind kind)
{
    switch (kind) {
    case TBarcodeKind::Code128:
        return QStringLiteral("Code 128");
    case TBarcodeKind::Ean13:
        return QStringLiteral("EAN-13");
    case TBarcodeKind::QrCode:
        return QStringLiteral("QR 码");
    }
    return QString();
}

RBarcodeShapes TReportBarcode::encode(TBarcodeKind kind, const QString& data, bool showText)
{
    static QCache<QString, RBarcodeShapes> cache(500);
    const QString key = QString::number(int(kind)) + (showText ? QLatin1Char('t') : QLatin1Char('n')) + data;
    if (const RBarcodeShapes* hit = cache.object(key))
        return *hit;

    RBarcodeShapes out;
    if (data.isEmpty()) {
        out.error = QStringLiteral("条码数据为空");
        return out;
    }
    zint_symbol* symbol = ZBarcode_Create();
    if (!symbol) {
        out.error = QStringLiteral("条码无法生成");
        return out;
    }
    switch (kind) {
    case TBarcodeKind::Code128:
        symbol->symbology = BARCODE_CODE128;
        break;
    case TBarcodeKind::Ean13:
        symbol->symbology = BARCODE_EANX;
        break;
    case TBarcodeKind::QrCode:
        symbol->symbology = BARCODE_QRCODE;
        break;
    }
    symbol->input_mode = UNICODE_MODE;
    symbol->show_hrt = showText && kind != TBarcodeKind::QrCode ? 1 : 0;
    const QByteArray utf8 = data.toUtf8();
    if (kind == TBarcodeKind::Ean13) {
        bool digits = !utf8.isEmpty();
        for (char c : utf8)
            digits = digits && c >= '0' && c <= '9';
        if (!digits || (utf8.size() != 12 && utf8.size() != 13)) {
            ZBarcode_Delete(symbol);
            out.error = QStringLiteral("EAN-13 条码需要 12 或 13 位数字:%1").arg(data);
            return out;
        }
    }
    int rc =
        ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char*>(utf8.constData()), int(utf8.size()));
    if (rc < ZINT_ERROR)
        rc = ZBarcode_Buffer_Vector(symbol, 0);
    if (rc >= ZINT_ERROR || !symbol->vector) {
        out.error = QStringLiteral("条码数据无效:%1(%2)").arg(data, QString::fromLatin1(symbol->errtxt));
        ZBarcode_Delete(symbol);
        return out;
    }
    const zint_vector* v = symbol->vector;
    out.size = QSizeF(v->width, v->height);
    for (const zint_vector_rect* r = v->rectangles; r; r = r->next) {
        if (r->colour == -1 || r->colour == 7)
            out.bars.append(QRectF(r->x, r->y, r->width, r->height));
    }
    for (const zint_vector_hexagon* h = v->hexagons; h; h = h->next)
        out.hexagons.append({QPointF(h->x, h->y), h->diameter});
    for (const zint_vector_string* s = v->strings; s; s = s->next) {
        out.texts.append({QPointF(s->x, s->y), s->fsize, s->width, s->halign,
                          QString::fromUtf8(reinterpret_cast<const char*>(s->text), s->length)});
    }
    ZBarcode_Delete(symbol);
    cache.insert(key, new RBarcodeShapes(out));
    return out;
}

void TReportBarcode::paint(QPainter* painter, const QRectF& target, TBarcodeKind kind, const QString& data,
                           bool showText)
{
    const RBarcodeShapes s = encode(kind, data, showText);
    painter->save();
    if (!s.isValid()) {
        painter->setPen(QPen(Qt::red, 0));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(target);
        QFont f = TReportFonts::font(QStringLiteral("黑体"), 6);
        f.setPixelSize(std::max(1, int(target.height() / 4)));
        painter->setFont(f);
        painter->drawText(target, Qt::AlignCenter | Qt::TextWordWrap, s.error);
        painter->restore();
        return;
    }
    const RPlacement p = place(s, target, kind);
    painter->setPen(Qt::NoPen);
    painter->setBrush(Qt::black);
    for (const QRectF& r : s.bars) {
        painter->drawRect(QRectF(p.origin.x() + r.x() * p.sx, p.origin.y() + r.y() * p.sy, r.width() * p.sx,
                                 r.height() * p.sy));
    }
    for (const auto& h : s.hexagons)
        painter->drawPolygon(hexagon(h, p));
    if (!s.texts.isEmpty()) {
        painter->setPen(Qt::black);
        for (const auto& t : s.texts) {
            QFont f = TReportFonts::font(QStringLiteral("黑体"), 6);
            f.setPixelSize(std::max(1, int(std::lround(t.size * p.sy))));
            painter->setFont(f);
            const double w = (t.width > 0 ? t.width : s.size.width()) * p.sx;
            const double x = p.origin.x() + t.pos.x() * p.sx;
            const double baseline = p.origin.y() + t.pos.y() * p.sy;
            QRectF box(x - w / 2, baseline - f.pixelSize(), w, f.pixelSize() * 1.3);
            Qt::Alignment align = Qt::AlignHCenter;
            if (t.halign == 1) {
                box.moveLeft(x);
                align = Qt::AlignLeft;
            } else if (t.halign == 2) {
                box.moveRight(x);
                align = Qt::AlignRight;
            }
            painter->drawText(box, align | Qt::AlignTop | Qt::TextDontClip, t.text);
        }
    }
    painter->restore();
}

QString TReportBarcode::svg(TBarcodeKind kind, const QString& data, bool showText, double width,
                            double height)
{
    const RBarcodeShapes s = encode(kind, data, showText);
    QString out = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1mm\" height=\"%2mm\" "
                                 "viewBox=\"0 0 %1 %2\">")
                      .arg(width)
                      .arg(height);
    if (!s.isValid()) {
        out += QStringLiteral("<rect x=\"0\" y=\"0\" width=\"%1\" height=\"%2\" fill=\"none\" stroke=\"red\" "
                              "stroke-width=\"0.2\"/></svg>")
                   .arg(width)
                   .arg(height);
        return out;
    }
    const RPlacement p = place(s, QRectF(0, 0, width, height), kind);
    for (const QRectF& r : s.bars) {
        out += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"/>")
                   .arg(p.origin.x() + r.x() * p.sx)
                   .arg(p.origin.y() + r.y() * p.sy)
                   .arg(r.width() * p.sx)
                   .arg(r.height() * p.sy);
    }
    for (const auto& h : s.hexagons) {
        QString points;
        for (const QPointF& pt : hexagon(h, p))
            points += QStringLiteral("%1,%2 ").arg(pt.x()).arg(pt.y());
        out += QStringLiteral("<polygon points=\"%1\"/>").arg(points.trimmed());
    }
    for (const auto& t : s.texts) {
        const char* anchor = t.halign == 1 ? "start" : (t.halign == 2 ? "end" : "middle");
        out += QStringLiteral("<text x=\"%1\" y=\"%2\" font-size=\"%3\" text-anchor=\"%4\" "
                              "font-family=\"sans-serif\">%5</text>")
                   .arg(p.origin.x() + t.pos.x() * p.sx)
                   .arg(p.origin.y() + t.pos.y() * p.sy)
                   .arg(t.size * p.sy)
                   .arg(QLatin1String(anchor), t.text.toHtmlEscaped());
    }
    out += QStringLiteral("</svg>");
    return out;
}
