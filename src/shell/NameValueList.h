#pragma once

#include <QString>
#include <QStringList>

// A list of "name=value" text lines as the personal desktop stores them: lines separated by
// "\r\n" (a lone "\r" or "\n" also ends a line), names compared without letter case, a line
// without "=" has an empty name and an empty value.
class TNameValueList
{
public:
    TNameValueList() = default;
    explicit TNameValueList(const QString& text) { SetText(text); }

    void SetText(const QString& text);
    // Every line followed by "\r\n"; empty for an empty list.
    QString Text() const;

    int Count() const { return int(m_lines.size()); }
    const QString& Line(int i) const { return m_lines[i]; }
    QString Name(int i) const;
    QString ValueAt(int i) const;

    // Index of the first line with that name, -1 when none.
    int IndexOfName(const QString& name) const;
    // The value of the first line with that name, empty when none.
    QString Value(const QString& name) const;
    // Replaces the value of the first line with that name, or appends "name=value".
    void SetValue(const QString& name, const QString& value);
    void Append(const QString& line) { m_lines << line; }
    void Delete(int i) { m_lines.removeAt(i); }
    void Clear() { m_lines.clear(); }

private:
    QStringList m_lines;
};
