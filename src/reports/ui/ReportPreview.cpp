#include "ReportPreview.h"

#include "data/MessageService.h"
#include "reports/ReportPainter.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

// The paper of the current page, drawn at the preview's zoom.
class TReportPageView final : public QWidget
{
public:
    explicit TReportPageView(TReportPreview* preview) : QWidget(nullptr), m_preview(preview)
    {
        setAutoFillBackground(false);
    }

    static constexpr int kMargin = 12;

    double pxPerMm() const { return m_preview->zoom() * logicalDpiX() / 25.4; }

    QSizeF paperMm() const
    {
        const TReportDocument& doc = m_preview->document();
        const int p = m_preview->currentPage();
        return p >= 0 && p < doc.pageCount() ? doc.pages.at(p).size : QSizeF(210, 297);
    }

    void relayout()
    {
        const QSizeF mm = paperMm();
        const double k = pxPerMm();
        resize(int(std::ceil(mm.width() * k)) + 2 * kMargin, int(std::ceil(mm.height() * k)) + 2 * kMargin);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(128, 128, 128));
        const QSizeF mm = paperMm();
        const double k = pxPerMm();
        const QRectF paper(kMargin, kMargin, mm.width() * k, mm.height() * k);
        p.fillRect(paper.translated(3, 3), QColor(60, 60, 60));
        p.fillRect(paper, Qt::white);
        const TReportDocument& doc = m_preview->document();
        const int page = m_preview->currentPage();
        if (page >= 0 && page < doc.pageCount()) {
            p.setClipRect(paper);
            TReportPainter::paintPage(&p, doc.pages.at(page), k, paper.topLeft());
        }
    }

    void wheelEvent(QWheelEvent* e) override
    {
        if (e->modifiers() & Qt::ControlModifier) {
            m_preview->setZoom(m_preview->zoom() * (e->angleDelta().y() > 0 ? 1.1 : 1 / 1.1));
            e->accept();
            return;
        }
        QWidget::wheelEvent(e);
    }

private:
    TReportPreview* m_preview;
};

namespace {

struct RZoomChoice
{
    const char* text;
    double zoom; // 0: fit width, -1: whole page
};

const RZoomChoice kZoomChoices[] = {{"适合宽度", 0}, {"整页", -1},  {"50%", 0.5}, {"75%", 0.75},
                                    {"100%", 1.0},   {"150%", 1.5}, {"200%", 2.0}};

} // namespace

