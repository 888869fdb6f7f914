#pragma once

#include "services/Operator.h"
#include "shell/ui/ADlgFrm.h"

class QLineEdit;

// "更改密码": the current user, the current password and the new one twice. It refuses OK
// while the two new passwords differ; the operator's password change flow does the rest.
class TPasswordChangerFrm : public TADlgFrm, public TPasswordDialog
{
    Q_OBJECT

public:
    explicit TPasswordChangerFrm(QWidget* parent = nullptr);

    void SetLoginId(const QString& loginId) override;
    bool Execute() override;
    QString CurrentPassword() const override;
    QString NewPassword() const override;

    void accept() override;

private:
    QLineEdit* m_loginId = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_new1 = nullptr;
    QLineEdit* m_new2 = nullptr;
};

// The menu command "更改我的登陆密码" for gOperator; true when the password was changed.
bool ChangeMyPassword(QWidget* parent = nullptr);
