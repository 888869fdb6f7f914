#pragma once

#include "reports/ReportMemoryData.h"
#include "reports/ReportTemplate.h"

#include <memory>

// In-memory data sets shaped like the ones the list windows hand to printing, with their
// default captions.
namespace reporttest {

std::unique_ptr<TReportMemoryData> materials(const QString& name, int rows, bool priceVisible = true);
std::unique_ptr<TReportMemoryData> products(const QString& name, int rows);
std::unique_ptr<TReportMemoryData> bom(const QString& name, int rows, bool priceVisible = true);
std::unique_ptr<TReportMemoryData> touchans(const QString& name, int rows);
std::unique_ptr<TReportMemoryData> requirements(const QString& name, int rows);
std::unique_ptr<TReportMemoryData> progress(const QString& name, int rows);

// A text object at (x, y) of the given size.
RReportObject text(const QString& content, double x = 0, double y = 0, double width = 40, double height = 6);
RReportBand band(TBandKind kind, double height, const QList<RReportObject>& objects,
                 const QString& name = QString());
// A template with one A4 page holding the bands.
TReportTemplate report(const QList<RReportBand>& bands);

} // namespace reporttest
