#pragma once

#include "ReportTemplate.h"

#include <QList>
#include <QRectF>
#include <QString>

class QPainter;

// The shapes of one bar code as libzint draws it, in its own units.
struct RBarcodeShapes
{
    struct RText
    {
        QPointF pos;
        double size = 0;
        double width = 0;
        int halign = 0; // 0 centre, 1 left, 2 right
        QString text;
    };
    struct RHexagon
    {
        QPointF centre;
        double diameter = 0;
    };
    QSizeF size;
    QList<QRectF> bars;
    QList<RHexagon> hexagons;
    QList<RText> texts;
    // Chinese message when the data cannot be encoded; then there are no shapes.
    QString error;

    bool isValid() const { return error.isEmpty() && size.width() > 0 && size.height() > 0; }
};

// Bar codes (Code 128, EAN-13, QR) through libzint, drawn as vectors.
class TReportBarcode
{
public:
    static RBarcodeShapes encode(TBarcodeKind kind, const QString& data, bool showText);
    // Draws into target (device coordinates); a QR code keeps its square shape.
    static void paint(QPainter* painter, const QRectF& target, TBarcodeKind kind, const QString& data,
                      bool showText);
    // The bar code as an SVG element sized to width × height millimetres (for HTML).
    static QString svg(TBarcodeKind kind, const QString& data, bool showText, double width, double height);
    static QString kindName(TBarcodeKind kind);
};
