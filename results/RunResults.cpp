// What a finished run hands to the results window, as numbers, and the captions made from them.
#include "results/RunResults.h"

#include "engine/ClockText.h"
#include "engine/GameState.h"

#include <cmath>

namespace {

constexpr std::int64_t QualifyingSeconds = 180;

} // namespace

RunResults RunResults::of(const GameState& state)
{
    return { state.ClockMinutes, state.ClockSeconds, state.CorrectCount, state.IncorrectCount };
}

QString RunResults::clockText() const
{
    return QString::fromStdString(::clockText(clockMinutes, clockSeconds));
}

bool RunResults::qualifies() const
{
    return std::int64_t { clockMinutes } * 60 + clockSeconds <= QualifyingSeconds;
}

// The fraction is rounded at two decimals by the current rounding mode, which is the default
// round-half-to-even: 0.125 becomes 0.12 and 0.375 becomes 0.38, as a teacher's table shows.
QString RunResults::percentText() const
{
    const double right = correct;
    const double total = right + incorrect;
    if (total == 0) {
        return QStringLiteral("0%");
    }
    const double hundredths = std::nearbyint(right / total * 100.0);
    return QString::number(hundredths, 'g', 15) + QLatin1Char('%');
}
