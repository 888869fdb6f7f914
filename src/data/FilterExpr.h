#pragma once

#include <QString>

#include <memory>

class TDataSet;

// The client-side row filter of the data sets, parsed once and evaluated per row:
// field names (also [bracketed]), 'quoted' strings ('' for a quote), numbers,
// = <> < > <= >=, [not] like with % (or *) and _, is [not] null, and/or/not, parentheses.
// Text compares without letter case, as the lists have always filtered.
class TFilterExpr
{
public:
    virtual ~TFilterExpr() = default;
    // Throws EDataSetError with a Chinese message for a malformed text or an unknown field.
    static std::unique_ptr<TFilterExpr> Parse(const QString& text, const TDataSet& ds);
    virtual bool Match(const TDataSet& ds, int physRow) const = 0;
};

// SQL "like" on UTF-8 text without letter case; '%' and '*' match any run, '_' one character.
bool LikeMatch(const char* text, int len, const QByteArray& pattern);
