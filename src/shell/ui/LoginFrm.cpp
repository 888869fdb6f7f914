#include "LoginFrm.h"

#include "services/OperatorSet.h"
#include "shell/AppIdentity.h"
#include "shell/LoginCheck.h"

#include <QComboBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TLoginFrm::TLoginFrm(QWidget* parent) : TADlgFrm(parent)
{
    setObjectName(QStringLiteral("LoginFrm"));
    setWindowTitle(QStringLiteral("登陆"));
    SetPosition(poScreenCenter);
    // No frame buttons: the dialog ends through its own buttons only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* layout = new QVBoxLayout(ClientArea());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* title = new QLabel(gAppTitle, ClientArea());
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    title->setFont(big);
    layout->addWidget(title);
    layout->addWidget(new QLabel(QStringLiteral("请输入您的用户名和密码:"), ClientArea()));

    auto* form = new QFormLayout;
    m_loginId = new QComboBox(ClientArea());
    m_loginId->setObjectName(QStringLiteral("cbLoginId"));
    m_loginId->setEditable(true);
    m_loginId->setInsertPolicy(QComboBox::NoInsert);
    m_loginId->setMinimumWidth(200);
    m_password = new QLineEdit(ClientArea());
    m_password->setObjectName(QStringLiteral("edtPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    auto* nameLabel = new QLabel(QStringLiteral("用户名(&U)"), ClientArea());
    nameLabel->setBuddy(m_loginId);
    auto* pwLabel = new QLabel(QStringLiteral("密码(&P)"), ClientArea());
    pwLabel->setBuddy(m_password);
    form->addRow(nameLabel, m_loginId);
    form->addRow(pwLabel, m_password);
    layout->addLayout(form);

    TOperatorSet operators;
    TDataSet* ds = operators.DataSet();
    const QStringList names =
        operators.JoinFieldValues(ds->FieldByName(QStringLiteral("LoginId")), QStringLiteral("\r\n"))
            .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    m_loginId->addItems(names);
    m_loginId->setEditText(ProposedLoginId());
    m_password->setFocus();
}

void TLoginFrm::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
        focusWidget() == m_password) {
        event->accept();
        OkButton()->click();
        return;
    }
    TADlgFrm::keyPressEvent(event);
}

void TLoginFrm::accept()
{
    if (CheckLogin(m_temp, m_loginId->currentText(), m_password->text())) {
        TADlgFrm::accept();
        return;
    }
    m_password->setFocus();
    m_password->selectAll();
}
