#pragma once

#include "shell/ui/ADlgFrm.h"

class QRadioButton;

// The data clearing dialog "数据清理": the range to clear, chosen by the user (neither is
// selected at first), confirmed, and cleared in one transaction when OK is pressed.
class TClearDataFrm : public TADlgFrm
{
    Q_OBJECT

public:
    explicit TClearDataFrm(QWidget* parent = nullptr);

    QRadioButton* BusinessButton() const { return m_business; }
    QRadioButton* AllButton() const { return m_all; }

    // Without a range: the message, the dialog stays. Then the confirmation; then the
    // clearing. A failure is rolled back, reported by the error handler, and the dialog stays.
    void accept() override;

private:
    QRadioButton* m_business;
    QRadioButton* m_all;
};

// The menu item "初始化数据...": the dialog, modal.
void ShowClearData();
