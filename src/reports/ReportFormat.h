#pragma once

#include <QString>
#include <QVariant>

// Turns values into the texts a report prints: the default forms and the display formats.
class TReportFormat
{
public:
    // Null is empty; dates "yyyy-MM-dd", date-times "yyyy-MM-dd hh:mm:ss"; numbers without
    // exponent and without trailing zeros; true/false "是"/"否".
    static QString toText(const QVariant& value);
    // Applies a display format chosen by the value's type: a number pattern ("#,##0.00",
    // "0.##", "0.0%", sections "pos;neg;zero") for numbers, a date pattern for dates (Qt's
    // "yyyy-MM-dd hh:mm" or the "yyyy-mm-dd hh:nn" form). An empty pattern gives toText.
    static QString format(const QVariant& value, const QString& pattern);
    static QString formatNumber(double value, const QString& pattern);
    static QString formatDateTime(const QDateTime& value, QString pattern);

    static bool isNumber(const QVariant& value);
    static bool isDate(const QVariant& value);
    // The value as a number: Null and unreadable text count 0.
    static double toNumber(const QVariant& value, bool* ok = nullptr);
};
