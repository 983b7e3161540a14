// Counter arithmetic that stops at the 16-bit limit instead of overflowing.
#pragma once

#include <cstdint>
#include <limits>

/// Adds one unless the counter already holds its largest value: a run that somehow reaches
/// 32767 keeps showing 32767 rather than wrapping to a negative count.
inline void incrementSaturating(std::int16_t& counter)
{
    if (counter < std::numeric_limits<std::int16_t>::max()) {
        ++counter;
    }
}
