#include "UIniFile.h"

#include <iconv.h>

#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include "UError.h"

namespace {

QByteArray Convert(const QByteArray &input, const char *to, const char *from)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return input;
    QByteArray output;
    output.resize(input.size() * 4 + 16);
    char *in = const_cast<char *>(input.constData());
    size_t inLeft = size_t(input.size());
    char *out = output.data();
    size_t outLeft = size_t(output.size());
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) == size_t(-1)) {
            // Skip a byte that cannot be converted rather than lose the rest.
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    output.resize(output.size() - int(outLeft));
    return output;
}

} // namespace

QByteArray EncodeGbk(const QString &text)
{
    return Convert(text.toUtf8(), "GBK", "UTF-8");
}

QString DecodeGbk(const QByteArray &bytes)
{
    return QString::fromUtf8(Convert(bytes, "UTF-8", "GBK"));
}

namespace {

enum TLineKind { lkOther, lkHeader, lkKey };

// What a line of the file says: a section header (Name is the section), a
// key (Name and Value), or anything else, which is kept but not read.
struct TParsedLine
{
    TLineKind Kind = lkOther;
    QString Name;
    QString Value;
};

TParsedLine ParseLine(const QString &raw)
{
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
        return {};
    if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
        return {lkHeader, line.mid(1, line.size() - 2).trimmed(), QString()};
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return {};
    return {lkKey, line.left(eq).trimmed(), line.mid(eq + 1).trimmed()};
}

// The key line with a new value: what stands before the value (the key as
// it is spelled, the blanks around "=") and a carriage return stay.
QString WithValue(const QString &line, const QString &value)
{
    int start = line.indexOf(QLatin1Char('=')) + 1;
    while (start < line.size() && (line[start] == QLatin1Char(' ') || line[start] == QLatin1Char('\t')))
        ++start;
    const QString end = line.endsWith(QLatin1Char('\r')) ? QStringLiteral("\r") : QString();
    return line.left(start) + value + end;
}

} // namespace

TIniFile::TIniFile(const QString &fileName, TEncoding encoding)
    : FFileName(fileName),
      FEncoding(encoding)
{
    QFile file(fileName);
    const bool readable = !fileName.isEmpty() && file.open(QIODevice::ReadOnly);
    FromBytes(readable ? file.readAll() : QByteArray());
}

TIniFile TIniFile::Fresh(const QString &fileName, TEncoding encoding)
{
    TIniFile ini(QString(), encoding);
    ini.FFileName = fileName;
    return ini;
}

void TIniFile::FromBytes(const QByteArray &bytes)
{
    FBlocks.assign(1, TBlock{});
    FSections.clear();
    FSectionByName.clear();
    FKeys.clear();
    const QString text = FEncoding == ieGbk ? DecodeGbk(bytes) : QString::fromUtf8(bytes);
    QStringList lines = text.split(QLatin1Char('\n'));
    FFinalNewline = text.isEmpty() || text.endsWith(QLatin1Char('\n'));
    if (FFinalNewline)
        lines.removeLast();
    FCrLf = !lines.isEmpty() && lines.first().endsWith(QLatin1Char('\r'));
    for (const QString &raw : std::as_const(lines)) {
        const TParsedLine parsed = ParseLine(raw);
        if (parsed.Kind == lkHeader) {
            FBlocks.emplace_back();
            const int blockIndex = int(FBlocks.size()) - 1;
            int section = SectionIndex(parsed.Name);
            if (section < 0)
                section = AddSection(parsed.Name, blockIndex);
            else
                FSections[size_t(section)].LastBlock = blockIndex;
            FBlocks.back().Section = section;
        }
        TBlock &block = FBlocks.back();
        block.Lines.push_back(raw);
        if (parsed.Kind == lkKey && block.Section >= 0) {
            block.LastKeyLine = int(block.Lines.size()) - 1;
            FKeys.insert({block.Section, parsed.Name.toCaseFolded()}, {int(FBlocks.size()) - 1, block.LastKeyLine});
        }
    }
}

