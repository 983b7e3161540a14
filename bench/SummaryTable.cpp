// The closing table's rows: every benchmark prints its own, run.sh gathers and orders them.
#include "bench/SummaryTable.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace bench {

std::string textf(const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list measuring;
    va_copy(measuring, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, arguments);
        text.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(arguments);
    return text;
}

std::string ratioText(double sumdash, double minimal)
{
    if (!(std::fabs(minimal) > 1e-9)) {
        return "—";
    }
    return textf("%.2f×", sumdash / minimal);
}

void printSummaryRow(int order, const std::string& figure, const std::string& sumdash,
                     const std::string& minimal, const std::string& ratio, const std::string& goal)
{
    std::printf("summary-row %d | %s | %s | %s | %s | %s |\n", order, figure.c_str(),
                sumdash.c_str(), minimal.c_str(), ratio.c_str(), goal.c_str());
    std::fflush(stdout);
}

} // namespace bench
