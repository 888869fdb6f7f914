#pragma once

#include "masterdata/ui/LabelSettingFrm.h"

// The label dialog of the product fields.
class TProlabelSettingFrm : public TLabelSettingFrm
{
    Q_OBJECT

public:
    explicit TProlabelSettingFrm(QWidget* parent = nullptr);

    bool SaveLabels() override;
};
