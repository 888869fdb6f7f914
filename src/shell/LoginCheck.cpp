#include "LoginCheck.h"

#include "data/Configer.h"
#include "services/Operator.h"

bool gPriceVisible = false;

bool CheckLogin(TOperator& temp, const QString& loginId, const QString& password)
{
    temp.Clear();
    temp.LoadOperator(loginId);
    if (!temp.CheckPassword(password))
        return false;
    gOperator->LoadOperator(temp.LoginId);
    TConfiger().WriteLastLoginId(temp.LoginId);
    return true;
}

QString ProposedLoginId()
{
    const QString last = TConfiger().ReadLastLoginId();
    return last.isEmpty() ? QStringLiteral("sa") : last;
}
