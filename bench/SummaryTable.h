// The closing table's rows: every benchmark prints its own, run.sh gathers and orders them.
#pragma once

#include <string>

namespace bench {

/// Text made the way printf makes it.
std::string textf(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// "1.68×" for Sumdash!'s figure over the minimal window's; "—" when the minimal window's
/// figure is too small to divide by.
std::string ratioText(double sumdash, double minimal);

/// One row of the table, printed on a line of its own among the details and tagged so run.sh
/// finds it; run.sh sorts the rows of all the benchmarks by `order`.
void printSummaryRow(int order, const std::string& figure, const std::string& sumdash,
                     const std::string& minimal, const std::string& ratio, const std::string& goal);

} // namespace bench
