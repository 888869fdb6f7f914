#pragma once

#include <QList>
#include <QString>

// The right codes the operator editor lists, in its order, with their captions.
struct RRight
{
    int Code;
    QString Caption;
};

// Right codes the program tests.
enum TRightCode {
    rtMaterialClass = 1,
    rtMaterialAdd = 2,
    rtMaterialEdit = 3,
    rtProductClass = 4,
    rtProductAdd = 5,
    rtProductEdit = 6,
    rtTouchanAdd = 7,
    rtTouchanEdit = 8,
    rtMaterialsIn = 9,
    rtMaterialsOut = 10,
    rtProductsIn = 11,
    rtClearData = 12,
    rtOptions = 13,
    rtBomExport = 14,
    rtMaterialPrice = 15,
    rtCompany = 10000,
    rtOperators = 100001, // six digits, not 10001
    rtPrint = 10002,
    rtPrintDesign = 10003,
    rtDataExport = 10004,
    rtBackup = 10005,
    rtSaveLayout = 10006,
    rtToolsMenu = 10007,
    rtColumnChoice = 10008,
};

// All right codes in the editor's order: 1, 2, 3, 15, 4, 5, 6, 14, 7 ... 13, 10000, 100001 ...
const QList<RRight>& RightTable();

// True when the rights string holds ",code," (so ",1,,12," holds 1 and 12, not 2 or 11).
bool RightsContain(const QString& rights, int code);
// The rights string of the given codes: ",c1,,c2,..." in the given order.
QString RightsString(const QList<int>& codes);
