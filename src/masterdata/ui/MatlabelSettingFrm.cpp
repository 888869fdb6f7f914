#include "MatlabelSettingFrm.h"

TMatlabelSettingFrm::TMatlabelSettingFrm(QWidget* parent) : TLabelSettingFrm(parent)
{
    setObjectName(QStringLiteral("MatlabelSettingFrm"));
    SetRows(LabelRows(cgMaterial));
}

bool TMatlabelSettingFrm::SaveLabels()
{
    SaveLabelRows(Rows());
    return true;
}
