#pragma once

#include "ReportDocument.h"

#include <QList>
#include <QString>
#include <QVariant>

// Writes the data part of a prepared report as a spreadsheet: title, headers (once), data,
// group and summary bands become rows, their texts cells in columns found from the texts'
// left edges. Page headers and footers are left out.
class TReportXlsxWriter
{
public:
    struct RCell
    {
        int row = 0;
        int column = 0;
        QVariant value;
        bool bold = false;
    };
    // The cells that write() puts into the sheet, for checking and for other table writers.
    static QList<RCell> cells(const TReportDocument& doc, QList<double>* columnWidths = nullptr);
    static bool write(const TReportDocument& doc, const QString& path, QString* error);
};
