// What a finished run hands to the results window, and the sums made from it.
#include "results/RunResults.h"

#include "engine/ClockText.h"

#include <cfenv>
#include <cmath>

namespace {

constexpr std::int64_t QualifyingSeconds = 180;

// The whole part of a caption's number; an unreadable caption counts as 0.
double wholePart(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::floor(value) : 0.0;
}

} // namespace

bool isQualifyingTime(const QString& clockText)
{
    const auto seconds = clockTextSeconds(clockText.toStdString());
    return seconds.has_value() && *seconds <= QualifyingSeconds;
}

// The fraction is rounded at two decimals by the current rounding mode, which is the default
// round-half-to-even: 0.125 becomes 0.12 and 0.375 becomes 0.38, as a teacher's table shows.
QString percentText(const QString& correctText, const QString& incorrectText)
{
    const double correct = wholePart(correctText);
    const double total = correct + wholePart(incorrectText);
    if (total == 0) {
        return QStringLiteral("0%");
    }
    const double hundredths = std::nearbyint(correct / total * 100.0);
    return QString::number(hundredths, 'g', 15) + QLatin1Char('%');
}
