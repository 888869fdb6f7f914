#include "PubFrm.h"

#include "data/MessageService.h"
#include "services/Company.h"
#include "shell/AppIdentity.h"
#include "shell/OsInfo.h"
#include "shell/ui/Application.h"
#include "shell/ui/BuggerFrm.h"

#include <QApplication>
#include <QWidget>

TPubFrm::TPubFrm(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("PubFrm"));
    SetErrorHandler([this](QObject* sender, const QString& message) { ShowException(sender, message); });
}

TPubFrm::~TPubFrm()
{
    SetErrorHandler({});
}

QString TPubFrm::ErrorBoxText(const QString& message)
{
    return QStringLiteral("\r\n非常抱歉,系统遇到如下异常:\r\n\r\n") + message +
           QStringLiteral("\r\n\r\n您可以点击\"是\"将此问题作为Bug发送到我们的网站上!");
}

RBugReportInfo TPubFrm::CollectReportInfo(QObject* sender, const QString& message)
{
    RBugReportInfo info;
    info.ProductName = gAppTitle;
    info.ProductVersion = gEdition + QLatin1Char(' ') + gBuild;
    info.Os = OsDescription();
    info.CompanyName = gCompany ? gCompany->CompanyName : QString();
    if (QWidget* w = QApplication::activeWindow())
        info.ActiveForm = w->objectName();
    if (QWidget* w = QApplication::focusWidget())
        info.ActiveControl = w->objectName();
    info.ExceptionClass = sender ? QString::fromLatin1(sender->metaObject()->className()) : QString();
    info.ExceptionDescribe = message;
    info.ExceptionDate = QDate::currentDate();
    return info;
}

void TPubFrm::ShowException(QObject* sender, const QString& message)
{
    // The windows are named before the box takes the focus.
    const RBugReportInfo info = CollectReportInfo(sender, message);
    if (MessageService().Message(ErrorBoxText(message), gAppTitle, TMessageService::Error,
                                 TMessageService::YesNo) != TMessageService::AnswerYes)
        return;
    QWidget* parent =
        QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
    TBuggerFrm dialog(info, parent);
    dialog.exec();
}
