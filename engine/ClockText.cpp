// The run clock as text: minutes without a leading zero, a colon, two-digit seconds.
#include "engine/ClockText.h"

#include <charconv>

std::string clockText(std::int16_t minutes, std::int16_t seconds)
{
    std::string text = std::to_string(minutes);
    text += ':';
    if (seconds < 10) {
        text += '0';
    }
    text += std::to_string(seconds);
    return text;
}

std::optional<std::int64_t> clockTextSeconds(std::string_view text)
{
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || text.size() - colon != 3) {
        return std::nullopt;
    }
    std::int64_t minutes = 0;
    int seconds = 0;
    const char* const minutesEnd = text.data() + colon;
    const auto [m, me] = std::from_chars(text.data(), minutesEnd, minutes);
    const auto [s, se] = std::from_chars(minutesEnd + 1, text.data() + text.size(), seconds);
    if (me != std::errc {} || m != minutesEnd || se != std::errc {}
        || s != text.data() + text.size() || minutes < 0 || seconds < 0 || seconds > 59) {
        return std::nullopt;
    }
    return minutes * 60 + seconds;
}
