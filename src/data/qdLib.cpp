#include "qdLib.h"

#include "MessageService.h"

QString gMessageCaption = QStringLiteral("提示");

void ShowInfo(const QString& text)
{
    MessageService().Message(QStringLiteral("\r\n") + text + QStringLiteral("\t"), gMessageCaption,
                             TMessageService::Information, TMessageService::Ok);
}

bool ConfirmDelete(const QString& what)
{
    const QString name = what.isEmpty() ? QStringLiteral("当前记录") : what;
    return MessageService().Message(QStringLiteral("\r您确定要删除 %1 吗?\t\t").arg(name), gMessageCaption,
                                    TMessageService::Warning,
                                    TMessageService::OkCancel) == TMessageService::AnswerOk;
}

void ShowDeleteRefused(const QString& databaseMessage)
{
    ShowInfo(
        QStringLiteral(
            "为了数据的完整性,现在不能删除该记录.\r\n因为至少有一个表已经关联到该记录,除非先删除关联表中的"
            "记录.\r\n如果是清除演示数据,请选择菜单里相应的功能来操作. 以下是原文描述:\r\n\r\n") +
        databaseMessage);
}

bool AskYesNo(const QString& text)
{
    return MessageService().Message(QStringLiteral("\r\n") + text + QStringLiteral("\t"), gMessageCaption,
                                    TMessageService::Question,
                                    TMessageService::YesNo) == TMessageService::AnswerYes;
}
