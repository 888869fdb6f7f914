#include "OperatorsFrm.h"

#include "OperatorEditorFrm.h"

#include "services/EditLoop.h"
#include "services/Operator.h"
#include "services/OperatorSet.h"
#include "services/Rights.h"

#include "data/Exceptions.h"
#include "data/qdLib.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TOperatorsFrm::TOperatorsFrm(QWidget* parent) : TAInfoDlgFrm(parent), m_set(std::make_unique<TOperatorSet>())
{
    setObjectName(QStringLiteral("OperatorsFrm"));
    setWindowTitle(QStringLiteral("操作员及权限"));
    setModal(true);

    m_editor = new TOperatorEditorFrm(this);
    for (const RRight& r : RightTable())
        m_editor->RegisterRight(r.Code, r.Caption);

    auto* layout = new QVBoxLayout(ClientArea());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("用户列表"), ClientArea()));
    m_list = new QListWidget(ClientArea());
    m_list->setObjectName(QStringLiteral("lstUsers"));
    m_list->setMinimumSize(300, 240);
    layout->addWidget(m_list);
    const QStringList names = m_set->JoinFieldValues(m_set->LoginIdFld(), QStringLiteral("\r\n"))
                                  .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    m_list->addItems(names);

    auto button = [this](const char* name, const QString& text, int at) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        ButtonRow()->insertWidget(at, b);
        return b;
    };
    // Before the stretch, so that they sit on the left, as the window's own actions.
    m_add = button("btnAdd", QStringLiteral("添加"), 0);
    m_edit = button("btnProperties", QStringLiteral("属性"), 1);
    m_delete = button("btnDelete", QStringLiteral("删除"), 2);

    connect(m_add, &QPushButton::clicked, this, &TOperatorsFrm::AddOperator);
    connect(m_edit, &QPushButton::clicked, this, &TOperatorsFrm::EditOperator);
    connect(m_delete, &QPushButton::clicked, this, &TOperatorsFrm::DeleteOperator);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &TOperatorsFrm::EditOperator);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &TOperatorsFrm::updateButtons);
    updateButtons();
}

TOperatorsFrm::~TOperatorsFrm() = default;

void TOperatorsFrm::updateButtons()
{
    const bool selected = m_list->currentItem() && m_list->currentItem()->isSelected();
    m_edit->setEnabled(selected);
    m_delete->setEnabled(selected);
}

void TOperatorsFrm::AddOperator()
{
    m_editor->SetOperator(TOperator(), true);
    RunEditLoop([this] { return m_editor->Execute(); },
                [this] {
                    const TOperator op = m_editor->Operator();
                    m_set->AddOperator(op.LoginId, op.Password, op.Rights, op.Note, op.Contact, op.Name);
                    m_list->addItem(op.LoginId);
                });
}

void TOperatorsFrm::EditOperator()
{
    QListWidgetItem* item = m_list->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString loginId = item->text();
    if (!m_set->DataSet()->Locate(QStringLiteral("LoginId"), loginId))
        return;
    TOperator op;
    op.LoginId = loginId;
    op.Password = m_set->PasswordFld()->AsString();
    op.Name = m_set->NameFld()->AsString();
    op.Contact = m_set->ContactFld()->AsString();
    op.Note = m_set->NoteFld()->AsString();
    op.Rights = m_set->RightsFld()->AsString();
    m_editor->SetOperator(op, false);
    RunEditLoop([this] { return m_editor->Execute(); },
                [this, &loginId] {
                    const TOperator edited = m_editor->Operator();
                    m_set->UpdateOperator(loginId, edited.Password, edited.Rights, edited.Note,
                                          edited.Contact, edited.Name);
                });
}

void TOperatorsFrm::DeleteOperator()
{
    QListWidgetItem* item = m_list->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString loginId = item->text();
    if (!m_set->DataSet()->Locate(QStringLiteral("LoginId"), loginId))
        return;
    if (!ConfirmDelete(loginId))
        return;
    try {
        m_set->DeleteOperator(loginId);
    } catch (const EAbort&) {
        throw;
    } catch (const Exception& e) {
        ShowInfo(e.Message());
        return;
    }
    delete m_list->takeItem(m_list->row(item));
    updateButtons();
}

void ShowOperators(QWidget* parent)
{
    gOperator->RequireRight(rtOperators);
    TOperatorsFrm frm(parent);
    frm.exec();
}
