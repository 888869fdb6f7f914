#pragma once

#include "ReportDocument.h"

#include <QImage>
#include <QString>
#include <QStringList>

class QIODevice;
class QPrinter;

// Writes a prepared report to the printer and to files. Every function returns false with a
// Chinese message in *error when it fails; nothing is half written under the target name.
class TReportExporter
{
public:
    enum class TFormat { Pdf, Png, Jpeg, Html, Xlsx };

    // The file dialog filter of every format, e.g. "PDF 文件 (*.pdf)".
    static QString filter(TFormat format);
    static QString suffix(TFormat format);
    // Writes format to path; image formats write one file per page (see exportImages).
    static bool exportTo(const TReportDocument& doc, TFormat format, const QString& path, QString* error);

    static bool exportPdf(const TReportDocument& doc, QIODevice* device, QString* error);
    static bool exportPdf(const TReportDocument& doc, const QString& path, QString* error);
    // One image per page: "name.png" for a single page, "name_1.png", "name_2.png" … otherwise.
    static bool exportImages(const TReportDocument& doc, const QString& path, const char* format, int dpi,
                             QStringList* written, QString* error);
    static QImage renderPage(const TReportDocument& doc, int page, int dpi);
    // Prints pages first … last (1-based, 0 for all) with the printer's settings.
    static bool print(const TReportDocument& doc, QPrinter* printer, QString* error, int first = 0,
                      int last = 0);
};
