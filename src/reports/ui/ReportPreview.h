#pragma once

#include "reports/ReportDocument.h"
#include "reports/ReportExporter.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QPrinter;
class QScrollArea;
class QSpinBox;
class QToolBar;
class TReportPageView;

// Shows a prepared report page by page with zoom, prints it and exports it; no editing.
class TReportPreview final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TReportPreview)

public:
    // Asks for the printer and the page range (1-based, 0 = all); false when cancelled.
    using TPrintDialog = std::function<bool(QPrinter* printer, int pageCount, int* first, int* last)>;

    explicit TReportPreview(QWidget* parent = nullptr);
    ~TReportPreview() override;

    void setDocument(const TReportDocument& doc);
    const TReportDocument& document() const { return m_doc; }

    // 0-based page index.
    int currentPage() const { return m_page; }
    void setCurrentPage(int page);
    // 1.0 is the paper's real size on the screen.
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    void fitWidth();
    void fitPage();

    // The system's print dialog unless replaced (tests answer it).
    void setPrintDialog(const TPrintDialog& dialog) { m_printDialog = dialog; }
    bool print();
    // Asks for a file name through the message service and writes the format there.
    bool exportTo(TReportExporter::TFormat format);

signals:
    void pageChanged(int page);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateControls();
    void applyZoomChoice(int index);

    TReportDocument m_doc;
    int m_page = 0;
    double m_zoom = 1.0;
    // Fit modes keep fitting when the window is resized: 0 none, 1 width, 2 page.
    int m_fit = 1;
    TPrintDialog m_printDialog;
    QToolBar* m_toolBar = nullptr;
    QSpinBox* m_pageBox = nullptr;
    QLabel* m_pageCount = nullptr;
    QComboBox* m_zoomBox = nullptr;
    QScrollArea* m_scroll = nullptr;
    TReportPageView* m_view = nullptr;
};
