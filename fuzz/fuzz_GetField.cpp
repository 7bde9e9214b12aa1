#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "UComm.h"

// Field splitting and the data-source lookup on any text: no crash, fields
// never longer than the 1024-character buffer, no separator inside a field.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const QChar separator = QLatin1Char(char(data[0]));
    const int fieldNumber = data[1] % 40;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 2), int(size - 2));
    const QString field = GetField(text, fieldNumber, separator);
    if (field.size() > 1024 || field.contains(separator) || field.contains(QLatin1Char('\t')))
        std::abort();
    (void)GetDataSource(text);
    (void)CountCharText(text, QString(separator));
    return 0;
}
