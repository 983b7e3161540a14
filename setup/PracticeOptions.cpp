// The practice options' rules: reading the number of problems and what the switches hide.
#include "setup/PracticeOptions.h"

#include <cmath>
#include <limits>

std::optional<std::int16_t> parsePracticeCount(const QString& text, const QLocale& locale)
{
    if (text.trimmed().isEmpty()) {
        return std::nullopt;
    }
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    const double whole = std::floor(value);
    if (whole < std::numeric_limits<std::int16_t>::min()
        || whole > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(whole);
}

CountsRowVisibility countsRowFor(bool onlyAllowCorrect, bool hideCounts, bool hideTime)
{
    CountsRowVisibility row { true, true, true, true, true };
    if (onlyAllowCorrect) {
        row.incorrectCaption = false;
        row.IncorrectLab = false;
    }
    if (hideCounts) {
        row.correctCaption = false;
        row.CorrectLab = false;
        row.incorrectCaption = false;
        row.IncorrectLab = false;
    }
    if (hideTime) {
        row.ShowTime = false;
    }
    return row;
}
