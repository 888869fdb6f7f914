#pragma once

#include "shell/ui/AInfoDlgFrm.h"

class Tmall;
class QPushButton;

// The about box: title, edition, build, the program's home directory and the data source;
// "用户信息" shows the company data read-only.
class TAboutFrm : public TAInfoDlgFrm
{
    Q_OBJECT

public:
    explicit TAboutFrm(Tmall& mall, QWidget* parent = nullptr);
    QPushButton* CompanyButton() const { return m_company; }

private:
    QPushButton* m_company = nullptr;
};
