#pragma once

#include "ReportDocument.h"

#include <QRectF>

class QPainter;

// Draws prepared pages onto any paint device: the preview, printers, PDF and images.
class TReportPainter
{
public:
    // Inner spacing of text frames in millimetres (the engine lays text out inside it).
    static constexpr double kPadX = 0.5;
    static constexpr double kPadY = 0.2;

    // Paints a page with its top left corner at origin (device coordinates), at pxPerMm device
    // pixels per millimetre. Only the paper is painted; the caller clears the background.
    static void paintPage(QPainter* painter, const RReportDocPage& page, double pxPerMm,
                          const QPointF& origin = QPointF());
    static void paintItem(QPainter* painter, const RReportItem& item, double pxPerMm, const QPointF& origin);
};
