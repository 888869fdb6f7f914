#pragma once

#include "shell/BugReport.h"
#include "shell/ui/ADlgFrm.h"

class QPlainTextEdit;

// The report dialog of the error handler: the report text for the user to complete, sent to
// the report address on OK. The dialog closes only after a successful sending.
class TBuggerFrm : public TADlgFrm
{
    Q_OBJECT

public:
    explicit TBuggerFrm(const RBugReportInfo& info, QWidget* parent = nullptr);

    QString ReportText() const;
    void SetReportText(const QString& text);
    // The address the report goes to; BugReportUrl() unless set.
    QString ReportUrl() const { return m_url; }
    void SetReportUrl(const QString& url) { m_url = url; }

    void accept() override;

private:
    QPlainTextEdit* m_memo = nullptr;
    QString m_url;
};
