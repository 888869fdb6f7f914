#include "ReportHtmlWriter.h"

#include "ReportBarcode.h"
#include "ReportFonts.h"
#include "ReportPainter.h"

#include <QBuffer>
#include <QSaveFile>

namespace {

QString mm(double v)
{
    return QString::number(v, 'f', 2) + QStringLiteral("mm");
}

QString cssColor(const QColor& c)
{
    if (!c.isValid())
        return QStringLiteral("transparent");
    if (c.alpha() == 255)
        return c.name(QColor::HexRgb);
    return QStringLiteral("rgba(%1,%2,%3,%4)")
        .arg(c.red())
        .arg(c.green())
        .arg(c.blue())
        .arg(c.alphaF(), 0, 'f', 3);
}

QString box(const QRectF& r)
{
    const QRectF n = r.normalized();
    return QStringLiteral("left:%1;top:%2;width:%3;height:%4;")
        .arg(mm(n.left()), mm(n.top()), mm(n.width()), mm(n.height()));
}

QString border(const RReportItem& item)
{
    if (item.borders == BorderNone || item.lineWidth <= 0)
        return QString();
    const QString line = QStringLiteral("%1 solid %2").arg(mm(item.lineWidth), cssColor(item.lineColor));
    QString out;
    if (item.borders & BorderLeft)
        out += QStringLiteral("border-left:") + line + QLatin1Char(';');
    if (item.borders & BorderTop)
        out += QStringLiteral("border-top:") + line + QLatin1Char(';');
    if (item.borders & BorderRight)
        out += QStringLiteral("border-right:") + line + QLatin1Char(';');
    if (item.borders & BorderBottom)
        out += QStringLiteral("border-bottom:") + line + QLatin1Char(';');
    return out;
}

QString textItem(const RReportItem& item)
{
    const QFont f =
        TReportFonts::font(item.fontFamily, item.fontSize, item.bold, item.italic, item.underline);
    QStringList families;
    for (const QString& fam : f.families())
        families.append(QLatin1Char('\'') + fam + QLatin1Char('\''));
    families.append(QStringLiteral("sans-serif"));
    QString style = box(item.rect) + border(item);
    style += QStringLiteral("font-family:%1;font-size:%2pt;color:%3;")
                 .arg(families.join(QLatin1Char(',')))
                 .arg(item.fontSize)
                 .arg(cssColor(item.color));
    if (item.fill.isValid())
        style += QStringLiteral("background:%1;").arg(cssColor(item.fill));
    if (item.bold)
        style += QStringLiteral("font-weight:bold;");
    if (item.italic)
        style += QStringLiteral("font-style:italic;");
    if (item.underline)
        style += QStringLiteral("text-decoration:underline;");
    style += QStringLiteral("justify-content:%1;")
                 .arg(item.hAlign == THAlign::Center  ? QStringLiteral("center")
                      : item.hAlign == THAlign::Right ? QStringLiteral("flex-end")
                                                      : QStringLiteral("flex-start"));
    style += QStringLiteral("align-items:%1;")
                 .arg(item.vAlign == TVAlign::Top      ? QStringLiteral("flex-start")
                      : item.vAlign == TVAlign::Bottom ? QStringLiteral("flex-end")
                                                       : QStringLiteral("center"));
    QString content;
    if (item.lines.isEmpty()) {
        content = item.text.toHtmlEscaped();
    } else {
        QStringList lines;
        for (const QString& l : item.lines)
            lines.append(l.toHtmlEscaped());
        content = lines.join(QStringLiteral("<br>"));
        style += QStringLiteral("line-height:%1;").arg(mm(item.lineHeight));
    }
    const QString align = item.hAlign == THAlign::Center  ? QStringLiteral("center")
                          : item.hAlign == THAlign::Right ? QStringLiteral("right")
                                                          : QStringLiteral("left");
    return QStringLiteral("<div class=\"t\" style=\"%1\"><span style=\"text-align:%2\">%3</span></div>\n")
        .arg(style, align, content);
}

QString lineItem(const RReportItem& item)
{
    const QRectF r = item.rect;
    const double w = std::max(item.lineWidth, 0.05);
    const QRectF n = r.normalized();
    // Any direction as a small SVG; the box is widened by the pen so nothing is cut.
    const double pad = w;
    return QStringLiteral(
               "<svg class=\"g\" style=\"left:%1;top:%2;width:%3;height:%4\" viewBox=\"0 0 %5 %6\">"
               "<line x1=\"%7\" y1=\"%8\" x2=\"%9\" y2=\"%10\" stroke=\"%11\" stroke-width=\"%12\"/>"
               "</svg>\n")
        .arg(mm(n.left() - pad), mm(n.top() - pad), mm(n.width() + 2 * pad), mm(n.height() + 2 * pad))
        .arg(n.width() + 2 * pad)
        .arg(n.height() + 2 * pad)
        .arg(r.left() - n.left() + pad)
        .arg(r.top() - n.top() + pad)
        .arg(r.right() - n.left() + pad)
        .arg(r.bottom() - n.top() + pad)
        .arg(cssColor(item.lineColor))
        .arg(w);
}

QString imageItem(const RReportItem& item)
{
    if (item.image.isNull())
        return QString();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    item.image.save(&buffer, "PNG");
    return QStringLiteral(
               "<img class=\"g\" style=\"%1object-fit:%2\" src=\"data:image/png;base64,%3\" alt=\"\">\n")
        .arg(box(item.rect), item.keepAspect ? QStringLiteral("contain") : QStringLiteral("fill"),
             QString::fromLatin1(png.toBase64()));
}

} // namespace

