// Fuzz target: any text typed as the number of problems; an accepted count is a 16-bit whole
// number no larger than what was typed.
#include "setup/PracticeOptions.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString typed
        = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QLocale& locale :
         { QLocale::c(), QLocale(QLocale::German), QLocale(QLocale::English) }) {
        const auto count = parsePracticeCount(typed, locale);
        if (!count) {
            continue;
        }
        bool ok = false;
        const double value = locale.toDouble(typed.trimmed(), &ok);
        if (!ok || std::floor(value) != static_cast<double>(*count)) {
            std::abort();
        }
    }
    return 0;
}
