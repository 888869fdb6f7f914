#include "OperatorEditorFrm.h"

#include "services/Rights.h"

#include "data/qdLib.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace {

constexpr int kCodeRole = Qt::UserRole;

} // namespace

TOperatorEditorFrm::TOperatorEditorFrm(QWidget* parent) : TADlgFrm(parent)
{
    setObjectName(QStringLiteral("OperatorEditorFrm"));
    setWindowTitle(QStringLiteral("操作员属性"));

    auto* form = new QFormLayout(ClientArea());
    form->setContentsMargins(0, 0, 0, 0);
    auto edit = [this, form](const char* name, const QString& label, bool masked) {
        auto* e = new QLineEdit(ClientArea());
        e->setObjectName(QLatin1String(name));
        if (masked)
            e->setEchoMode(QLineEdit::Password);
        form->addRow(label, e);
        return e;
    };
    m_loginId = edit("edtLoginId", QStringLiteral("登陆名"), false);
    m_name = edit("edtName", QStringLiteral("姓名"), false);
    m_contact = edit("edtContact", QStringLiteral("联系方式"), false);
    m_note = edit("edtNote", QStringLiteral("备注"), false);
    m_password = edit("edtPassword", QStringLiteral("密码"), true);
    m_password2 = edit("edtPassword2", QStringLiteral("验证密码"), true);
    m_rights = new QListWidget(ClientArea());
    m_rights->setObjectName(QStringLiteral("lstRights"));
    m_rights->setMinimumSize(260, 220);
    form->addRow(QStringLiteral("权限"), m_rights);

    connect(m_rights, &QListWidget::itemDoubleClicked, this, [](QListWidgetItem* item) {
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });
}

void TOperatorEditorFrm::RegisterRight(int code, const QString& caption)
{
    auto* item = new QListWidgetItem(caption, m_rights);
    item->setData(kCodeRole, code);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
}

void TOperatorEditorFrm::SetOperator(const TOperator& op, bool isNew)
{
    m_loginId->setText(op.LoginId);
    m_loginId->setReadOnly(!isNew);
    m_name->setText(op.Name);
    m_contact->setText(op.Contact);
    m_note->setText(op.Note);
    m_password->setText(op.Password);
    m_password2->setText(op.Password);
    for (int i = 0; i < m_rights->count(); ++i) {
        QListWidgetItem* item = m_rights->item(i);
        item->setCheckState(RightsContain(op.Rights, item->data(kCodeRole).toInt()) ? Qt::Checked
                                                                                    : Qt::Unchecked);
    }
}

TOperator TOperatorEditorFrm::Operator() const
{
    TOperator op;
    op.LoginId = m_loginId->text();
    op.Name = m_name->text();
    op.Contact = m_contact->text();
    op.Note = m_note->text();
    op.Password = m_password->text();
    QList<int> codes;
    for (int i = 0; i < m_rights->count(); ++i)
        if (m_rights->item(i)->checkState() == Qt::Checked)
            codes << m_rights->item(i)->data(kCodeRole).toInt();
    op.Rights = RightsString(codes);
    return op;
}

bool TOperatorEditorFrm::Execute()
{
    (m_loginId->isReadOnly() ? m_name : m_loginId)->setFocus();
    return exec() == QDialog::Accepted;
}

void TOperatorEditorFrm::accept()
{
    if (m_loginId->text().isEmpty()) {
        ShowInfo(QStringLiteral("必须填写登陆名."));
        m_loginId->setFocus();
        return;
    }
    if (m_password->text() != m_password2->text()) {
        ShowInfo(QStringLiteral("两次输入的密码不一样,请重新输入."));
        m_password->clear();
        m_password2->clear();
        m_password->setFocus();
        return;
    }
    TADlgFrm::accept();
}