int TIniFile::SectionIndex(const QString &name) const
{
    return FSectionByName.value(name.toCaseFolded(), -1);
}

int TIniFile::AddSection(const QString &name, int block)
{
    FSections.push_back({name, block});
    const int index = int(FSections.size()) - 1;
    FSectionByName.insert(name.toCaseFolded(), index);
    return index;
}

const TIniFile::TKeyPlace *TIniFile::FindKey(const QString &section, const QString &key) const
{
    const int index = SectionIndex(section);
    if (index < 0)
        return nullptr;
    const auto found = FKeys.constFind({index, key.toCaseFolded()});
    return found == FKeys.constEnd() ? nullptr : &found.value();
}

QString TIniFile::NewLine(const QString &text) const
{
    return FCrLf ? text + QLatin1Char('\r') : text;
}

void TIniFile::EndLastLine()
{
    // A file that stopped in the middle of its last line ends it once it
    // is changed, so that lines added after it start on a line of their own.
    if (FFinalNewline)
        return;
    FFinalNewline = true;
    QString &last = FBlocks.back().Lines.back();
    if (FCrLf && !last.endsWith(QLatin1Char('\r')))
        last += QLatin1Char('\r');
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const TKeyPlace *place = FindKey(section, key);
    if (!place)
        return defaultValue;
    return ParseLine(FBlocks[size_t(place->Block)].Lines[size_t(place->Line)]).Value;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    EndLastLine();
    if (const TKeyPlace *place = FindKey(section, key)) {
        QString &line = FBlocks[size_t(place->Block)].Lines[size_t(place->Line)];
        line = WithValue(line, value);
        return;
    }
    int index = SectionIndex(section);
    if (index < 0) {
        FBlocks.emplace_back();
        FBlocks.back().Lines.push_back(NewLine(QLatin1Char('[') + section + QLatin1Char(']')));
        index = AddSection(section, int(FBlocks.size()) - 1);
        FBlocks.back().Section = index;
    }
    // After the section's last key, so that blank lines and comments that
    // lead over to the next section stay where they are.
    const int blockIndex = FSections[size_t(index)].LastBlock;
    TBlock &block = FBlocks[size_t(blockIndex)];
    const int line = block.LastKeyLine + 1;
    block.Lines.insert(block.Lines.begin() + line, NewLine(key + QLatin1Char('=') + value));
    block.LastKeyLine = line;
    FKeys.insert({index, key.toCaseFolded()}, {blockIndex, line});
}

bool TIniFile::SectionExists(const QString &section) const
{
    return SectionIndex(section) >= 0;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    return FindKey(section, key) != nullptr;
}

QStringList TIniFile::Sections() const
{
    QStringList names;
    names.reserve(qsizetype(FSections.size()));
    for (const TSection &section : FSections)
        names << section.Name;
    return names;
}

QByteArray TIniFile::ToBytes() const
{
    QString text;
    bool first = true;
    for (const TBlock &block : FBlocks) {
        for (const QString &line : block.Lines) {
            if (!first)
                text += QLatin1Char('\n');
            text += line;
            first = false;
        }
    }
    if (FFinalNewline && !first)
        text += QLatin1Char('\n');
    return FEncoding == ieGbk ? EncodeGbk(text) : text.toUtf8();
}

void TIniFile::UpdateFile()
{
    // A uniquely named file beside the old one, renamed over it: a killed
    // program leaves the old or the new file, never half of one, and no
    // fixed name lies around that a link could redirect. The commit waits
    // for the disk; a draw writes its Theme.Cfg once, so it waits once.
    QSaveFile file(FFileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EExamoraError(file.errorString());
    const QByteArray bytes = ToBytes();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw EExamoraError(reason);
    }
    if (!file.commit())
        throw EExamoraError(file.errorString());
}
