#pragma once

#include <QDate>
#include <QString>

// The next document code of a document table: prefix + "yymm" of the server's date + a
// running number within prefix and month, "%.4d" (MI13010001). Called inside the saving
// transaction, before the insert. Past 9999 the number widens (MI130110000, ...) and is
// still the largest one in use plus one, so a code in use is never handed out again.
// Raises EConvertError when the largest code of the month carries a number that is not one.
QString NewBillCode(const QString& prefix, const QString& table);
// The same for a given server date.
QString NewBillCode(const QString& prefix, const QString& table, const QDate& serverDate);
