#pragma once

#include "ReportDocument.h"

#include <QString>

// Writes a prepared report as one HTML page: every page a sheet with its primitives placed in
// millimetres; text stays text, images are embedded, bar codes are SVG.
class TReportHtmlWriter
{
public:
    static QString toHtml(const TReportDocument& doc);
    static bool write(const TReportDocument& doc, const QString& path, QString* error);
};
