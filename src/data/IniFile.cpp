#include "IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

TIniFile::TIniFile(QString fileName) : m_fileName(std::move(fileName))
{
    load();
}

bool TIniFile::Exists() const
{
    return QFileInfo::exists(m_fileName);
}

void TIniFile::load()
{
    m_lines.clear();
    QFile f(m_fileName);
    if (!f.open(QIODevice::ReadOnly))
        return;
    QByteArray section;
    for (QByteArray raw : f.readAll().split('\n')) {
        if (raw.endsWith('\r'))
            raw.chop(1);
        Line l;
        l.raw = raw;
        const QByteArray t = raw.trimmed();
        if (t.startsWith('[') && t.endsWith(']')) {
            section = t.mid(1, t.size() - 2).trimmed().toLower();
            l.section = section;
        } else {
            l.section = section;
            const qsizetype eq = raw.indexOf('=');
            if (eq > 0 && !t.startsWith(';') && !t.startsWith('#')) {
                l.key = raw.left(eq).trimmed().toLower();
                l.value = decode(raw.mid(eq + 1));
            }
        }
        m_lines.push_back(std::move(l));
    }
    while (!m_lines.empty() && m_lines.back().raw.isEmpty())
        m_lines.pop_back();
}

QByteArray TIniFile::encode(const QByteArray& v)
{
    bool plain = !v.startsWith('"');
    if (!v.isEmpty() && (v.front() == ' ' || v.front() == '\t' || v.back() == ' ' || v.back() == '\t'))
        plain = false;
    for (char c : v)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            plain = false;
    if (plain)
        return v;
    QByteArray out = "\"";
    for (char c : v) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7f) {
            out += "\\x";
            out += QByteArray::number(u, 16).rightJustified(2, '0');
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

QByteArray TIniFile::decode(const QByteArray& rawValue)
{
    const QByteArray v = rawValue.trimmed();
    if (v.size() < 2 || !v.startsWith('"') || !v.endsWith('"'))
        return v;
    QByteArray out;
    for (qsizetype i = 1; i < v.size() - 1; ++i) {
        if (v[i] != '\\' || i + 1 >= v.size() - 1) {
            out += v[i];
            continue;
        }
        const char n = v[++i];
        if (n == 'x' && i + 2 < v.size()) {
            out += char(v.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
        } else {
            out += n;
        }
    }
    return out;
}

QByteArray TIniFile::ReadBytes(const QString& section, const QString& key, const QByteArray& def) const
{
    const QByteArray s = section.toUtf8().toLower(), k = key.toUtf8().toLower();
    for (const Line& l : m_lines)
        if (!l.key.isEmpty() && l.section == s && l.key == k)
            return l.value;
    return def;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    const QByteArray s = section.toUtf8().toLower(), k = key.toUtf8().toLower();
    for (const Line& l : m_lines)
        if (!l.key.isEmpty() && l.section == s && l.key == k)
            return true;
    return false;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    return ValueExists(section, key) ? QString::fromUtf8(ReadBytes(section, key)) : def;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    bool ok = false;
    const int v = ReadBytes(section, key).trimmed().toInt(&ok);
    return ok ? v : def;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::WriteBytes(const QString& section, const QString& key, const QByteArray& value)
{
    const QByteArray s = section.toUtf8().toLower(), k = key.toUtf8().toLower();
    const QByteArray raw = key.toUtf8() + '=' + encode(value);
    qsizetype lastInSection = -1;
    bool sectionFound = false;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        Line& l = m_lines[i];
        if (l.section != s)
            continue;
        sectionFound = true;
        if (!l.raw.trimmed().isEmpty())
            lastInSection = qsizetype(i);
        if (l.key == k) {
            l.raw = raw;
            l.value = value;
            return save();
        }
    }
    Line nl{raw, s, k, value};
    if (!sectionFound) {
        if (!m_lines.empty())
            m_lines.push_back(Line{QByteArray(), m_lines.back().section, {}, {}});
        m_lines.push_back(Line{'[' + section.toUtf8() + ']', s, {}, {}});
        m_lines.push_back(std::move(nl));
    } else {
        m_lines.insert(m_lines.begin() + lastInSection + 1, std::move(nl));
    }
    return save();
}

bool TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    return WriteBytes(section, key, value.toUtf8());
}

bool TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    return WriteBytes(section, key, QByteArray::number(value));
}

bool TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    return WriteBytes(section, key, value ? "1" : "0");
}

bool TIniFile::EndUpdate()
{
    if (m_batch > 0)
        --m_batch;
    return save();
}

bool TIniFile::save()
{
    if (m_batch > 0)
        return true;
    QSaveFile f(m_fileName);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QByteArray out;
    for (const Line& l : m_lines)
        out += l.raw + "\r\n";
    f.write(out);
    return f.commit();
}
