#pragma once

#include "masterdata/ui/LabelSettingFrm.h"

// The label dialog of the bill-of-materials description columns.
class TBomlabelSettingFrm : public TLabelSettingFrm
{
    Q_OBJECT

public:
    explicit TBomlabelSettingFrm(QWidget* parent = nullptr);

    bool SaveLabels() override;
};
