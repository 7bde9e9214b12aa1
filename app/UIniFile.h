#pragma once

#include <utility>
#include <vector>

#include <QHash>
#include <QString>
#include <QStringList>

// A sectioned settings file of our own: sections and keys are matched
// without regard to case and found through an index, so that reading a
// file is linear in its size. Every line is kept as it was read (comments,
// blank lines, lines it does not understand); writing a key changes only
// its value, a new key goes after the last key of its section and a new
// section at the end. The encoding is chosen per file (DBConfig.cfg is GBK,
// the others UTF-8). Nothing reaches the disk before UpdateFile().
class TIniFile
{
public:
    enum TEncoding { ieUtf8, ieGbk };

    // Reads the file if it exists; a missing or unreadable file starts empty.
    explicit TIniFile(const QString &fileName, TEncoding encoding = ieUtf8);
    // A settings file that starts empty whatever is on disk now, without
    // reading it: UpdateFile() replaces the old file.
    static TIniFile Fresh(const QString &fileName, TEncoding encoding = ieUtf8);

    QString FileName() const { return FFileName; }
    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    void WriteString(const QString &section, const QString &key, const QString &value);
    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;
    QStringList Sections() const;

    // Writes the whole file through a uniquely named file beside it that is
    // renamed over it; throws EExamoraError with the system's reason
    // when it cannot.
    void UpdateFile();

    // The file's text as it would be written (used by tests and fuzzing).
    QByteArray ToBytes() const;
    void FromBytes(const QByteArray &bytes);

private:
    // A section header line and the lines up to the next header; block 0
    // holds the lines before the first header and belongs to no section.
    struct TBlock
    {
        int Section = -1;
        std::vector<QString> Lines;
        int LastKeyLine = 0;
    };
    // A section may be spread over several blocks of the same name.
    struct TSection
    {
        QString Name;
        int LastBlock = 0;
    };
    struct TKeyPlace
    {
        int Block = 0;
        int Line = 0;
    };

    int SectionIndex(const QString &name) const;
    int AddSection(const QString &name, int block);
    const TKeyPlace *FindKey(const QString &section, const QString &key) const;
    QString NewLine(const QString &text) const;
    void EndLastLine();

    QString FFileName;
    TEncoding FEncoding;
    std::vector<TBlock> FBlocks;
    std::vector<TSection> FSections;
    QHash<QString, int> FSectionByName;
    // The line a key is read from: the last one of that name in its section.
    QHash<std::pair<int, QString>, TKeyPlace> FKeys;
    bool FCrLf = false;
    bool FFinalNewline = true;
};

// GBK text conversion through the C library's iconv (Qt's own converters
// know only the Unicode encodings).
QByteArray EncodeGbk(const QString &text);
QString DecodeGbk(const QByteArray &bytes);
