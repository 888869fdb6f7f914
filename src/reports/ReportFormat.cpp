#include "ReportFormat.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <QTime>

#include <cmath>

namespace {

QString plainNumber(double v)
{
    if (!std::isfinite(v))
        return QString();
    if (v == std::floor(v) && std::fabs(v) < 1e15)
        return QString::number(qint64(v));
    QString s = QString::number(v, 'g', 15);
    if (s.contains(QLatin1Char('e'))) {
        s = QString::number(v, 'f', 10);
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    return s;
}

bool isPlaceholder(QChar c)
{
    return c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('.') || c == QLatin1Char(',');
}

// Literal parts of a pattern: quotes are removed, other characters kept.
QString literal(const QString& s)
{
    QString out;
    QChar quote;
    for (QChar c : s) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                out.append(c);
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else {
            out.append(c);
        }
    }
    return out;
}

QString formatSection(double v, const QString& section, bool withSign)
{
    int first = -1;
    int last = -1;
    QChar quote;
    for (int i = 0; i < section.size(); ++i) {
        const QChar c = section.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            continue;
        }
        if (isPlaceholder(c)) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return literal(section);
    const QString prefix = literal(section.left(first));
    const QString suffix = literal(section.mid(last + 1));
    const QString core = section.mid(first, last - first + 1);
    if (QString(prefix + suffix).contains(QLatin1Char('%')))
        v *= 100;

    const qsizetype dot = core.indexOf(QLatin1Char('.'));
    const QString intPart = dot < 0 ? core : core.left(dot);
    const QString fracPart = dot < 0 ? QString() : core.mid(dot + 1);
    const bool thousands = intPart.contains(QLatin1Char(','));
    const int minInt = int(intPart.count(QLatin1Char('0')));
    const int minFrac = int(fracPart.count(QLatin1Char('0')));
    const int maxFrac = minFrac + int(fracPart.count(QLatin1Char('#')));

    const bool negative = v < 0;
    // The nudge rounds 2.345 up as it is written, not down as it is stored in binary.
    QString digits = QString::number(std::fabs(v) * (1 + 1e-14), 'f', maxFrac);
    QString ip = digits;
    QString fp;
    const qsizetype d = digits.indexOf(QLatin1Char('.'));
    if (d >= 0) {
        ip = digits.left(d);
        fp = digits.mid(d + 1);
    }
    while (fp.size() > minFrac && fp.endsWith(QLatin1Char('0')))
        fp.chop(1);
    if (ip == QLatin1String("0") && minInt == 0)
        ip.clear();
    while (ip.size() < minInt)
        ip.prepend(QLatin1Char('0'));
    if (thousands) {
        for (qsizetype i = ip.size() - 3; i > 0; i -= 3)
            ip.insert(i, QLatin1Char(','));
    }
    QString out = ip;
    if (!fp.isEmpty())
        out += QLatin1Char('.') + fp;
    if (out.isEmpty())
        out = QStringLiteral("0");
    const bool allZero = !out.contains(QRegularExpression(QStringLiteral("[1-9]")));
    if (negative && withSign && !allZero)
        out.prepend(QLatin1Char('-'));
    return prefix + out + suffix;
}

} // namespace

bool TReportFormat::isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

bool TReportFormat::isDate(const QVariant& value)
{
    const int t = value.typeId();
    return t == QMetaType::QDate || t == QMetaType::QDateTime;
}

double TReportFormat::toNumber(const QVariant& value, bool* ok)
{
    bool good = false;
    double v = 0;
    if (value.isNull()) {
        good = false;
    } else if (value.typeId() == QMetaType::Bool) {
        v = value.toBool() ? 1 : 0;
        good = true;
    } else if (isNumber(value)) {
        v = value.toDouble(&good);
    } else {
        v = value.toString().trimmed().toDouble(&good);
    }
    if (!good || !std::isfinite(v))
        v = 0;
    if (ok)
        *ok = good;
    return v;
}

QString TReportFormat::toText(const QVariant& value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("是") : QStringLiteral("否");
    case QMetaType::Double:
    case QMetaType::Float:
        return plainNumber(value.toDouble());
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("hh:mm:ss"));
    default:
        return value.toString();
    }
}

QString TReportFormat::formatNumber(double value, const QString& pattern)
{
    if (pattern.isEmpty())
        return plainNumber(value);
    const QStringList sections = pattern.split(QLatin1Char(';'));
    if (value < 0 && sections.size() >= 2 && !sections.at(1).isEmpty())
        return formatSection(value, sections.at(1), false);
    if (value == 0 && sections.size() >= 3 && !sections.at(2).isEmpty())
        return formatSection(value, sections.at(2), true);
    return formatSection(value, sections.at(0), true);
}

QString TReportFormat::formatDateTime(const QDateTime& value, QString pattern)
{
    // Without a capital M the pattern is the "yyyy-mm-dd hh:nn:ss" form: m is the month, n the
    // minute, and an m right after an hour is the minute too.
    if (!pattern.contains(QLatin1Char('M'))) {
        QString qt;
        QChar lastLetter;
        for (qsizetype i = 0; i < pattern.size(); ++i) {
            const QChar c = pattern.at(i);
            if (c == QLatin1Char('n')) {
                qt += QLatin1Char('m');
            } else if (c == QLatin1Char('m')) {
                qt += lastLetter == QLatin1Char('h') ? QLatin1Char('m') : QLatin1Char('M');
                if (i + 1 < pattern.size() && pattern.at(i + 1) == QLatin1Char('m'))
                    continue; // keep lastLetter for the rest of the run
            } else {
                qt += c;
            }
            if (c.isLetter())
                lastLetter = c;
        }
        pattern = qt;
    }
    return QLocale::c().toString(value, pattern);
}

QString TReportFormat::format(const QVariant& value, const QString& pattern)
{
    if (pattern.isEmpty() || value.isNull())
        return toText(value);
    if (isDate(value)) {
        const QDateTime dt =
            value.typeId() == QMetaType::QDate ? value.toDate().startOfDay() : value.toDateTime();
        return formatDateTime(dt, pattern);
    }
    bool ok = false;
    const double v = toNumber(value, &ok);
    if (ok && value.typeId() != QMetaType::Bool)
        return formatNumber(v, pattern);
    return toText(value);
}
