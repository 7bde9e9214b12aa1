#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "UJpeg.h"

// Any bytes as a question picture: decoded or refused with EJpegError,
// never a crash; a decoded picture has a real size.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    try {
        const QImage image = DecodeJpeg(bytes);
        if (image.isNull() || image.width() <= 0 || image.height() <= 0)
            std::abort();
    } catch (const EJpegError &) {
    }
    return 0;
}
