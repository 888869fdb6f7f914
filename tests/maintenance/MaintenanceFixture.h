#pragma once

#include "TestSupport.h"

#include <QDateTime>
#include <QStringList>

#include <ostream>

// Readable texts in the failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

// Every table of the program, in an order that can be filled (parents before children).
QStringList AllTables();
// The rows of a table as text, ordered by the first column, one "a|b|c" line a row; blobs
// as hex. Equal snapshots mean equal data.
QStringList TableRows(const QString& table);
// The rows of every table, each line prefixed by its table.
QStringList DatabaseSnapshot();
// Count of rows of a table.
int RowCount(const QString& table);
// A small factory: classes, materials, products with bills of materials, production orders,
// purchase applications, and one checked bill of each kind with lines naming the others.
void SeedFactory();

// A fresh database per test, the home directory set to the test's own, and a fixed clock.
class TMaintenanceTest : public TEngineTest
{
protected:
    void SetUp() override;
    void TearDown() override;
    // The clock of the backup functions reads this.
    QDateTime now = QDateTime(QDate(2013, 1, 16), QTime(15, 30, 0));
};

class TMaintenanceSqliteTest : public TSqliteTest
{
protected:
    void SetUp() override;
    void TearDown() override;
};
