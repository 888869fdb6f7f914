#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// An INI text file read and written byte for byte. Values that would not survive the plain
// "key=value" line (leading or trailing blanks, control characters, a leading quote) are
// written quoted with backslash escapes, so every value written reads back exactly.
// Section and key names compare without letter case.
class TIniFile
{
public:
    explicit TIniFile(QString fileName);
    QString FileName() const { return m_fileName; }
    bool Exists() const;

    QByteArray ReadBytes(const QString& section, const QString& key, const QByteArray& def = {}) const;
    QString ReadString(const QString& section, const QString& key, const QString& def = {}) const;
    int ReadInteger(const QString& section, const QString& key, int def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    bool ValueExists(const QString& section, const QString& key) const;

    // Writes go to the file at once (through a temporary file, so a failed write never
    // leaves half a file). Returns false when the file could not be written.
    bool WriteBytes(const QString& section, const QString& key, const QByteArray& value);
    bool WriteString(const QString& section, const QString& key, const QString& value);
    bool WriteInteger(const QString& section, const QString& key, int value);
    bool WriteBool(const QString& section, const QString& key, bool value);
    // Several writes at once: Begin, writes, then End saves.
    void BeginUpdate() { ++m_batch; }
    bool EndUpdate();

private:
    struct Line
    {
        QByteArray raw;     // the line as in the file (sections, comments, blanks)
        QByteArray section; // lower-cased section it belongs to
        QByteArray key;     // lower-cased key, empty for non-value lines
        QByteArray value;   // decoded value
    };
    void load();
    bool save();
    static QByteArray encode(const QByteArray& v);
    static QByteArray decode(const QByteArray& v);

    QString m_fileName;
    std::vector<Line> m_lines;
    int m_batch = 0;
};
