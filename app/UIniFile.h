#pragma once

#include <vector>

#include <QString>
#include <QStringList>

// A sectioned settings file of our own: sections and keys are matched
// without regard to case, their order is kept, and a written value replaces
// the old one in place. The encoding is chosen per file (DBConfig.cfg is
// GBK, the others UTF-8). Nothing reaches the disk before UpdateFile().
class TIniFile
{
public:
    enum TEncoding { ieUtf8, ieGbk };

    // Reads the file if it exists; a missing or unreadable file starts empty.
    explicit TIniFile(const QString &fileName, TEncoding encoding = ieUtf8);

    QString FileName() const { return FFileName; }
    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    void WriteString(const QString &section, const QString &key, const QString &value);
    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;
    QStringList Sections() const;
    void EraseSection(const QString &section);

    // Writes the whole file atomically; throws std::runtime_error with the
    // system's reason when it cannot.
    void UpdateFile();

    // The file's text as it would be written (used by tests and fuzzing).
    QByteArray ToBytes() const;
    void FromBytes(const QByteArray &bytes);

private:
    struct TEntry { QString Key; QString Value; };
    struct TSection { QString Name; std::vector<TEntry> Entries; };

    const TSection *FindSection(const QString &name) const;
    TSection *FindSection(const QString &name);

    QString FFileName;
    TEncoding FEncoding;
    std::vector<TSection> FSections;
};

// GBK text conversion through the C library's iconv (Qt's own converters
// know only the Unicode encodings).
QByteArray EncodeGbk(const QString &text);
QString DecodeGbk(const QByteArray &bytes);
