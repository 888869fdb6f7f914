#include "OperatorSet.h"

#include "data/Exceptions.h"

namespace {

QString text(const QString& s)
{
    // Empty texts are stored as '' rather than null.
    return s.isNull() ? QStringLiteral("") : s;
}

void refuseSa(const QString& loginId)
{
    if (loginId.compare(QLatin1String("sa"), Qt::CaseInsensitive) == 0)
        throw Exception(QStringLiteral("系统用户(sa)不能在这里修改或删除."));
}

} // namespace

TOperatorSet::TOperatorSet()
{
    m_loginId = AddField(ftString, QStringLiteral("LoginId"), 30, true, QStringLiteral("登陆名"));
    m_password = AddField(ftString, QStringLiteral("Password"), 50, true, QStringLiteral("密码"));
    m_name = AddField(ftString, QStringLiteral("Name"), 50, true, QStringLiteral("姓名"));
    m_contact = AddField(ftString, QStringLiteral("Contact"), 100, true, QStringLiteral("联系方式"));
    m_note = AddField(ftString, QStringLiteral("Note"), 200, true, QStringLiteral("备注"));
    m_rights = AddField(ftMemo, QStringLiteral("Rights"), -1, true, QStringLiteral("权限"));
    OpenOperators();
}

void TOperatorSet::OpenOperators()
{
    OpenSql(QStringLiteral("select * from operator where LoginId<>'sa'"));
}

void TOperatorSet::AddOperator(const QString& loginId, const QString& password, const QString& rights,
                               const QString& note, const QString& contact, const QString& name)
{
    gDatabase->Execute(
        QStringLiteral("insert into operator(LoginId,[Password],Name,Contact,[Note],Rights)values(:"
                       "LoginId,:Password,:Name,:Contact,:Note,:Rights)"),
        {DBParam(QStringLiteral("LoginId"), loginId), DBParam(QStringLiteral("Password"), text(password)),
         DBParam(QStringLiteral("Name"), text(name)), DBParam(QStringLiteral("Contact"), text(contact)),
         DBParam(QStringLiteral("Note"), text(note)), DBParam(QStringLiteral("Rights"), text(rights))});
    TDataSet* ds = DataSet();
    ds->Append();
    m_loginId->SetValue(loginId);
    m_password->SetValue(text(password));
    m_name->SetValue(text(name));
    m_contact->SetValue(text(contact));
    m_note->SetValue(text(note));
    m_rights->SetValue(text(rights));
    ds->Post();
}

void TOperatorSet::UpdateOperator(const QString& loginId, const QString& password, const QString& rights,
                                  const QString& note, const QString& contact, const QString& name)
{
    refuseSa(loginId);
    const int rows = gDatabase->ExecSql(
        QStringLiteral(
            "update operator set [Password]=:Password,Name=:Name,Contact=:Contact,[Note]=:Note,Rights=:"
            "Rights where LoginId=:LoginId"),
        {DBParam(QStringLiteral("Password"), text(password)), DBParam(QStringLiteral("Name"), text(name)),
         DBParam(QStringLiteral("Contact"), text(contact)), DBParam(QStringLiteral("Note"), text(note)),
         DBParam(QStringLiteral("Rights"), text(rights)), DBParam(QStringLiteral("LoginId"), loginId)});
    if (rows != 1)
        throw EDatabaseError(QStringLiteral("更新操作员 %1 没有返回成功标志").arg(loginId));
    TDataSet* ds = DataSet();
    if (!ds->Locate(QStringLiteral("LoginId"), loginId, loCaseInsensitive))
        return;
    ds->Edit();
    m_name->SetValue(text(name));
    m_password->SetValue(text(password));
    m_contact->SetValue(text(contact));
    m_note->SetValue(text(note));
    m_rights->SetValue(text(rights));
    ds->Post();
}

void TOperatorSet::DeleteOperator(const QString& loginId)
{
    refuseSa(loginId);
    gDatabase->Execute(QStringLiteral("delete from operator where LoginId=:LoginId"),
                       {DBParam(QStringLiteral("LoginId"), loginId)});
    TDataSet* ds = DataSet();
    if (ds->Locate(QStringLiteral("LoginId"), loginId, loCaseInsensitive))
        ds->Delete();
}
