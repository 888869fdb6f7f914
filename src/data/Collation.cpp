#include "Collation.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <cstring>

namespace {

constexpr quint16 kOutsideBmp = 0xFFFF;

// The primary rank of every character of the basic plane in Chinese (pinyin) order, made once
// from the collator: letters compare without case, Chinese characters by their reading.
// Comparing strings rank by rank is as fast as comparing bytes.
const std::vector<quint16>& ranks()
{
    static const std::vector<quint16> table = [] {
        QCollator coll(QLocale(QLocale::Chinese, QLocale::China));
        coll.setCaseSensitivity(Qt::CaseInsensitive);
        std::vector<std::pair<QCollatorSortKey, char16_t>> keys;
        keys.reserve(0x10000);
        for (uint cp = 1; cp < 0x10000; ++cp) {
            if (cp >= 0xD800 && cp < 0xE000)
                continue;
            const char16_t c = char16_t(cp);
            keys.emplace_back(coll.sortKey(QString(QChar(c))), c);
        }
        std::stable_sort(keys.begin(), keys.end(),
                         [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
        std::vector<quint16> t(0x10000, kOutsideBmp);
        t[0] = 0;
        quint16 rank = 1;
        for (size_t i = 0; i < keys.size(); ++i) {
            if (i > 0 && keys[i].first.compare(keys[i - 1].first) != 0)
                ++rank;
            t[keys[i].second] = rank;
        }
        return t;
    }();
    return table;
}

// Appends the ranks of a UTF-8 text.
void appendRanks(const char* s, int len, const std::vector<quint16>& table, std::vector<quint16>& out)
{
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    const auto* end = p + len;
    while (p < end) {
        uint cp;
        const unsigned char c = *p;
        if (c < 0x80) {
            cp = c;
            p += 1;
        } else if ((c >> 5) == 6 && p + 1 < end) {
            cp = ((c & 0x1Fu) << 6) | (p[1] & 0x3Fu);
            p += 2;
        } else if ((c >> 4) == 14 && p + 2 < end) {
            cp = ((c & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
            p += 3;
        } else {
            cp = 0x10000; // outside the basic plane, or a broken sequence
            p += (c >> 3) == 30 ? 4 : 1;
        }
        out.push_back(cp < 0x10000 ? table[cp] : kOutsideBmp);
    }
}

int compareRanks(const quint16* a, size_t na, const quint16* b, size_t nb)
{
    const size_t n = std::min(na, nb);
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

} // namespace

int CompareChinese(const QString& a, const QString& b)
{
    const auto& table = ranks();
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = a[i].unicode(), y = b[i].unicode();
        const quint16 rx = x >= 0xD800 && x < 0xE000 ? kOutsideBmp : table[x];
        const quint16 ry = y >= 0xD800 && y < 0xE000 ? kOutsideBmp : table[y];
        if (rx != ry)
            return rx < ry ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b); // same primary order: decide by the characters themselves
}

void SortRows(const TDataSet& ds, std::vector<int>& rows, const std::vector<std::pair<int, bool>>& keys)
{
    if (rows.size() < 2 || keys.empty())
        return;
    // Text keys: the ranks of every row's text in one buffer, and the first four packed into an
    // integer so that most comparisons decide on it alone.
    struct TextKeys
    {
        std::vector<quint16> ranks;
        std::vector<quint32> start, length; // by physical row
        std::vector<quint64> prefix;
    };
    std::vector<TextKeys> text(keys.size());
    int maxRow = 0;
    for (int r : rows)
        maxRow = std::max(maxRow, r);
    for (size_t k = 0; k < keys.size(); ++k) {
        const auto& col = ds.column(keys[k].first);
        if (!IsTextType(col.type))
            continue;
        const auto& table = ranks();
        TextKeys& tk = text[k];
        tk.start.assign(size_t(maxRow) + 1, 0);
        tk.length.assign(size_t(maxRow) + 1, 0);
        tk.prefix.assign(size_t(maxRow) + 1, 0);
        for (int r : rows) {
            if (col.isNull(r))
                continue;
            int len;
            const char* p = col.textAt(r, len);
            const size_t begin = tk.ranks.size();
            appendRanks(p, len, table, tk.ranks);
            const size_t n = tk.ranks.size() - begin;
            tk.start[size_t(r)] = quint32(begin);
            tk.length[size_t(r)] = quint32(n);
            quint64 pre = 0;
            for (size_t i = 0; i < 4; ++i)
                pre = (pre << 16) | (i < n ? tk.ranks[begin + i] : 0);
            tk.prefix[size_t(r)] = pre;
        }
    }
    auto compareText = [&](const TextKeys& tk, const TDataSet::Column& col, int a, int b) {
        const quint64 pa = tk.prefix[size_t(a)], pb = tk.prefix[size_t(b)];
        if (pa != pb)
            return pa < pb ? -1 : 1;
        const int c = compareRanks(tk.ranks.data() + tk.start[size_t(a)], tk.length[size_t(a)],
                                   tk.ranks.data() + tk.start[size_t(b)], tk.length[size_t(b)]);
        if (c != 0)
            return c;
        int la, lb;
        const char* sa = col.textAt(a, la);
        const char* sb = col.textAt(b, lb);
        const int m = std::memcmp(sa, sb, size_t(std::min(la, lb)));
        return m != 0 ? m : (la == lb ? 0 : (la < lb ? -1 : 1));
    };
    auto cmp = [&](int a, int b) {
        for (size_t k = 0; k < keys.size(); ++k) {
            const auto& col = ds.column(keys[k].first);
            const bool an = col.isNull(a), bn = col.isNull(b);
            int c = 0;
            if (an || bn) {
                c = an == bn ? 0 : (an ? -1 : 1);
            } else if (IsTextType(col.type)) {
                c = compareText(text[k], col, a, b);
            } else if (IsFloatType(col.type)) {
                const double x = col.doubleAt(a), y = col.doubleAt(b);
                c = x < y ? -1 : (x > y ? 1 : 0);
            } else if (!IsBlobType(col.type)) {
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
