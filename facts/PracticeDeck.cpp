// The problems of a practice run aimed at the facts that need work.
#include "facts/PracticeDeck.h"

#include "facts/FactGrid.h"

#include <algorithm>
#include <array>

namespace {

double unitFrom(RandomSource& random)
{
    return std::clamp(random.nextUnit(), 0.0, 1.0);
}

template<typename T> const T& uniformPick(const std::vector<T>& items, RandomSource& random)
{
    const auto index
        = static_cast<std::size_t>(unitFrom(random) * static_cast<double>(items.size()));
    return items[std::min(index, items.size() - 1)];
}

} // namespace

PracticeDeck::PracticeDeck(const FactBook& book, std::span<const FactOperation> operations)
{
    for (const FactOperation operation : operations) {
        for (const FactKey& fact : gridFacts(operation)) {
            const FactVerdict verdict = book.verdict(fact);
            if (verdict.state == FactState::KnowIt) {
                m_known.push_back(fact);
            } else if (verdict.state != FactState::NotYet) {
                m_work.push_back({ fact, workWeight(verdict) });
                m_totalWeight += m_work.back().weight;
            }
        }
    }
}

PracticeDeck PracticeDeck::forProblemType(const FactBook& book, std::int16_t problemType)
{
    if (problemType >= 1 && problemType <= 4) {
        const std::array operation { AllFactOperations[static_cast<std::size_t>(problemType - 1)] };
        return PracticeDeck(book, operation);
    }
    if (problemType == 5) {
        return PracticeDeck(book, AllFactOperations);
    }
    return PracticeDeck(book, {});
}

double PracticeDeck::workWeight(const FactVerdict& verdict)
{
    // A fact to practise starts one above a fact getting there; each recent miss adds one more,
    // and so does every 3 seconds of usual time.
    const double base = verdict.state == FactState::Practise ? 2.0 : 1.0;
    const int misses = verdict.considered - verdict.right;
    return base + misses + verdict.medianMs / 3000.0;
}

Problem PracticeDeck::draw(RandomSource& random) const
{
    if (m_work.empty()) {
        return {};
    }
    if (!m_known.empty() && unitFrom(random) * KnownEvery < 1.0) {
        return problemFor(uniformPick(m_known, random));
    }
    double left = unitFrom(random) * m_totalWeight;
    for (const Card& card : m_work) {
        left -= card.weight;
        if (left < 0.0) {
            return problemFor(card.fact);
        }
    }
    return problemFor(m_work.back().fact);
}
