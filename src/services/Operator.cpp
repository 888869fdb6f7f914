#include "Operator.h"

#include "EditLoop.h"
#include "Rights.h"

#include "data/Database.h"
#include "data/Exceptions.h"
#include "data/RecordSet.h"
#include "data/qdLib.h"

TOperator* gOperator = nullptr;

bool TOperator::LoadOperator(const QString& loginId)
{
    gRecordSet->OpenSql(
        QStringLiteral(
            "select LoginId,Password,Name,Contact,[Note],Rights from operator where LoginId=:LoginId"),
        {DBParam(QStringLiteral("LoginId"), loginId)});
    TDataSet* ds = gRecordSet->DataSet();
    const bool found = ds->RecordCount() == 1;
    if (found) {
        LoginId = ds->Fields(0)->AsString();
        Password = ds->Fields(1)->AsString();
        Name = ds->Fields(2)->AsString();
        Contact = ds->Fields(3)->AsString();
        Note = ds->Fields(4)->AsString();
        Rights = ds->Fields(5)->AsString();
    }
    ds->Close();
    return found;
}

void TOperator::Clear()
{
    *this = TOperator();
}

bool TOperator::CheckPassword(const QString& typed) const
{
    return !LoginId.isEmpty() && typed == Password;
}

bool TOperator::IsSa() const
{
    return LoginId == QLatin1String("sa");
}

bool TOperator::HasRight(int code) const
{
    return IsSa() || RightsContain(Rights, code);
}

bool TOperator::RequireRight(int code, bool abort) const
{
    if (HasRight(code))
        return true;
    ShowInfo(QStringLiteral("对不起,您没有该功能的操作权限,请与管理员联系(%1).").arg(code));
    if (abort)
        throw EAbort();
    return false;
}

void TOperator::RequireSa() const
{
    if (IsSa())
        return;
    ShowInfo(QStringLiteral("只有系统用户(sa)才能执行此操作."));
    throw EAbort();
}

bool TOperator::ChangePassword(TPasswordDialog& dialog)
{
    dialog.SetLoginId(LoginId);
    return RunEditLoop([&] { return dialog.Execute(); },
                       [&] {
                           if (dialog.CurrentPassword() != Password)
                               throw Exception(QStringLiteral("当前密码验证失败,请确认并重新输入."));
                           const QString newPassword = dialog.NewPassword();
                           StorePassword(newPassword);
                           Password = newPassword;
                           ShowInfo(QStringLiteral("密码更改成功! 下次登陆时请使用新密码."));
                       });
}

void TOperator::StorePassword(const QString& newPassword)
{
    const QString sql = QStringLiteral("update operator set [Password]=:Password where LoginId=:LoginId");
    // An empty password is allowed; it is stored as empty text, not null.
    const int rows = gDatabase->ExecSql(
        sql, {DBParam(QStringLiteral("Password"), newPassword.isNull() ? QStringLiteral("") : newPassword),
              DBParam(QStringLiteral("LoginId"), LoginId)});
    if (rows != 1)
        throw EDatabaseError(QStringLiteral("更改操作员 %1 的密码没有返回成功标志").arg(LoginId));
}
