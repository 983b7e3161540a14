// Every fact a child has answered: its latest answers, its totals and its verdict.
#pragma once

#include "facts/FactAttempt.h"
#include "facts/FactVerdict.h"

#include <cstdint>
#include <map>
#include <vector>

struct FactRecord
{
    /// How many answers the record shows, enough for a tool tip.
    static constexpr std::size_t RecentKept = 5;

    std::vector<FactAnswer> recent; ///< the latest answers, newest first, at most RecentKept
    std::vector<FactAnswer> judged; ///< the latest answers not left out, newest first, at most 3
    std::int32_t attempts = 0; ///< every answer ever, those left out included
    std::int32_t right = 0;

    FactVerdict verdict() const { return judgeFact(judged); }
};

/// Only first answers to a problem count: a retype after a miss is the child correcting what the
/// game has already marked wrong, not a new try at the fact.
class FactBook
{
public:
    FactBook() = default;
    /// A book of the records read back from the history file.
    explicit FactBook(std::map<FactKey, FactRecord> records)
        : m_records(std::move(records))
    {
    }

    /// Takes one answer; answers arrive oldest first.
    void add(const FactAttempt& attempt);

    /// Takes every fact of a book whose answers all came after this book's.
    void merge(const FactBook& newer);

    /// The record of a fact, or nullptr when it was never answered.
    const FactRecord* find(const FactKey& fact) const;

    /// The verdict on a fact; NotYet when it was never answered.
    FactVerdict verdict(const FactKey& fact) const;

    /// The facts answered outside the grid (operands above 12 from practice), in key order.
    std::vector<FactKey> extraFacts() const;

    const std::map<FactKey, FactRecord>& records() const { return m_records; }
    bool empty() const { return m_records.empty(); }

private:
    std::map<FactKey, FactRecord> m_records;
};
