// One answer as the fact history keeps it, and the arithmetic fact it answered.
#pragma once

// <string> first: moc (Qt 6.4, libstdc++ 12) fails to parse <compare> when it comes before any
// header that brings in the library's configuration, and every moc'ed file that includes this
// one would stop there.
// clang-format off
#include <string>
#include <compare>
#include <cstdint>
// clang-format on

enum class FactOperation : std::uint8_t {
    Add = 0,
    Subtract = 1,
    Multiply = 2,
    Divide = 3,
};

/// A fact is the problem as the page shows it: the operation and the two operands, the larger
/// on top. Division's top is the dividend, its bottom the divisor.
struct FactKey
{
    FactOperation operation = FactOperation::Add;
    std::int16_t top = 0;
    std::int16_t bottom = 0;

    auto operator<=>(const FactKey&) const = default;
};

/// The run an answer was given in.
struct FactRun
{
    std::int64_t id = 0; ///< unique within this session; the history file numbers runs itself
    bool timed = false;
    std::int16_t maxOperand = 12;
    bool onlyCorrect = false; ///< practice with "Only Allow Correct Ansers"
};

struct FactAttempt
{
    std::int64_t whenUtcMs = 0; ///< when Enter was pressed: milliseconds since 1970, UTC
    FactRun run;
    FactKey fact;
    std::int32_t expected = 0;
    std::string typed; ///< the answer as judged, ASCII digits
    bool right = false;
    std::int16_t attempt = 1; ///< 1 for the first answer to this problem, 2 for a retype, ...
    /// From the problem appearing, on the run's stopwatch: to the first digit and to Enter.
    std::int32_t msToFirstDigit = 0;
    std::int32_t msToEnter = 0;
};
