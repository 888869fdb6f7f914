#pragma once

#include "DataSet.h"

#include <QString>

#include <utility>
#include <vector>

// Text comparison in Chinese (pinyin) order, as the lists sort their text columns.
int CompareChinese(const QString& a, const QString& b);

// Sorts view rows (physical row numbers) of a data set by the given keys (field, descending).
// Nulls come first in ascending order. The sort is stable.
void SortRows(const TDataSet& ds, std::vector<int>& rows, const std::vector<std::pair<int, bool>>& keys);
