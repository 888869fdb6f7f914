#include "NameValueList.h"

void TNameValueList::SetText(const QString& text)
{
    m_lines.clear();
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n'))
            ++end;
        m_lines << text.mid(start, end - start);
        if (end < n && text[end] == QLatin1Char('\r'))
            ++end;
        if (end < n && text[end] == QLatin1Char('\n'))
            ++end;
        start = end;
    }
}

QString TNameValueList::Text() const
{
    QString out;
    for (const QString& l : m_lines)
        out += l + QStringLiteral("\r\n");
    return out;
}

QString TNameValueList::Name(int i) const
{
    const QString& l = m_lines[i];
    const qsizetype eq = l.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : l.left(eq);
}

QString TNameValueList::ValueAt(int i) const
{
    const QString& l = m_lines[i];
    const qsizetype eq = l.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : l.mid(eq + 1);
}

int TNameValueList::IndexOfName(const QString& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (Name(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString TNameValueList::Value(const QString& name) const
{
    const int i = IndexOfName(name);
    return i < 0 ? QString() : ValueAt(i);
}

void TNameValueList::SetValue(const QString& name, const QString& value)
{
    const int i = IndexOfName(name);
    if (i < 0)
        m_lines << name + QLatin1Char('=') + value;
    else
        m_lines[i] = name + QLatin1Char('=') + value;
}
