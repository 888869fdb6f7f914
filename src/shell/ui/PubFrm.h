#pragma once

#include "shell/BugReport.h"

#include <QObject>

// The application's data module: while it exists it is the error handler of the program.
// An error shows the box "非常抱歉,系统遇到如下异常:..." with Yes and No; Yes opens the error
// report dialog.
class TPubFrm : public QObject
{
    Q_OBJECT

public:
    explicit TPubFrm(QObject* parent = nullptr);
    ~TPubFrm() override;

    // Shows the error of sender and, when the user agrees, the report dialog.
    void ShowException(QObject* sender, const QString& message);
    // What the report says about the program, the windows and the error, taken now.
    static RBugReportInfo CollectReportInfo(QObject* sender, const QString& message);
    // The text of the error box.
    static QString ErrorBoxText(const QString& message);
};
