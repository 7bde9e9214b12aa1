#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "UExamRules.h"

// Any typed entry: the stored form is at most five characters, holds no
// blank, control character or "0", is sorted, and a valid entry of an
// offered-options question normalises to offered digits only.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int themeType = data[0] % 5;
    const QString entry = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), int(size - 1));
    const QString answer = NormalAnswer(entry);
    if (answer.size() > 5)
        std::abort();
    for (int i = 0; i < answer.size(); ++i) {
        if (answer[i].unicode() <= 32 || answer[i] == QLatin1Char('0'))
            std::abort();
        if (i > 0 && answer[i - 1] > answer[i])
            std::abort();
    }
    const QString offered = QStringLiteral("1234");
    if (themeType >= 1 && themeType <= 3 && IsValidAnswerEntry(TrimEntry(entry), themeType, offered)) {
        for (const QChar c : answer) {
            if (!offered.contains(c))
                std::abort();
        }
    }
    (void)IsAnswerRight(entry, answer);
    return 0;
}
