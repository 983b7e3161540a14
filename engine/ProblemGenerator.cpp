// Drawing the next problem: operator from the problem type, operands within MaxOperand.
#include "engine/ProblemGenerator.h"

#include "engine/ProblemTypes.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// r * count in double precision, truncated; r < 1 keeps it below count, the clamp only guards
// against a misbehaving source.
std::int32_t scaledDraw(std::int32_t count, RandomSource& random)
{
    const double r = std::clamp(random.nextUnit(), 0.0, 1.0);
    const auto drawn = static_cast<std::int32_t>(std::floor(r * count));
    return std::clamp(drawn, 0, count - 1);
}

} // namespace

std::int16_t RandomFromZero(std::int16_t n, RandomSource& random)
{
    if (n <= 0) {
        return 0;
    }
    return static_cast<std::int16_t>(scaledDraw(std::int32_t { n } + 1, random));
}

std::int16_t RandomFromOne(std::int16_t n, RandomSource& random)
{
    if (n <= 1) {
        return 1;
    }
    return static_cast<std::int16_t>(scaledDraw(n, random) + 1);
}

std::string_view PickOperator(std::int16_t problemType, RandomSource& random)
{
    static constexpr std::array<std::string_view, 4> RandomOperators {
        OperatorText::Plus, OperatorText::Minus, OperatorText::Times, OperatorText::Divide
    };
    const ProblemTypeInfo* info = problemTypeInfo(problemType);
    if (info == nullptr) {
        return {};
    }
    if (!info->operatorText.empty()) {
        return info->operatorText;
    }
    return RandomOperators[static_cast<std::size_t>(RandomFromZero(3, random))];
}

Problem drawProblem(std::int16_t problemType, std::int16_t maxOperand, RandomSource& random)
{
    Problem problem;
    problem.operatorText = std::string(PickOperator(problemType, random));
    const bool division = problem.operatorText == OperatorText::Divide;

    const std::int16_t a
        = division ? RandomFromOne(maxOperand, random) : RandomFromZero(maxOperand, random);
    const std::int16_t b
        = division ? RandomFromOne(maxOperand, random) : RandomFromZero(maxOperand, random);
    problem.top = std::max(a, b);
    problem.bottom = std::min(a, b);

    // Only the divisor is redrawn, never the top operand, so the dividend keeps the spread of a
    // plain draw. The loop ends at the latest when 1 or the top operand itself comes up.
    if (division) {
        while (problem.top % problem.bottom != 0) {
            problem.bottom = RandomFromOne(problem.top, random);
        }
    }
    return problem;
}

std::optional<std::int32_t> rightAnswer(const Problem& problem)
{
    const std::int32_t top = problem.top;
    const std::int32_t bottom = problem.bottom;
    if (problem.operatorText == OperatorText::Plus) {
        return top + bottom;
    }
    if (problem.operatorText == OperatorText::Minus) {
        return top - bottom;
    }
    if (problem.operatorText == OperatorText::Times) {
        return top * bottom;
    }
    if (problem.operatorText == OperatorText::Divide && bottom != 0 && top % bottom == 0) {
        return top / bottom;
    }
    return std::nullopt;
}