QString TReportHtmlWriter::toHtml(const TReportDocument& doc)
{
    QString html;
    html +=
        QStringLiteral(
            "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n")
            .arg(doc.title.toHtmlEscaped());
    html += QStringLiteral(
        "<style>\n"
        "body{background:#808080;margin:0;padding:8px}\n"
        ".page{position:relative;background:#fff;margin:0 auto 8px auto;overflow:hidden}\n"
        ".t{position:absolute;box-sizing:border-box;display:flex;overflow:hidden;white-space:nowrap;"
        "padding:0.2mm 0.5mm}\n"
        ".g{position:absolute;box-sizing:border-box}\n"
        "@media print{body{background:none;padding:0}.page{margin:0;page-break-after:always}}\n"
        "</style>\n</head>\n<body>\n");
    for (const RReportDocPage& page : doc.pages) {
        html += QStringLiteral("<div class=\"page\" style=\"width:%1;height:%2\">\n")
                    .arg(mm(page.size.width()), mm(page.size.height()));
        for (const RReportItem& item : page.items) {
            switch (item.kind) {
            case TItemKind::Text:
                html += textItem(item);
                break;
            case TItemKind::Line:
                if (item.lineWidth > 0)
                    html += lineItem(item);
                break;
            case TItemKind::Rect: {
                QString style = box(item.rect);
                if (item.lineWidth > 0)
                    style += QStringLiteral("border:%1 solid %2;")
                                 .arg(mm(item.lineWidth), cssColor(item.lineColor));
                if (item.fill.isValid())
                    style += QStringLiteral("background:%1;").arg(cssColor(item.fill));
                html += QStringLiteral("<div class=\"g\" style=\"%1\"></div>\n").arg(style);
                break;
            }
            case TItemKind::Image:
                html += imageItem(item);
                break;
            case TItemKind::Barcode:
                html += QStringLiteral("<div class=\"g\" style=\"%1\">%2</div>\n")
                            .arg(box(item.rect), TReportBarcode::svg(item.barcode, item.text, item.showText,
                                                                     item.rect.width(), item.rect.height()));
                break;
            case TItemKind::CheckMark: {
                const double side = std::min(item.rect.width(), item.rect.height());
                const QRectF sq(item.rect.center().x() - side / 2, item.rect.center().y() - side / 2, side,
                                side);
                html += QStringLiteral(
                            "<div class=\"g\" style=\"%1border:%2 solid %3;font-size:%4;line-height:%4;"
                            "text-align:center\">%5</div>\n")
                            .arg(box(sq), mm(std::max(item.lineWidth, 0.1)), cssColor(item.lineColor),
                                 mm(side * 0.9), item.checked ? QStringLiteral("✓") : QString());
                break;
            }
            }
        }
        html += QStringLiteral("</div>\n");
    }
    html += QStringLiteral("</body>\n</html>\n");
    return html;
}

bool TReportHtmlWriter::write(const TReportDocument& doc, const QString& path, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toHtml(doc).toUtf8()) < 0 || !file.commit()) {
        if (error)
            *error = QStringLiteral("无法写入文件 %1:%2").arg(path, file.errorString());
        return false;
    }
    return true;
}