TReportPreview::TReportPreview(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ReportPreview"));
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_toolBar = new QToolBar(this);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(m_toolBar);

    QAction* printAction = m_toolBar->addAction(QStringLiteral("打印"));
    printAction->setObjectName(QStringLiteral("actPrint"));
    printAction->setShortcut(QKeySequence::Print);
    connect(printAction, &QAction::triggered, this, [this] { print(); });

    auto* exportMenu = new QMenu(this);
    const struct
    {
        const char* text;
        TReportExporter::TFormat format;
        const char* name;
    } exports[] = {{"PDF 文件", TReportExporter::TFormat::Pdf, "actExportPdf"},
                   {"Excel 工作簿 (XLSX)", TReportExporter::TFormat::Xlsx, "actExportXlsx"},
                   {"HTML 网页", TReportExporter::TFormat::Html, "actExportHtml"},
                   {"PNG 图片", TReportExporter::TFormat::Png, "actExportPng"},
                   {"JPEG 图片", TReportExporter::TFormat::Jpeg, "actExportJpeg"}};
    for (const auto& e : exports) {
        QAction* a = exportMenu->addAction(QString::fromUtf8(e.text));
        a->setObjectName(QLatin1String(e.name));
        const TReportExporter::TFormat format = e.format;
        connect(a, &QAction::triggered, this, [this, format] { exportTo(format); });
    }
    auto* exportButton = new QToolButton(this);
    exportButton->setObjectName(QStringLiteral("btnExport"));
    exportButton->setText(QStringLiteral("导出"));
    exportButton->setMenu(exportMenu);
    exportButton->setPopupMode(QToolButton::InstantPopup);
    m_toolBar->addWidget(exportButton);
    m_toolBar->addSeparator();

    const auto addNav = [this](const char* text, const char* name, const QKeySequence& key, auto slot) {
        QAction* a = m_toolBar->addAction(QString::fromUtf8(text));
        a->setObjectName(QLatin1String(name));
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    addNav("首页", "actFirst", QKeySequence(), [this] { setCurrentPage(0); });
    addNav("上页", "actPrevious", QKeySequence(), [this] { setCurrentPage(m_page - 1); });
    m_pageBox = new QSpinBox(this);
    m_pageBox->setObjectName(QStringLiteral("spnPage"));
    m_pageBox->setMinimum(1);
    m_pageBox->setKeyboardTracking(false);
    connect(m_pageBox, &QSpinBox::valueChanged, this, [this](int v) { setCurrentPage(v - 1); });
    m_toolBar->addWidget(m_pageBox);
    m_pageCount = new QLabel(this);
    m_pageCount->setObjectName(QStringLiteral("lblPageCount"));
    m_toolBar->addWidget(m_pageCount);
    addNav("下页", "actNext", QKeySequence(), [this] { setCurrentPage(m_page + 1); });
    addNav("末页", "actLast", QKeySequence(), [this] { setCurrentPage(m_doc.pageCount() - 1); });
    m_toolBar->addSeparator();

    m_toolBar->addWidget(new QLabel(QStringLiteral(" 缩放 "), this));
    m_zoomBox = new QComboBox(this);
    m_zoomBox->setObjectName(QStringLiteral("cboZoom"));
    for (const auto& z : kZoomChoices)
        m_zoomBox->addItem(QString::fromUtf8(z.text));
    connect(m_zoomBox, &QComboBox::activated, this, &TReportPreview::applyZoomChoice);
    m_toolBar->addWidget(m_zoomBox);
    addNav("放大", "actZoomIn", QKeySequence::ZoomIn, [this] { setZoom(m_zoom * 1.25); });
    addNav("缩小", "actZoomOut", QKeySequence::ZoomOut, [this] { setZoom(m_zoom / 1.25); });

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("scrPages"));
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new TReportPageView(this);
    m_scroll->setWidget(m_view);
    layout->addWidget(m_scroll, 1);

    m_printDialog = [this](QPrinter* printer, int pageCount, int* first, int* last) {
        QPrintDialog dialog(printer, this);
        dialog.setWindowTitle(QStringLiteral("打印"));
        dialog.setMinMax(1, pageCount);
        dialog.setFromTo(1, pageCount);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        *first = dialog.printRange() == QAbstractPrintDialog::PageRange ? dialog.fromPage() : 0;
        *last = dialog.printRange() == QAbstractPrintDialog::PageRange ? dialog.toPage() : 0;
        return true;
    };
    updateControls();
}

TReportPreview::~TReportPreview() = default;

void TReportPreview::setDocument(const TReportDocument& doc)
{
    m_doc = doc;
    m_page = 0;
    if (m_fit == 1)
        fitWidth();
    else if (m_fit == 2)
        fitPage();
    updateControls();
    m_view->relayout();
    emit pageChanged(m_page);
}

void TReportPreview::setCurrentPage(int page)
{
    const int p = std::clamp(page, 0, std::max(0, m_doc.pageCount() - 1));
    if (p == m_page)
        return;
    m_page = p;
    updateControls();
    m_view->relayout();
    m_scroll->verticalScrollBar()->setValue(0);
    emit pageChanged(m_page);
}

void TReportPreview::setZoom(double zoom)
{
    m_fit = 0;
    m_zoom = std::clamp(zoom, 0.1, 8.0);
    m_zoomBox->setEditText(QString());
    m_view->relayout();
    updateControls();
}

void TReportPreview::fitWidth()
{
    const QSizeF mm = m_view->paperMm();
    const double available = std::max(50, m_scroll->viewport()->width() - 2 * TReportPageView::kMargin);
    m_zoom = std::clamp(available / (mm.width() * m_view->logicalDpiX() / 25.4), 0.1, 8.0);
    m_fit = 1;
    m_view->relayout();
    updateControls();
}

