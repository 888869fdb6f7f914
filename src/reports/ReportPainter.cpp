#include "ReportPainter.h"

#include "ReportBarcode.h"
#include "ReportFonts.h"

#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

QRectF toDevice(const QRectF& mm, double k, const QPointF& origin)
{
    return QRectF(origin.x() + mm.x() * k, origin.y() + mm.y() * k, mm.width() * k, mm.height() * k);
}

// A report font sized for the device: its point size is scaled so that text is as large on
// the device as the layout measured it at pxPerMm.
QFont deviceFont(const RReportItem& item, double pxPerMm, const QPaintDevice* device)
{
    static QHash<QString, QFont> cache;
    const QString key = item.fontFamily + QLatin1Char('|') + QString::number(item.bold) +
                        QString::number(item.italic) + QString::number(item.underline);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key,
                          TReportFonts::font(item.fontFamily, 10, item.bold, item.italic, item.underline));
    QFont f = *it;
    const double dpi = device ? device->logicalDpiY() : 96.0;
    f.setPointSizeF(std::max(0.1, item.fontSize * pxPerMm * 25.4 / dpi));
    return f;
}

QPen linePen(const RReportItem& item, double k)
{
    QPen pen(item.lineColor.isValid() ? item.lineColor : QColor(Qt::black));
    pen.setWidthF(std::max(item.lineWidth * k, 0.0));
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void paintText(QPainter* p, const RReportItem& item, double k, const QRectF& r)
{
    if (item.fill.isValid())
        p->fillRect(r, item.fill);
    if (!item.text.isEmpty()) {
        p->save();
        p->setClipRect(r, Qt::IntersectClip);
        p->setFont(deviceFont(item, k, p->device()));
        p->setPen(item.color.isValid() ? item.color : QColor(Qt::black));
        const QRectF inner = r.adjusted(TReportPainter::kPadX * k, TReportPainter::kPadY * k,
                                        -TReportPainter::kPadX * k, -TReportPainter::kPadY * k);
        Qt::Alignment h = Qt::AlignLeft;
        if (item.hAlign == THAlign::Center)
            h = Qt::AlignHCenter;
        else if (item.hAlign == THAlign::Right)
            h = Qt::AlignRight;
        if (item.lines.isEmpty()) {
            Qt::Alignment v = Qt::AlignVCenter;
            if (item.vAlign == TVAlign::Top)
                v = Qt::AlignTop;
            else if (item.vAlign == TVAlign::Bottom)
                v = Qt::AlignBottom;
            p->drawText(inner, int(h | v | Qt::TextSingleLine), item.text);
        } else {
            const double lh = item.lineHeight * k;
            const double total = lh * item.lines.size();
            double y = inner.top();
            if (item.vAlign == TVAlign::Middle)
                y += (inner.height() - total) / 2;
            else if (item.vAlign == TVAlign::Bottom)
                y += inner.height() - total;
            for (const QString& line : item.lines) {
                p->drawText(QRectF(inner.left(), y, inner.width(), lh),
                            int(h | Qt::AlignVCenter | Qt::TextSingleLine), line);
                y += lh;
            }
        }
        p->restore();
    }
    if (item.borders != BorderNone && item.lineWidth > 0) {
        p->setPen(linePen(item, k));
        if (item.borders & BorderLeft)
            p->drawLine(r.topLeft(), r.bottomLeft());
        if (item.borders & BorderTop)
            p->drawLine(r.topLeft(), r.topRight());
        if (item.borders & BorderRight)
            p->drawLine(r.topRight(), r.bottomRight());
        if (item.borders & BorderBottom)
            p->drawLine(r.bottomLeft(), r.bottomRight());
    }
}

void paintCheck(QPainter* p, const RReportItem& item, double k, const QRectF& r)
{
    const double side = std::min(r.width(), r.height());
    const QRectF box(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    if (item.fill.isValid())
        p->fillRect(box, item.fill);
    QPen pen = linePen(item, k);
    p->setPen(pen);
    p->setBrush(Qt::NoBrush);
    p->drawRect(box);
    if (item.checked) {
        QPainterPath tick;
        tick.moveTo(box.left() + side * 0.2, box.top() + side * 0.55);
        tick.lineTo(box.left() + side * 0.42, box.top() + side * 0.78);
        tick.lineTo(box.left() + side * 0.82, box.top() + side * 0.25);
        QPen tp(item.color.isValid() ? item.color : QColor(Qt::black));
        tp.setWidthF(std::max(side * 0.12, 1.0));
        tp.setCapStyle(Qt::RoundCap);
        tp.setJoinStyle(Qt::RoundJoin);
        p->setPen(tp);
        p->drawPath(tick);
    }
}

} // namespace

void TReportPainter::paintItem(QPainter* p, const RReportItem& item, double k, const QPointF& origin)
{
    const QRectF r = toDevice(item.rect, k, origin);
    switch (item.kind) {
    case TItemKind::Text:
        paintText(p, item, k, r);
        break;
    case TItemKind::Line:
        if (item.lineWidth > 0) {
            p->setPen(linePen(item, k));
            p->drawLine(r.topLeft(), r.bottomRight());
        }
        break;
    case TItemKind::Rect: {
        p->setPen(item.lineWidth > 0 ? linePen(item, k) : QPen(Qt::NoPen));
        p->setBrush(item.fill.isValid() ? QBrush(item.fill) : QBrush(Qt::NoBrush));
        p->drawRect(r.normalized());
        break;
    }
    case TItemKind::Image: {
        if (item.image.isNull())
            break;
        QRectF target = r;
        if (item.keepAspect) {
            QSizeF s = item.image.size();
            s.scale(r.size(), Qt::KeepAspectRatio);
            target = QRectF(r.center().x() - s.width() / 2, r.center().y() - s.height() / 2, s.width(),
                            s.height());
        }
        p->drawImage(target, item.image);
        break;
    }
    case TItemKind::Barcode:
        TReportBarcode::paint(p, r, item.barcode, item.text, item.showText);
        break;
    case TItemKind::CheckMark:
        paintCheck(p, item, k, r);
        break;
    }
}

void TReportPainter::paintPage(QPainter* painter, const RReportDocPage& page, double pxPerMm,
                               const QPointF& origin)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setRenderHint(QPainter::TextAntialiasing, true);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const RReportItem& item : page.items) {
        painter->save();
        paintItem(painter, item, pxPerMm, origin);
        painter->restore();
    }
    painter->restore();
}
