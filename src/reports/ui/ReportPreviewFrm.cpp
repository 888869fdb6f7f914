#include "ReportPreviewFrm.h"

#include "ReportPreview.h"

#include <QVBoxLayout>

TReportPreviewFrm::TReportPreviewFrm(const TReportDocument& doc, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ReportPreviewFrm"));
    setWindowTitle(doc.title.isEmpty() ? QStringLiteral("预览") : QStringLiteral("预览 - %1").arg(doc.title));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_preview = new TReportPreview(this);
    layout->addWidget(m_preview);
    resize(900, 700);
    m_preview->setDocument(doc);
}
