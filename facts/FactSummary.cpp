// What the fact grid says under itself: how many facts are known, what to practise next, and
// how the known facts grew day by day.
#include "facts/FactSummary.h"

#include "facts/FactGrid.h"
#include "facts/FactWords.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr std::int64_t MsPerMinute = 60'000;
constexpr std::int64_t MinutesPerDay = 24 * 60;

int knownIn(const FactBook& book, const std::vector<FactKey>& facts)
{
    return static_cast<int>(std::count_if(facts.begin(), facts.end(), [&](const FactKey& fact) {
        return book.verdict(fact).state == FactState::KnowIt;
    }));
}

} // namespace

KnownCount knownCount(const FactBook& book, FactOperation operation)
{
    const std::vector<FactKey> facts = gridFacts(operation);
    return { knownIn(book, facts), static_cast<int>(facts.size()) };
}

std::string knownSentence(KnownCount count)
{
    return "You know " + std::to_string(count.known) + " of " + std::to_string(count.total);
}

std::vector<FactKey> practiseNext(const FactBook& book, FactOperation operation, std::size_t limit)
{
    // A fact to practise has a recent miss or is slower than any fact getting there, so the most
    // missed, then the slowest, puts every fact to practise first.
    struct Candidate
    {
        FactKey fact;
        FactVerdict verdict;
        auto order() const // smaller first: more misses, then slower
        {
            return std::tuple(verdict.right - verdict.considered, -verdict.medianMs);
        }
    };
    std::vector<Candidate> candidates;
    for (const FactKey& fact : gridFacts(operation)) {
        const FactVerdict verdict = book.verdict(fact);
        if (verdict.state == FactState::Practise || verdict.state == FactState::GettingThere) {
            candidates.push_back({ fact, verdict });
        }
    }
    // Stable, so equal candidates keep the grid's order.
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.order() < b.order(); });

    std::vector<FactKey> facts;
    for (std::size_t i = 0; i < candidates.size() && i < limit; ++i) {
        facts.push_back(candidates[i].fact);
    }
    return facts;
}

std::string practiseNextSentence(const std::vector<FactKey>& facts)
{
    if (facts.empty()) {
        return "Nothing needs practice right now";
    }
    std::string sentence = "Practise next: ";
    for (std::size_t i = 0; i < facts.size(); ++i) {
        sentence += i == 0 ? "" : ", ";
        sentence += factText(facts[i]);
    }
    return sentence;
}

std::int64_t localDay(std::int64_t whenUtcMs, std::int32_t utcOffsetMinutes)
{
    // Floor division: a time before 1970 still falls on the day it belongs to.
    const auto floorDiv
        = [](std::int64_t a, std::int64_t b) { return a / b - (a % b < 0 ? 1 : 0); };
    const std::int64_t localMinutes = floorDiv(whenUtcMs, MsPerMinute) + utcOffsetMinutes;
    return floorDiv(localMinutes, MinutesPerDay);
}

std::vector<DayKnown> knownByDay(std::span<const FactAttempt> oldestFirst, FactOperation operation,
                                 std::int32_t utcOffsetMinutes)
{
    const std::vector<FactKey> facts = gridFacts(operation);
    FactBook book;
    std::vector<DayKnown> days;
    for (const FactAttempt& attempt : oldestFirst) {
        if (attempt.fact.operation != operation) {
            continue;
        }
        // A clock set back never reopens a day already closed.
        std::int64_t day = localDay(attempt.whenUtcMs, utcOffsetMinutes);
        if (!days.empty()) {
            day = std::max(day, days.back().day);
        }
        if (!days.empty() && days.back().day != day) {
            days.back().known = knownIn(book, facts);
        }
        if (days.empty() || days.back().day != day) {
            days.push_back({ day, 0 });
        }
        book.add(attempt);
    }
    if (!days.empty()) {
        days.back().known = knownIn(book, facts);
    }
    return days;
}
