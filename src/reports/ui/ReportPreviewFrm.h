#pragma once

#include <QDialog>

class TReportDocument;
class TReportPreview;

// The preview window: a prepared report with printing and export (caption "预览").
class TReportPreviewFrm final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TReportPreviewFrm)

public:
    explicit TReportPreviewFrm(const TReportDocument& doc, QWidget* parent = nullptr);
    TReportPreview* preview() const { return m_preview; }

private:
    TReportPreview* m_preview = nullptr;
};
