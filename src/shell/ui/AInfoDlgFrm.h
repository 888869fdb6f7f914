#pragma once

#include "shell/ui/aFrm.h"

class QHBoxLayout;
class QPushButton;

// The information dialog: dialog border, centred on the main window, buttons "关闭" (also
// Esc) and "帮助". Subclasses put their controls into ClientArea() and may add buttons
// before the two in ButtonRow().
class TAInfoDlgFrm : public TaFrm
{
    Q_OBJECT

public:
    explicit TAInfoDlgFrm(QWidget* parent = nullptr);

    QWidget* ClientArea() const { return m_client; }
    QHBoxLayout* ButtonRow() const { return m_buttons; }
    QPushButton* CloseButton() const { return m_close; }
    QPushButton* HelpButton() const { return m_help; }

protected:
    void EscapePressed() override;

private:
    QWidget* m_client = nullptr;
    QHBoxLayout* m_buttons = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_help = nullptr;
};
