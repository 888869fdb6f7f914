#include "ProjectObjects.h"

#include "Company.h"
#include "KeyValue2.h"
#include "Operator.h"
#include "PickListSet.h"

void CreateProjectObjects()
{
    gCompany = new TCompany();
    gKeyValues = new TKeyValue2();
    gPickLists = new TPickListSet();
    gOperator = new TOperator();
}

void FreeProjectObjects()
{
    delete gCompany;
    gCompany = nullptr;
    delete gKeyValues;
    gKeyValues = nullptr;
    delete gPickLists;
    gPickLists = nullptr;
    delete gOperator;
    gOperator = nullptr;
}
