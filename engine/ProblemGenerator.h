// Drawing the next problem: operator from the problem type, operands within MaxOperand.
#pragma once

#include "engine/RandomSource.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

/// A uniform whole number from 0 to n.
std::int16_t RandomFromZero(std::int16_t n, RandomSource& random);

/// A uniform whole number from 1 to n.
std::int16_t RandomFromOne(std::int16_t n, RandomSource& random);

/// The operator text of the next problem; "Random" draws one of the four anew each time.
/// Empty for a problem type outside 1 to 5.
std::string_view PickOperator(std::int16_t problemType, RandomSource& random);

struct Problem
{
    std::string operatorText;
    std::int16_t top = 0; ///< never smaller than bottom
    std::int16_t bottom = 0;
};

/// The operator and the ordered operands of the next problem.
Problem drawProblem(std::int16_t problemType, std::int16_t maxOperand, RandomSource& random);

/// The right answer to a problem; nothing for an operator outside the four (no problem drawn).
std::optional<std::int32_t> rightAnswer(const Problem& problem);
