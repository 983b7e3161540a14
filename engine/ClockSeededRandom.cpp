// The game's random source: a running generator with the clock folded in before each draw.
#include "engine/ClockSeededRandom.h"

#include <chrono>

namespace {

std::uint64_t steadyNanoseconds()
{
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

// SplitMix64's finaliser: spreads every input bit over the whole output.
std::uint64_t mix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

constexpr std::uint64_t GoldenGamma = 0x9E3779B97F4A7C15ull;

} // namespace

ClockSeededRandom::ClockSeededRandom(Clock clock)
    : m_clock(clock ? std::move(clock) : Clock(steadyNanoseconds))
    , m_state(mix(m_clock()))
{
}

// The clock reading is added to the running state rather than replacing it: two draws within
// the same clock tick still step the sequence by the gamma, so they never repeat one value.
double ClockSeededRandom::nextUnit()
{
    m_state += GoldenGamma + mix(m_clock());
    // The top 53 bits give every double in [0, 1) on an even grid.
    return static_cast<double>(mix(m_state) >> 11) * 0x1.0p-53;
}
