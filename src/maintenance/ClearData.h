#pragma once

#include <QStringList>

// Clearing of the business data (bills, production orders, purchase applications) or of
// everything including the master data, in one transaction.

enum TClearRange {
    crBusiness, // "仅业务数据": every bill, production order and purchase application
    crAll,      // "所有数据": also bills of materials, products and materials
};

// The statements of a range, in the order they run: detail lines before their heads, the
// documents before what they name, bills of materials before products and materials.
QStringList ClearDataStatements(TClearRange range);

// Runs the statements of the range in one transaction; the first failing statement rolls
// every delete back and its error is passed on.
void ClearData(TClearRange range);
