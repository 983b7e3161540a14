// The run clock as text: minutes without a leading zero, a colon, two-digit seconds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

/// "0:00", "2:07", "12:05".
std::string clockText(std::int16_t minutes, std::int16_t seconds);

/// Minutes times 60 plus seconds of a clock text, or nothing when the text is not one.
std::optional<std::int64_t> clockTextSeconds(std::string_view text);
