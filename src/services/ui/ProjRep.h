#pragma once

#include "Rep.h"

// The program's report: the company data and the logged-in operator as variables u_Company,
// u_Tel, u_Fax, u_Address, u_Zip and u_Operator.
class TProjRep : public TRep
{
public:
    TProjRep();
};
