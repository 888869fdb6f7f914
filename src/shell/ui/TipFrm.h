#pragma once

#include "shell/ui/AInfoDlgFrm.h"

#include <QStringList>

class QCheckBox;
class QLabel;

// The tip of the day ("每日一贴"): one tip chosen at random, another on each press of
// "前一贴" or "后一贴", and the check box of option 1 ("启动时显示每日一贴"), stored at once.
class TTipFrm : public TAInfoDlgFrm
{
    Q_OBJECT

public:
    explicit TTipFrm(QWidget* parent = nullptr);

    // The tips, in their order.
    static QStringList Tips();
    QString CurrentTip() const;
    QCheckBox* ShowAtStartBox() const { return m_showAtStart; }

private:
    void showRandomTip();

    QStringList m_tips;
    int m_current = -1;
    QLabel* m_tip = nullptr;
    QCheckBox* m_showAtStart = nullptr;
};
