#include "BillCode.h"

#include "data/Database.h"
#include "data/Exceptions.h"
#include "data/RecordSet.h"

#include <QRegularExpression>

namespace {

// Sequence numbers wider than this do not fit the code columns.
constexpr int kMaxDigits = 14;

// The largest code matching the pattern, empty when there is none.
QString maxCode(const QString& table, const QString& pattern)
{
    gRecordSet->OpenSql(QStringLiteral("select max(Code) from %1 where Code like '%2'").arg(table, pattern));
    const QString code = gRecordSet->DataSet()->Fields(0)->AsString();
    gRecordSet->DataSet()->Close();
    return code;
}

} // namespace

QString NewBillCode(const QString& prefix, const QString& table)
{
    return NewBillCode(prefix, table, gDatabase->ServerNow().date());
}

QString NewBillCode(const QString& prefix, const QString& table, const QDate& serverDate)
{
    // Both go into the statement's text: allow plain names only.
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9_]+$"));
    if (!name.match(prefix).hasMatch() || !name.match(table).hasMatch())
        throw EConvertError(QStringLiteral("单号前缀 \"%1\" 或表名 \"%2\" 无效").arg(prefix, table));

    const QString head = prefix + serverDate.toString(QStringLiteral("yyMM"));
    QString last = maxCode(table, head + QLatin1Char('%'));
    if (last.isEmpty())
        return head + QStringLiteral("0001");

    // The string maximum stops at ...9999 once five-digit numbers exist, as a wider number
    // sorts below it (and a stray code of another width may sort above the real ones). Then
    // look at each width: the widest one in use holds the largest number, and within one
    // width the string maximum is the numeric one.
    if (last.size() != head.size() + 4 || last.endsWith(QLatin1String("9999"))) {
        for (int width = 4; width <= kMaxDigits; ++width) {
            const QString code = maxCode(table, head + QString(width, QLatin1Char('_')));
            if (!code.isEmpty())
                last = code;
        }
    }

    const QString digits = last.mid(head.size());
    static const QRegularExpression number(QStringLiteral("^[0-9]{1,14}$"));
    if (!number.match(digits).hasMatch())
        throw EConvertError(
            QStringLiteral("单号 %1 的序号 \"%2\" 不是有效的整数,无法生成新单号").arg(last, digits));
    return head + QStringLiteral("%1").arg(digits.toLongLong() + 1, 4, 10, QLatin1Char('0'));
}
