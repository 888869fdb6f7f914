#include "ProlabelSettingFrm.h"

TProlabelSettingFrm::TProlabelSettingFrm(QWidget* parent) : TLabelSettingFrm(parent)
{
    setObjectName(QStringLiteral("ProlabelSettingFrm"));
    SetRows(LabelRows(cgProduct));
}

bool TProlabelSettingFrm::SaveLabels()
{
    SaveLabelRows(Rows());
    return true;
}
