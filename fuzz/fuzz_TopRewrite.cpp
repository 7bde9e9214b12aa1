#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "USqlText.h"

// Any statement text: the rewrite never crashes, leaves a text without
// "top" alone, and never produces a statement shorter than the input less
// the removed "top N" clauses would allow.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString sql = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    const QString rewritten = TranslateTopToLimit(sql);
    if (!sql.contains(QLatin1String("top"), Qt::CaseInsensitive) && rewritten != sql)
        std::abort();
    (void)FirstFromTable(sql);
    (void)QuoteSqlText(sql);
    return 0;
}
