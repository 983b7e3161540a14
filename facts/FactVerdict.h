// How well a child knows one fact, judged from its latest answers.
#pragma once

#include <cstdint>
#include <span>

/// The states in the order they are judged: known first, so that one slip among fast answers
/// still reads as known.
enum class FactState : std::uint8_t {
    NotYet, ///< fewer than two answers to judge
    KnowIt, ///< right within 3 seconds in at least two of the last three
    GettingThere, ///< all right, usually within 6 seconds
    Practise, ///< a miss among the last three, or usually slower than 6 seconds
};

namespace FactRules {
/// An answer that took longer than this is left out: the child had walked away.
inline constexpr std::int32_t WalkedAwayMs = 60'000;
/// How many of the latest answers are judged.
inline constexpr int Judged = 3;
/// Fewer answers than this say nothing yet.
inline constexpr int Enough = 2;
/// A longer time counts as this, so one long pause weighs no more than a slow answer.
inline constexpr std::int32_t CapMs = 20'000;
/// Right within this (inclusive) is a known answer.
inline constexpr std::int32_t KnownMs = 3'000;
/// How many of the judged answers must be known.
inline constexpr int KnownNeeded = 2;
/// The usual time (inclusive) up to which all-right answers are getting there.
inline constexpr std::int32_t GettingThereMs = 6'000;
} // namespace FactRules

/// One answer to a fact, as much as judging it and showing it needs.
struct FactAnswer
{
    std::int64_t whenUtcMs = 0; ///< when Enter was pressed: milliseconds since 1970, UTC
    bool right = false;
    std::int32_t msToEnter = 0; ///< from the problem appearing to Enter
};

struct FactVerdict
{
    FactState state = FactState::NotYet;
    int considered = 0; ///< answers judged: the latest ones not left out, at most three
    int right = 0; ///< of those considered
    std::int32_t medianMs = 0; ///< usual time of those considered, each capped at 20 s; 0 for none

    bool operator==(const FactVerdict&) const = default;
};

/// Whether an answer is judged at all.
constexpr bool isJudged(const FactAnswer& answer)
{
    return answer.msToEnter <= FactRules::WalkedAwayMs;
}

/// The verdict on a fact from its answers, newest first; the answers left out and those beyond
/// the latest three judged ones make no difference.
FactVerdict judgeFact(std::span<const FactAnswer> newestFirst);
