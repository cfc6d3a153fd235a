// Typed game times: any text parses to nothing or to a time between 0 and
// 99:99.9, and any keys typed into the clock give nothing or a time within the limit.

#include "entrytext.h"

#include <QString>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto t = ParseClockText(text)) {
        if (*t < ClockSeconds() || *t > ClockSeconds::fromTenths((99 * 60 + 99) * 10 + 9))
            std::abort();
    }
    EntryBuffer buffer;
    for (size_t i = 0; i < size; ++i) {
        const int c = data[i] % 64; // Enter 13, Space 32, "." 46 and digits all fall in range
        if (const auto t = EnterClockDigit(buffer, QStringLiteral("cdGame"), c == 63 ? 13 : c, 5999)) {
            if (*t < ClockSeconds() || *t > ClockSeconds::fromSeconds(5999))
                std::abort();
        }
        if (buffer.text.size() > qsizetype(size))
            std::abort();
    }
    return 0;
}
