#pragma once

#include "shell/ui/AInfoDlgFrm.h"

#include <memory>

class QListWidget;
class QPushButton;
class TOperatorEditorFrm;
class TOperatorSet;

// "操作员及权限": the login names of every operator but sa, with add, properties and delete.
// Changes run through the operator set and its editor's loop.
class TOperatorsFrm : public TAInfoDlgFrm
{
    Q_OBJECT

public:
    explicit TOperatorsFrm(QWidget* parent = nullptr);
    ~TOperatorsFrm() override;

    QListWidget* UserList() const { return m_list; }
    TOperatorEditorFrm* Editor() const { return m_editor; }
    TOperatorSet* Operators() const { return m_set.get(); }

    void AddOperator();
    void EditOperator();
    void DeleteOperator();

private:
    void updateButtons();

    std::unique_ptr<TOperatorSet> m_set;
    TOperatorEditorFrm* m_editor = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
};

// The menu command "操作员及权限": right 100001, then the window, modally.
void ShowOperators(QWidget* parent = nullptr);
