#include "Dialect.h"

#include <QRegularExpression>

TEngine EngineOfProvider(const QString& provider)
{
    if (provider.compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0)
        return TEngine::Sqlite;
    if (provider.compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) == 0)
        return TEngine::Postgres;
    return TEngine::MsSql;
}

namespace {

bool isIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// "select top N rest" becomes "select rest limit N" on engines without TOP.
QString moveTopToLimit(const QString& sql)
{
    static const QRegularExpression re(QStringLiteral("^(\\s*select\\s+(?:distinct\\s+)?)top\\s+(\\d+)\\s+"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(sql);
    if (!m.hasMatch())
        return sql;
    QString rest = sql.mid(m.capturedEnd(0));
    while (!rest.isEmpty() && (rest.back().isSpace() || rest.back() == QLatin1Char(';')))
        rest.chop(1);
    return m.captured(1) + rest + QStringLiteral(" limit ") + m.captured(2);
}

} // namespace

TPreparedSql TranslateSql(const QString& input, TEngine engine)
{
    TPreparedSql out;
    const QString sql = engine == TEngine::MsSql ? input : moveTopToLimit(input);
    QString& r = out.sql;
    r.reserve(sql.size());
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Quoted text is copied as it is ('' stands for a quote inside).
            const qsizetype start = i;
            ++i;
            while (i < n) {
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        i += 2;
                        continue;
                    }
                    break;
                }
                ++i;
            }
            r += QStringView(sql).mid(start, i - start + 1);
            continue;
        }
        if (c == QLatin1Char('[') && engine == TEngine::Postgres) {
            const qsizetype close = sql.indexOf(QLatin1Char(']'), i);
            if (close > i) {
                r += QLatin1Char('"') + sql.mid(i + 1, close - i - 1).toLower() + QLatin1Char('"');
                i = close;
                continue;
            }
        }
        if (c.isLetter() && (i == 0 || !isIdentChar(sql[i - 1]))) {
            // Words are copied whole; "like" compares without letter case on every engine.
            qsizetype j = i + 1;
            while (j < n && isIdentChar(sql[j]))
                ++j;
            const QStringView word = QStringView(sql).mid(i, j - i);
            if (engine == TEngine::Postgres && word.compare(QLatin1String("like"), Qt::CaseInsensitive) == 0)
                r += QStringLiteral("ilike");
            else
                r += word;
            i = j - 1;
            continue;
        }
        if (c == QLatin1Char(':') && i + 1 < n && (sql[i + 1].isLetter() || sql[i + 1] == QLatin1Char('_')) &&
            (i == 0 || (sql[i - 1] != QLatin1Char(':') && !isIdentChar(sql[i - 1])))) {
            qsizetype j = i + 1;
            while (j < n && isIdentChar(sql[j]))
                ++j;
            out.paramNames << sql.mid(i + 1, j - i - 1);
            r += QLatin1Char('?');
            i = j - 1;
            continue;
        }
        r += c;
    }
    return out;
}
