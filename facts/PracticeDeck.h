// The problems of a practice run aimed at the facts that need work.
#pragma once

#include "engine/ProblemGenerator.h"
#include "engine/RandomSource.h"
#include "facts/FactBook.h"

#include <cstdint>
#include <span>
#include <vector>

/// The grid facts in Practise and GettingThere, each weighted by how much work it needs, mixed
/// with the known ones so that practice also keeps them fresh. A snapshot of the book: build a
/// new deck to take in newer answers.
class PracticeDeck
{
public:
    /// One draw in this many is a known fact, when there are any.
    static constexpr int KnownEvery = 5;

    struct Card
    {
        FactKey fact;
        double weight = 1.0;
    };

    PracticeDeck(const FactBook& book, std::span<const FactOperation> operations);

    /// The deck for a problem type: 1 to 4 its operation, 5 ("Random") all four; anything else
    /// gives an empty deck.
    static PracticeDeck forProblemType(const FactBook& book, std::int16_t problemType);

    /// Nothing needs practice: the known facts alone make no deck.
    bool empty() const { return m_work.empty(); }

    /// The next problem, larger operand on top, division exact; a problem with no operator when
    /// the deck is empty.
    Problem draw(RandomSource& random) const;

    /// The weight of a fact that needs work: the more misses and the slower, the heavier.
    static double workWeight(const FactVerdict& verdict);

    const std::vector<Card>& work() const { return m_work; }
    const std::vector<FactKey>& known() const { return m_known; }

private:
    std::vector<Card> m_work;
    std::vector<FactKey> m_known;
    double m_totalWeight = 0.0;
};
