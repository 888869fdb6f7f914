#pragma once

#include "shell/ui/aFrm.h"

// The non-modal module window: a normal window with minimise and maximise buttons that is
// freed when it is closed.
class TWinFrm : public TaFrm
{
    Q_OBJECT

public:
    explicit TWinFrm(QWidget* parent = nullptr);
};
