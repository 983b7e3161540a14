// Every fact a child has answered: its latest answers, its totals and its verdict.
#include "facts/FactBook.h"

#include "facts/FactGrid.h"

namespace {

// Puts the newer answers (newest first) in front and keeps at most `kept`.
void putInFront(std::vector<FactAnswer>& answers, const std::vector<FactAnswer>& newer,
                std::size_t kept)
{
    answers.insert(answers.begin(), newer.begin(), newer.end());
    if (answers.size() > kept) {
        answers.resize(kept);
    }
}

} // namespace

void FactBook::add(const FactAttempt& attempt)
{
    if (attempt.attempt != 1) {
        return;
    }
    const FactAnswer answer { attempt.whenUtcMs, attempt.right, attempt.msToEnter };
    FactRecord& record = m_records[attempt.fact];
    putInFront(record.recent, { answer }, FactRecord::RecentKept);
    if (isJudged(answer)) {
        putInFront(record.judged, { answer }, FactRules::Judged);
    }
    ++record.attempts;
    record.right += answer.right ? 1 : 0;
}

void FactBook::merge(const FactBook& newer)
{
    for (const auto& [fact, newerRecord] : newer.m_records) {
        FactRecord& record = m_records[fact];
        putInFront(record.recent, newerRecord.recent, FactRecord::RecentKept);
        putInFront(record.judged, newerRecord.judged, FactRules::Judged);
        record.attempts += newerRecord.attempts;
        record.right += newerRecord.right;
    }
}

const FactRecord* FactBook::find(const FactKey& fact) const
{
    const auto found = m_records.find(fact);
    return found == m_records.end() ? nullptr : &found->second;
}

FactVerdict FactBook::verdict(const FactKey& fact) const
{
    const FactRecord* record = find(fact);
    return record == nullptr ? FactVerdict {} : record->verdict();
}

std::vector<FactKey> FactBook::extraFacts() const
{
    std::vector<FactKey> extra;
    for (const auto& [fact, record] : m_records) {
        if (!isGridFact(fact)) {
            extra.push_back(fact);
        }
    }
    return extra;
}
