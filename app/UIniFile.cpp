#include "app/UIniFile.h"

#include <cstdio>
#include <stdexcept>

#include <iconv.h>

#include <QFile>
#include <QStringList>

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

TIniFile::TIniFile(const QString &fileName, TEncoding encoding)
    : FFileName(fileName), FEncoding(encoding)
{
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly))
        FromBytes(file.readAll());
}

void TIniFile::FromBytes(const QByteArray &bytes)
{
    FSections.clear();
    const QString text = FEncoding == ieGbk ? DecodeGbk(bytes) : QString::fromUtf8(bytes);
    TSection *current = nullptr;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            current = FindSection(name);
            if (!current) {
                FSections.push_back({name, {}});
                current = &FSections.back();
            }
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || !current)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        bool replaced = false;
        for (TEntry &entry : current->Entries) {
            if (entry.Key.compare(key, Qt::CaseInsensitive) == 0) {
                entry.Value = value;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            current->Entries.push_back({key, value});
    }
}

const TIniFile::TSection *TIniFile::FindSection(const QString &name) const
{
    for (const TSection &section : FSections) {
        if (section.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &section;
    }
    return nullptr;
}

TIniFile::TSection *TIniFile::FindSection(const QString &name)
{
    return const_cast<TSection *>(std::as_const(*this).FindSection(name));
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    if (const TSection *found = FindSection(section)) {
        for (const TEntry &entry : found->Entries) {
            if (entry.Key.compare(key, Qt::CaseInsensitive) == 0)
                return entry.Value;
        }
    }
    return defaultValue;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    TSection *found = FindSection(section);
    if (!found) {
        FSections.push_back({section, {}});
        found = &FSections.back();
    }
    for (TEntry &entry : found->Entries) {
        if (entry.Key.compare(key, Qt::CaseInsensitive) == 0) {
            entry.Value = value;
            return;
        }
    }
    found->Entries.push_back({key, value});
}

bool TIniFile::SectionExists(const QString &section) const
{
    return FindSection(section) != nullptr;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    const TSection *found = FindSection(section);
    if (!found)
        return false;
    for (const TEntry &entry : found->Entries) {
        if (entry.Key.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QStringList TIniFile::Sections() const
{
    QStringList names;
    for (const TSection &section : FSections)
        names << section.Name;
    return names;
}

void TIniFile::EraseSection(const QString &section)
{
    for (auto it = FSections.begin(); it != FSections.end(); ++it) {
        if (it->Name.compare(section, Qt::CaseInsensitive) == 0) {
            FSections.erase(it);
            return;
        }
    }
}

QByteArray TIniFile::ToBytes() const
{
    QString text;
    for (const TSection &section : FSections) {
        text += QLatin1Char('[') + section.Name + QLatin1String("]\n");
        for (const TEntry &entry : section.Entries)
            text += entry.Key + QLatin1Char('=') + entry.Value + QLatin1Char('\n');
    }
    return FEncoding == ieGbk ? EncodeGbk(text) : text.toUtf8();
}

void TIniFile::UpdateFile()
{
    // Written beside the file and renamed over it: a killed program leaves
    // the old or the new file, never half of one. No fsync: the draw flushes
    // after every question, and waiting for the disk each time would make
    // the draw crawl; the file is rewritten by the next draw anyway.
    const QString partial = FFileName + QStringLiteral(".partial");
    QFile file(partial);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error(file.errorString().toStdString());
    const QByteArray bytes = ToBytes();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const std::string reason = file.errorString().toStdString();
        file.close();
        QFile::remove(partial);
        throw std::runtime_error(reason);
    }
    file.close();
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(FFileName).constData()) != 0) {
        QFile::remove(partial);
        throw std::runtime_error("cannot replace " + FFileName.toStdString());
    }
}
