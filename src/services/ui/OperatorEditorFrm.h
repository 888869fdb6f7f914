#pragma once

#include "services/Operator.h"
#include "shell/ui/ADlgFrm.h"

class QLineEdit;
class QListWidget;

// "操作员属性": login name, name, contact, note, the password twice and the check list of the
// registered rights. OK is refused without a login name or while the passwords differ.
class TOperatorEditorFrm : public TADlgFrm
{
    Q_OBJECT

public:
    explicit TOperatorEditorFrm(QWidget* parent = nullptr);

    // Adds a right to the check list; the list order is the order of the rights string.
    void RegisterRight(int code, const QString& caption);
    // Fills the fields; a right is ticked when the rights string holds its code. The login
    // name can only be typed for a new operator.
    void SetOperator(const TOperator& op, bool isNew);
    // The edited values; Rights is built over the ticked rights in list order.
    TOperator Operator() const;
    bool Execute();

    QListWidget* RightsList() const { return m_rights; }

    void accept() override;

private:
    QLineEdit* m_loginId = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_contact = nullptr;
    QLineEdit* m_note = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_password2 = nullptr;
    QListWidget* m_rights = nullptr;
};