void TReportPreview::fitPage()
{
    const QSizeF mm = m_view->paperMm();
    const double w = std::max(50, m_scroll->viewport()->width() - 2 * TReportPageView::kMargin);
    const double h = std::max(50, m_scroll->viewport()->height() - 2 * TReportPageView::kMargin);
    const double k = m_view->logicalDpiX() / 25.4;
    m_zoom = std::clamp(std::min(w / (mm.width() * k), h / (mm.height() * k)), 0.1, 8.0);
    m_fit = 2;
    m_view->relayout();
    updateControls();
}

void TReportPreview::applyZoomChoice(int index)
{
    if (index < 0 || index >= int(std::size(kZoomChoices)))
        return;
    const double z = kZoomChoices[index].zoom;
    if (z == 0)
        fitWidth();
    else if (z < 0)
        fitPage();
    else
        setZoom(z);
}

void TReportPreview::updateControls()
{
    const int count = m_doc.pageCount();
    const QSignalBlocker block(m_pageBox);
    m_pageBox->setMaximum(std::max(1, count));
    m_pageBox->setValue(m_page + 1);
    m_pageBox->setEnabled(count > 1);
    m_pageCount->setText(QStringLiteral(" / %1 页 ").arg(count));
    const auto enable = [this](const char* name, bool on) {
        if (QAction* a = findChild<QAction*>(QLatin1String(name)))
            a->setEnabled(on);
    };
    enable("actFirst", m_page > 0);
    enable("actPrevious", m_page > 0);
    enable("actNext", m_page < count - 1);
    enable("actLast", m_page < count - 1);
    enable("actPrint", count > 0);
    const QSignalBlocker blockZoom(m_zoomBox);
    if (m_fit == 1) {
        m_zoomBox->setCurrentIndex(0);
    } else if (m_fit == 2) {
        m_zoomBox->setCurrentIndex(1);
    } else {
        int match = -1;
        for (int i = 0; i < int(std::size(kZoomChoices)); ++i) {
            if (std::abs(kZoomChoices[i].zoom - m_zoom) < 0.001)
                match = i;
        }
        m_zoomBox->setCurrentIndex(match);
        if (match < 0) {
            m_zoomBox->setEditable(true);
            m_zoomBox->setEditText(QStringLiteral("%1%").arg(std::lround(m_zoom * 100)));
            m_zoomBox->setEditable(false);
        }
    }
}

bool TReportPreview::print()
{
    if (m_doc.isEmpty())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_doc.title.isEmpty() ? QStringLiteral("报表") : m_doc.title);
    int first = 0;
    int last = 0;
    if (!m_printDialog || !m_printDialog(&printer, m_doc.pageCount(), &first, &last))
        return false;
    QString error;
    if (!TReportExporter::print(m_doc, &printer, &error, first, last)) {
        MessageService().Message(QStringLiteral("\r\n%1\t").arg(error), QStringLiteral("打印"),
                                 TMessageService::Warning, TMessageService::Ok);
        return false;
    }
    return true;
}

bool TReportPreview::exportTo(TReportExporter::TFormat format)
{
    const QString suffix = TReportExporter::suffix(format);
    // The service's filter form: "描述|*.ext".
    QString description = TReportExporter::filter(format);
    description = description.left(description.indexOf(QLatin1String(" (")));
    const QString filter = QStringLiteral("%1|*.%2|所有文件|*.*").arg(description, suffix);
    QString path = MessageService().SaveFileName(
        QStringLiteral("导出"), filter,
        m_doc.title.isEmpty() ? QString() : m_doc.title + QLatin1Char('.') + suffix);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix;
    QString error;
    if (!TReportExporter::exportTo(m_doc, format, path, &error)) {
        MessageService().Message(QStringLiteral("\r\n%1\t").arg(error), QStringLiteral("导出"),
                                 TMessageService::Warning, TMessageService::Ok);
        return false;
    }
    return true;
}

void TReportPreview::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageDown:
        setCurrentPage(m_page + 1);
        return;
    case Qt::Key_PageUp:
        setCurrentPage(m_page - 1);
        return;
    case Qt::Key_Home:
        if (event->modifiers() & Qt::ControlModifier) {
            setCurrentPage(0);
            return;
        }
        break;
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier) {
            setCurrentPage(m_doc.pageCount() - 1);
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void TReportPreview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_fit == 1)
        fitWidth();
    else if (m_fit == 2)
        fitPage();
}
