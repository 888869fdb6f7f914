#include "ReportExporter.h"

#include "ReportHtmlWriter.h"
#include "ReportPainter.h"
#include "ReportXlsxWriter.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include <cmath>

namespace {

QPageLayout layoutFor(const RReportDocPage& page)
{
    const QSizeF s = page.size;
    // The page size is given upright; landscape pages keep their drawn orientation.
    const bool landscape = s.width() > s.height();
    const QSizeF upright = landscape ? s.transposed() : s;
    return QPageLayout(QPageSize(upright, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
}

} // namespace

QString TReportExporter::filter(TFormat format)
{
    switch (format) {
    case TFormat::Pdf:
        return QStringLiteral("PDF 文件 (*.pdf)");
    case TFormat::Png:
        return QStringLiteral("PNG 图片 (*.png)");
    case TFormat::Jpeg:
        return QStringLiteral("JPEG 图片 (*.jpg)");
    case TFormat::Html:
        return QStringLiteral("HTML 网页 (*.html)");
    case TFormat::Xlsx:
        return QStringLiteral("Excel 工作簿 (*.xlsx)");
    }
    return QString();
}

QString TReportExporter::suffix(TFormat format)
{
    switch (format) {
    case TFormat::Pdf:
        return QStringLiteral("pdf");
    case TFormat::Png:
        return QStringLiteral("png");
    case TFormat::Jpeg:
        return QStringLiteral("jpg");
    case TFormat::Html:
        return QStringLiteral("html");
    case TFormat::Xlsx:
        return QStringLiteral("xlsx");
    }
    return QString();
}

bool TReportExporter::exportTo(const TReportDocument& doc, TFormat format, const QString& path,
                               QString* error)
{
    switch (format) {
    case TFormat::Pdf:
        return exportPdf(doc, path, error);
    case TFormat::Png:
        return exportImages(doc, path, "PNG", 150, nullptr, error);
    case TFormat::Jpeg:
        return exportImages(doc, path, "JPEG", 150, nullptr, error);
    case TFormat::Html:
        return TReportHtmlWriter::write(doc, path, error);
    case TFormat::Xlsx:
        return TReportXlsxWriter::write(doc, path, error);
    }
    return false;
}

bool TReportExporter::exportPdf(const TReportDocument& doc, QIODevice* device, QString* error)
{
    QPdfWriter writer(device);
    writer.setCreator(QStringLiteral("澄舟生产管理系统"));
    writer.setTitle(doc.title);
    writer.setResolution(600);
    const double k = 600 / 25.4;
    if (doc.pages.isEmpty()) {
        writer.setPageLayout(layoutFor(RReportDocPage()));
        QPainter painter(&writer);
        return painter.end();
    }
    writer.setPageLayout(layoutFor(doc.pages.first()));
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error)
            *error = QStringLiteral("无法生成 PDF 文件。");
        return false;
    }
    for (int i = 0; i < doc.pages.size(); ++i) {
        if (i > 0) {
            writer.setPageLayout(layoutFor(doc.pages.at(i)));
            writer.newPage();
        }
        TReportPainter::paintPage(&painter, doc.pages.at(i), k);
    }
    if (!painter.end()) {
        if (error)
            *error = QStringLiteral("无法生成 PDF 文件。");
        return false;
    }
    return true;
}

bool TReportExporter::exportPdf(const TReportDocument& doc, const QString& path, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("无法写入文件 %1:%2").arg(path, file.errorString());
        return false;
    }
    if (!exportPdf(doc, &file, error)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = QStringLiteral("无法写入文件 %1:%2").arg(path, file.errorString());
        return false;
    }
    return true;
}

QImage TReportExporter::renderPage(const TReportDocument& doc, int page, int dpi)
{
    if (page < 0 || page >= doc.pages.size())
        return QImage();
    const RReportDocPage& p = doc.pages.at(page);
    const double k = dpi / 25.4;
    QImage image(std::max(1, int(std::lround(p.size.width() * k))),
                 std::max(1, int(std::lround(p.size.height() * k))), QImage::Format_RGB32);
    const int dpm = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(Qt::white);
    QPainter painter(&image);
    TReportPainter::paintPage(&painter, p, k);
    painter.end();
    return image;
}

bool TReportExporter::exportImages(const TReportDocument& doc, const QString& path, const char* format,
                                   int dpi, QStringList* written, QString* error)
{
    const QFileInfo info(path);
    const QString base = info.path() + QLatin1Char('/') + info.completeBaseName();
    const QString ext = info.suffix().isEmpty() ? QString::fromLatin1(format).toLower() : info.suffix();
    if (written)
        written->clear();
    for (int i = 0; i < doc.pages.size(); ++i) {
        const QString name = doc.pages.size() == 1 ? base + QLatin1Char('.') + ext
                                                   : QStringLiteral("%1_%2.%3").arg(base).arg(i + 1).arg(ext);
        QSaveFile file(name);
        if (!file.open(QIODevice::WriteOnly) || !renderPage(doc, i, dpi).save(&file, format, 90) ||
            !file.commit()) {
            if (error)
                *error = QStringLiteral("无法写入图片文件 %1:%2").arg(name, file.errorString());
            return false;
        }
        if (written)
            written->append(name);
    }
    return true;
}

bool TReportExporter::print(const TReportDocument& doc, QPrinter* printer, QString* error, int first,
                            int last)
{
    if (doc.pages.isEmpty())
        return true;
    const int from = std::clamp(first > 0 ? first : 1, 1, doc.pageCount());
    const int to = std::clamp(last > 0 ? last : doc.pageCount(), from, doc.pageCount());
    printer->setFullPage(true);
    printer->setPageLayout(layoutFor(doc.pages.at(from - 1)));
    QPainter painter;
    if (!painter.begin(printer)) {
        if (error)
            *error = QStringLiteral("无法开始打印,请检查打印机设置。");
        return false;
    }
    const double k = printer->resolution() / 25.4;
    for (int i = from - 1; i < to; ++i) {
        if (i > from - 1) {
            printer->setPageLayout(layoutFor(doc.pages.at(i)));
            if (!printer->newPage()) {
                painter.end();
                if (error)
                    *error = QStringLiteral("打印中断。");
                return false;
            }
        }
        // The device origin of a full-page printer is the paper's corner.
        TReportPainter::paintPage(&painter, doc.pages.at(i), k);
    }
    if (!painter.end()) {
        if (error)
            *error = QStringLiteral("打印失败。");
        return false;
    }
    return true;
}
