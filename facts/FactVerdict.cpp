// How well a child knows one fact, judged from its latest answers.
#include "facts/FactVerdict.h"

#include <algorithm>
#include <array>

namespace {

// The middle of three times; of two their mean, rounded half up.
std::int32_t usualTime(const std::array<std::int32_t, FactRules::Judged>& times, int count)
{
    const auto [a, b, c] = times;
    switch (count) {
    case 0:
        return 0;
    case 1:
        return a;
    case 2:
        return (a + b + 1) / 2;
    default:
        return std::max(std::min(a, b), std::min(std::max(a, b), c));
    }
}

} // namespace

FactVerdict judgeFact(std::span<const FactAnswer> newestFirst)
{
    FactVerdict verdict;
    std::array<std::int32_t, FactRules::Judged> times {};
    int known = 0;
    for (const FactAnswer& answer : newestFirst) {
        if (verdict.considered == FactRules::Judged) {
            break;
        }
        if (!isJudged(answer)) {
            continue;
        }
        const std::int32_t ms = std::clamp(answer.msToEnter, 0, FactRules::CapMs);
        times[static_cast<std::size_t>(verdict.considered++)] = ms;
        if (answer.right) {
            ++verdict.right;
            known += ms <= FactRules::KnownMs ? 1 : 0;
        }
    }
    verdict.medianMs = usualTime(times, verdict.considered);

    if (verdict.considered < FactRules::Enough) {
        verdict.state = FactState::NotYet;
    } else if (known >= FactRules::KnownNeeded) {
        verdict.state = FactState::KnowIt;
    } else if (verdict.right == verdict.considered
               && verdict.medianMs <= FactRules::GettingThereMs) {
        verdict.state = FactState::GettingThere;
    } else {
        verdict.state = FactState::Practise;
    }
    return verdict;
}
