#include "BomlabelSettingFrm.h"

TBomlabelSettingFrm::TBomlabelSettingFrm(QWidget* parent) : TLabelSettingFrm(parent)
{
    setObjectName(QStringLiteral("BomlabelSettingFrm"));
    SetRows(LabelRows(cgBom));
}

bool TBomlabelSettingFrm::SaveLabels()
{
    SaveLabelRows(Rows());
    return true;
}
