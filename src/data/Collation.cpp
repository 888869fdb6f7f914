#include "Collation.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace {

QCollator& chineseCollator()
{
    static QCollator collator = [] {
        QCollator c(QLocale(QLocale::Chinese, QLocale::China));
        c.setNumericMode(false);
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

} // namespace

int CompareChinese(const QString& a, const QString& b)
{
    return chineseCollator().compare(a, b);
}

void SortRows(const TDataSet& ds, std::vector<int>& rows, const std::vector<std::pair<int, bool>>& keys)
{
    if (rows.size() < 2 || keys.empty())
        return;
    // Text keys compare by their collation keys, made once per row.
    std::vector<std::vector<QCollatorSortKey>> textKeys(keys.size());
    std::vector<std::vector<int>> keyIndex(keys.size());
    for (size_t k = 0; k < keys.size(); ++k) {
        const auto& col = ds.column(keys[k].first);
        if (!IsTextType(col.type))
            continue;
        int maxRow = 0;
        for (int r : rows)
            maxRow = std::max(maxRow, r);
        keyIndex[k].assign(size_t(maxRow) + 1, -1);
        textKeys[k].reserve(rows.size());
        QCollator& coll = chineseCollator();
        for (int r : rows) {
            if (col.isNull(r))
                continue;
            int len;
            const char* p = col.textAt(r, len);
            keyIndex[k][size_t(r)] = int(textKeys[k].size());
            textKeys[k].push_back(coll.sortKey(QString::fromUtf8(p, len)));
        }
    }
    auto cmp = [&](int a, int b) {
        for (size_t k = 0; k < keys.size(); ++k) {
            const auto& col = ds.column(keys[k].first);
            const bool an = col.isNull(a), bn = col.isNull(b);
            int c = 0;
            if (an || bn) {
                c = an == bn ? 0 : (an ? -1 : 1);
            } else if (IsTextType(col.type)) {
                c = textKeys[k][size_t(keyIndex[k][size_t(a)])].compare(
                    textKeys[k][size_t(keyIndex[k][size_t(b)])]);
            } else if (IsFloatType(col.type)) {
                const double x = col.doubleAt(a), y = col.doubleAt(b);
                c = x < y ? -1 : (x > y ? 1 : 0);
            } else if (IsBlobType(col.type)) {
                c = 0;
            } else {
                const qint64 x = col.intAt(a), y = col.intAt(b);
                c = x < y ? -1 : (x > y ? 1 : 0);
            }
            if (c != 0)
                return keys[k].second ? c > 0 : c < 0;
        }
        return false;
    };
    std::stable_sort(rows.begin(), rows.end(), cmp);
}
