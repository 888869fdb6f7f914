#pragma once

#include "reports/ReportTemplate.h"

#include <QList>
#include <QPointF>
#include <QWidget>

#include <functional>

// A selected thing on the design page: an object of a band, a band (object -1), or nothing.
struct RDesignRef
{
    int band = -1;
    int object = -1;
    bool operator==(const RDesignRef&) const = default;
};

// The WYSIWYG page of the designer: bands stacked with their captions, objects drawn as they
// print (expressions shown as written). Objects are inserted, selected, moved and resized with
// the mouse and the keyboard, snapped to the grid; band heights are dragged at their bottom edge.
class TReportDesignView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TReportDesignView)

public:
    static constexpr int kCaption = 16; // px above every band for its name
    static constexpr int kGap = 4;      // px between bands
    static constexpr int kMargin = 16;  // px around the paper

    explicit TReportDesignView(QWidget* parent = nullptr);

    // The template edited and the page shown; the view keeps the pointer.
    void setTemplate(TReportTemplate* report);
    void setPageIndex(int page);
    int pageIndex() const { return m_pageIndex; }
    RReportPage* page() const;
    // Called before every change of the template, so the owner can remember it for undo.
    void setAboutToChange(const std::function<void()>& callback) { m_aboutToChange = callback; }

    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    double gridStep() const { return m_grid; }
    void setGridStep(double mm) { m_grid = mm; }
    bool snapToGrid() const { return m_snap; }
    void setSnapToGrid(bool on);

    const QList<RDesignRef>& selection() const { return m_selection; }
    void setSelection(const QList<RDesignRef>& selection);
    void clearSelection() { setSelection({}); }
    void selectAllInBand();
    RReportObject* object(const RDesignRef& ref) const;
    RReportBand* band(int index) const;

    // The next click on a band inserts an object of this kind.
    void beginInsert(TObjectKind kind)
    {
        m_insertKind = int(kind);
        setCursor(Qt::CrossCursor);
    }
    // Adds an object to a band at a point (mm in the band); returns its reference.
    RDesignRef insertObject(int band, TObjectKind kind, const QPointF& at, const QString& text = QString());
    int addBand(TBandKind kind);
    void deleteSelection();
    void moveSelection(double dx, double dy);
    void resizeSelection(double dw, double dh);
    enum class TAlign { Left, Right, Top, Bottom, HCenter, VCenter, SameWidth, SameHeight };
    // Aligns the selected objects of a band to the first one selected.
    void alignSelection(TAlign how);

    // Layout: the band at a widget point, its rectangle in pixels, and points in band mm.
    int bandAt(const QPoint& pos) const;
    QRectF bandRect(int band) const;
    QPointF toBandMm(int band, const QPointF& pos) const;
    QPointF fromBandMm(int band, const QPointF& mm) const;
    double pxPerMm() const;
    void relayout();
    // Edits from outside the view (property panel, dialogs) are framed by these two calls.
    void beginChange() { changing(); }
    void endChange() { changed(); }

signals:
    void selectionChanged();
    void templateChanged();
    // A double click on a text object: the owner edits its text.
    void editText(const RDesignRef& ref);
    void objectInserted(const RDesignRef& ref);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum class TDrag { None, Move, Resize, BandHeight, Rubber };
    QRectF objectRect(const RDesignRef& ref) const;
    RDesignRef objectAt(const QPoint& pos) const;
    int handleAt(const QPoint& pos) const;
    QList<QRectF> handles(const RDesignRef& ref) const;
    double snap(double mm) const;
    void changing();
    void changed();

    TReportTemplate* m_template = nullptr;
    int m_pageIndex = 0;
    std::function<void()> m_aboutToChange;
    double m_zoom = 1.0;
    double m_grid = 2.0;
    bool m_snap = true;
    QList<RDesignRef> m_selection;
    int m_insertKind = -1;

    TDrag m_drag = TDrag::None;
    QPoint m_pressPos;
    QPoint m_lastPos;
    int m_dragHandle = -1;
    int m_dragBand = -1;
    bool m_dragChanged = false;
    QList<QRectF> m_dragStart; // geometries of the selection when the drag began
    double m_dragBandHeight = 0;
};
