// The closing table's rows: every benchmark prints its own, run.sh gathers and orders them.
#pragma once

#include <QString>

namespace bench {

/// "1.68×" for Sumdash!'s figure over the minimal window's; "—" when the minimal window's
/// figure is too small to divide by.
QString ratioText(double sumdash, double minimal);

/// One row of the table, printed on a line of its own among the details and tagged so run.sh
/// finds it; run.sh sorts the rows of all the benchmarks by `order`.
void printSummaryRow(int order, const QString& figure, const QString& sumdash,
                     const QString& minimal, const QString& ratio, const QString& goal);

} // namespace bench
