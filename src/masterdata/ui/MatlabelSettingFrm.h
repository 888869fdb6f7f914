#pragma once

#include "masterdata/ui/LabelSettingFrm.h"

// The label dialog of the material fields.
class TMatlabelSettingFrm : public TLabelSettingFrm
{
    Q_OBJECT

public:
    explicit TMatlabelSettingFrm(QWidget* parent = nullptr);

    bool SaveLabels() override;
};
