#include "ReportDataSource.h"

TReportDataSource::~TReportDataSource() = default;

bool TReportDataSource::fieldVisible(int) const
{
    return true;
}

int TReportDataSource::indexOf(const QString& fieldName) const
{
    const int n = fieldCount();
    for (int i = 0; i < n; ++i) {
        if (this->fieldName(i).compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}
