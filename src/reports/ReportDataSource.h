#pragma once

#include <QString>
#include <QVariant>

// A named, read-only table of rows that a report prints; the engine's only view of a data set.
class TReportDataSource
{
public:
    virtual ~TReportDataSource();

    virtual QString name() const = 0;
    virtual int fieldCount() const = 0;
    virtual QString fieldName(int field) const = 0;
    // Caption shown to the user (column titles, the designer's field list); "|" separates two levels.
    virtual QString displayLabel(int field) const = 0;
    virtual bool fieldVisible(int field) const;
    virtual int rowCount() const = 0;
    // A null QVariant is a database Null.
    virtual QVariant value(int row, int field) const = 0;

    // Field index by name regardless of letter case, -1 when there is none.
    int indexOf(const QString& fieldName) const;
};
