// The closing table's rows: every benchmark prints its own, run.sh gathers and orders them.
#include "bench/SummaryTable.h"

#include <cmath>
#include <cstdio>

namespace bench {

QString ratioText(double sumdash, double minimal)
{
    if (!(std::fabs(minimal) > 1e-9)) {
        return QStringLiteral("—");
    }
    return QString::number(sumdash / minimal, 'f', 2) + QStringLiteral("×");
}

void printSummaryRow(int order, const QString& figure, const QString& sumdash,
                     const QString& minimal, const QString& ratio, const QString& goal)
{
    std::printf("summary-row %d | %s | %s | %s | %s | %s |\n", order, qUtf8Printable(figure),
                qUtf8Printable(sumdash), qUtf8Printable(minimal), qUtf8Printable(ratio),
                qUtf8Printable(goal));
    std::fflush(stdout);
}

} // namespace bench
