#pragma once

#include <QDate>
#include <QString>

// The error report: the text the report dialog offers for completion, and its sending to the
// maker's report address by HTTP form post.

// What the report tells about the program and the error.
struct RBugReportInfo
{
    QString ProductName;
    QString ProductVersion; // edition, a space, build
    QString Os;
    QString CompanyName;
    QString ActiveForm;
    QString ActiveControl;
    QString ExceptionClass;
    QString ExceptionDescribe;
    QDate ExceptionDate;
};

// The report text, lines separated by "\n".
QString BugReportText(const RBugReportInfo& info);

// The report address: key bugUrl of section publish in the home directory's cfg.ini, empty
// when it is not set.
QString BugReportUrl();

// The outcome of one sending: Ok when the reply body is exactly "ok"; Body holds the reply;
// Error describes a transport failure (no reply, a refused connection, an HTTP error status).
struct RBugSendResult
{
    bool Ok = false;
    QString Body;
    QString Error;
};

// Posts the form field Data (the text with "\r\n" line breaks, UTF-8, form-encoded) to the
// address and waits for the reply, at most timeoutMs. Never throws.
RBugSendResult SendBugReport(const QString& url, const QString& text, int timeoutMs = 30000);

// The message shown after a failed sending: the reply body, or for an empty one that sending
// failed and the network should be checked.
QString BugSendFailureMessage(const RBugSendResult& result);
