#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "UIniFile.h"

// Any bytes read as a settings file: no crash; a file read and written
// unchanged keeps every byte (when it is valid text of its encoding); a
// written value reads back; and what is written reads back to the same
// text (the reader and writer agree).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    for (const TIniFile::TEncoding encoding : {TIniFile::ieUtf8, TIniFile::ieGbk}) {
        TIniFile ini(QString(), encoding);
        ini.FromBytes(bytes);
        if (encoding == TIniFile::ieUtf8 && QString::fromUtf8(bytes).toUtf8() == bytes && ini.ToBytes() != bytes)
            std::abort();
        for (const QString &section : ini.Sections())
            (void)ini.ReadString(section, QStringLiteral("ThemeID"), QStringLiteral("-1"));
        ini.WriteString(QStringLiteral("System"), QStringLiteral("Time"), QStringLiteral("45"));
        if (ini.ReadString(QStringLiteral("SYSTEM"), QStringLiteral("time"), QString()) != QLatin1String("45"))
            std::abort();
        const QByteArray written = ini.ToBytes();
        TIniFile again(QString(), encoding);
        again.FromBytes(written);
        if (again.ToBytes() != written)
            std::abort();
    }
    return 0;
}
