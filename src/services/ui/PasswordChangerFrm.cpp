#include "PasswordChangerFrm.h"

#include "data/MessageService.h"
#include "data/qdLib.h"

#include <QFormLayout>
#include <QLineEdit>

TPasswordChangerFrm::TPasswordChangerFrm(QWidget* parent) : TADlgFrm(parent)
{
    setObjectName(QStringLiteral("PasswordChangerFrm"));
    setWindowTitle(QStringLiteral("更改密码"));

    auto* form = new QFormLayout(ClientArea());
    form->setContentsMargins(0, 0, 0, 0);
    auto edit = [this, form](const char* name, const QString& label, bool masked) {
        auto* e = new QLineEdit(ClientArea());
        e->setObjectName(QLatin1String(name));
        e->setMinimumWidth(180);
        if (masked)
            e->setEchoMode(QLineEdit::Password);
        form->addRow(label, e);
        return e;
    };
    m_loginId = edit("edtLoginId", QStringLiteral("当前用户"), false);
    m_loginId->setReadOnly(true);
    m_loginId->setFocusPolicy(Qt::NoFocus);
    m_password = edit("edtPassword", QStringLiteral("当前密码"), true);
    m_new1 = edit("edtNewPassword", QStringLiteral("新密码"), true);
    m_new2 = edit("edtNewPassword2", QStringLiteral("新密码验证"), true);
}

void TPasswordChangerFrm::SetLoginId(const QString& loginId)
{
    m_loginId->setText(loginId);
}

bool TPasswordChangerFrm::Execute()
{
    m_password->setFocus();
    return exec() == QDialog::Accepted;
}

QString TPasswordChangerFrm::CurrentPassword() const
{
    return m_password->text();
}

QString TPasswordChangerFrm::NewPassword() const
{
    return m_new1->text();
}

void TPasswordChangerFrm::accept()
{
    if (m_new1->text() != m_new2->text()) {
        MessageService().Message(QStringLiteral("两次输入的新密码不一样,请确认并重新输入."), gMessageCaption,
                                 TMessageService::Information, TMessageService::Ok);
        m_new1->clear();
        m_new2->clear();
        m_new1->setFocus();
        return;
    }
    TADlgFrm::accept();
}

bool ChangeMyPassword(QWidget* parent)
{
    TPasswordChangerFrm dlg(parent);
    return gOperator->ChangePassword(dlg);
}
