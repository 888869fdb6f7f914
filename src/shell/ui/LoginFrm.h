#pragma once

#include "services/Operator.h"
#include "shell/ui/ADlgFrm.h"

class QComboBox;
class QLineEdit;

// The login dialog: login name (a drop-down of every operator but sa, proposing the last
// login) and password. It closes with OK only after a successful check, which fills gOperator;
// a failed check keeps it open with the password selected.
class TLoginFrm : public TADlgFrm
{
    Q_OBJECT

public:
    explicit TLoginFrm(QWidget* parent = nullptr);

    QComboBox* LoginIdBox() const { return m_loginId; }
    QLineEdit* PasswordBox() const { return m_password; }

    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QComboBox* m_loginId = nullptr;
    QLineEdit* m_password = nullptr;
    TOperator m_temp;
};
