#include "ProjRep.h"

#include "services/Company.h"
#include "services/Operator.h"

TProjRep::TProjRep()
{
    SetVariable(QStringLiteral("u_Company"), gCompany ? gCompany->CompanyName : QString());
    SetVariable(QStringLiteral("u_Tel"), gCompany ? gCompany->Tel : QString());
    SetVariable(QStringLiteral("u_Fax"), gCompany ? gCompany->Fax : QString());
    SetVariable(QStringLiteral("u_Address"), gCompany ? gCompany->Address : QString());
    SetVariable(QStringLiteral("u_Zip"), gCompany ? gCompany->Zip : QString());
    SetVariable(QStringLiteral("u_Operator"), gOperator ? gOperator->LoginId : QString());
}
