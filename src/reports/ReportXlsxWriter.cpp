#include "ReportXlsxWriter.h"

#include "ReportFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>

#include <xlsxwriter.h>

#include <cmath>

namespace {

bool exported(const RReportItem& item)
{
    if (item.kind != TItemKind::Text || item.repeatedBand)
        return false;
    switch (item.band) {
    case TBandKind::PageHeader:
    case TBandKind::PageFooter:
        return false;
    default:
        return true;
    }
}

long key(double mm)
{
    return std::lround(mm * 2); // half a millimetre
}

} // namespace

QList<TReportXlsxWriter::RCell> TReportXlsxWriter::cells(const TReportDocument& doc,
                                                         QList<double>* columnWidths)
{
    // Columns: the distinct left edges of all exported texts.
    QMap<long, double> widths;
    for (const RReportDocPage& page : doc.pages) {
        for (const RReportItem& item : page.items) {
            if (exported(item)) {
                double& w = widths[key(item.rect.left())];
                w = std::max(w, item.rect.width());
            }
        }
    }
    const QList<long> lefts = widths.keys();
    if (columnWidths) {
        columnWidths->clear();
        for (long l : lefts)
            columnWidths->append(widths.value(l));
    }
    QList<RCell> out;
    int nextRow = 0;
    for (const RReportDocPage& page : doc.pages) {
        // Items of one printed band share a serial number and follow each other.
        qsizetype i = 0;
        const qsizetype n = page.items.size();
        while (i < n) {
            if (!exported(page.items.at(i))) {
                ++i;
                continue;
            }
            const int serial = page.items.at(i).bandSerial;
            QList<const RReportItem*> band;
            while (i < n && (page.items.at(i).bandSerial == serial)) {
                if (exported(page.items.at(i)))
                    band.append(&page.items.at(i));
                ++i;
            }
            // Every line of objects in the band is a row of its own.
            QList<long> tops;
            for (const RReportItem* item : band) {
                if (!tops.contains(key(item->rect.top())))
                    tops.append(key(item->rect.top()));
            }
            std::sort(tops.begin(), tops.end());
            bool any = false;
            for (const RReportItem* item : band) {
                if (item->text.trimmed().isEmpty())
                    continue;
                RCell c;
                c.row = nextRow + int(tops.indexOf(key(item->rect.top())));
                c.column =
                    int(std::lower_bound(lefts.begin(), lefts.end(), key(item->rect.left())) - lefts.begin());
                c.value = item->value.isValid() ? item->value : QVariant(item->text);
                c.bold = item->bold;
                out.append(c);
                any = true;
            }
            if (any)
                nextRow += int(tops.size());
        }
    }
    return out;
}

bool TReportXlsxWriter::write(const TReportDocument& doc, const QString& path, QString* error)
{
    const auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("无法写入文件 %1:%2").arg(path, why);
        return false;
    };
    const QFileInfo info(path);
    // libxlsxwriter writes a file by name: write beside the target, then put it in place.
    const QString temp =
        info.dir().filePath(QStringLiteral(".%1.%2.tmp")
                                .arg(info.fileName())
                                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    const QByteArray tempName = QFile::encodeName(temp);
    lxw_workbook* book = workbook_new(tempName.constData());
    if (!book)
        return fail(QStringLiteral("无法创建工作簿"));
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    QList<double> widths;
    const QList<RCell> all = cells(doc, &widths);
    for (int c = 0; c < widths.size(); ++c)
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), std::clamp(widths.at(c) / 2.0, 4.0, 80.0),
                             nullptr);
    for (const RCell& c : all) {
        lxw_format* f = c.bold ? bold : nullptr;
        if (TReportFormat::isNumber(c.value)) {
            worksheet_write_number(sheet, lxw_row_t(c.row), lxw_col_t(c.column), c.value.toDouble(), f);
        } else {
            const QByteArray text = c.value.toString().toUtf8();
            worksheet_write_string(sheet, lxw_row_t(c.row), lxw_col_t(c.column), text.constData(), f);
        }
    }
    const lxw_error rc = workbook_close(book);
    if (rc != LXW_NO_ERROR) {
        QFile::remove(temp);
        return fail(QString::fromUtf8(lxw_strerror(rc)));
    }
    if (QFile::exists(path) && !QFile::remove(path)) {
        QFile::remove(temp);
        return fail(QStringLiteral("原文件无法替换"));
    }
    if (!QFile::rename(temp, path)) {
        QFile::remove(temp);
        return fail(QStringLiteral("文件无法改名"));
    }
    return true;
}
