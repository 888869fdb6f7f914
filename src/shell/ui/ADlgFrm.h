#pragma once

#include "shell/ui/aFrm.h"

class QPushButton;
class QVBoxLayout;

// The modal dialog frame: dialog border, centred on its owner, a line above the buttons
// "确定(&O)" (OK), "取消" (Cancel, also Esc) and "帮助". Ctrl+Enter presses OK. Subclasses put
// their controls into ClientArea() and validate in accept().
class TADlgFrm : public TaFrm
{
    Q_OBJECT

public:
    explicit TADlgFrm(QWidget* parent = nullptr);

    QWidget* ClientArea() const { return m_client; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    QPushButton* HelpButton() const { return m_help; }

protected:
    void EscapePressed() override;
    void CtrlEnterPressed() override;

private:
    QWidget* m_client = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_help = nullptr;
};
