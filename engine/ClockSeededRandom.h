// The game's random source: a running generator with the clock folded in before each draw.
#pragma once

#include "engine/RandomSource.h"

#include <cstdint>
#include <functional>

class ClockSeededRandom final : public RandomSource
{
public:
    using Clock = std::function<std::uint64_t()>;

    /// The clock defaults to the steady clock in nanoseconds; tests may freeze it.
    explicit ClockSeededRandom(Clock clock = {});

    double nextUnit() override;

private:
    Clock m_clock;
    std::uint64_t m_state;
};
