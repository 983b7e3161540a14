// This session's answers, always kept in memory, and the run in progress to keep on disk.
#include "facts/SessionAnswers.h"

#include "facts/FactGrid.h"

#include <algorithm>
#include <limits>

namespace {

std::int32_t clampedMs(std::int64_t ms)
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(ms, 0, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

SessionAnswers::SessionAnswers(std::function<std::int64_t()> utcNowMs)
    : m_utcNowMs(std::move(utcNowMs))
{
}

void SessionAnswers::startRun(bool timed, std::int16_t maxOperand, bool onlyCorrect)
{
    m_run = FactRun { ++m_lastRunId, timed, maxOperand, onlyCorrect };
}

void SessionAnswers::record(const JudgedAnswer& answer)
{
    const std::optional<FactKey> fact = factFor(answer.problem);
    if (!m_run || !fact) {
        return;
    }
    FactAttempt attempt;
    attempt.whenUtcMs = m_utcNowMs();
    attempt.run = *m_run;
    attempt.fact = *fact;
    attempt.expected = answer.expected;
    attempt.typed = answer.typed;
    attempt.right = answer.right;
    attempt.attempt = answer.attempt;
    attempt.msToFirstDigit = clampedMs(answer.msToFirstDigit);
    attempt.msToEnter = clampedMs(answer.msToEnter);
    m_all.push_back(std::move(attempt));
}

std::vector<FactAttempt> SessionAnswers::finishRun()
{
    std::vector<FactAttempt> run(m_all.begin() + static_cast<std::ptrdiff_t>(m_runStart),
                                 m_all.end());
    m_runStart = m_all.size();
    m_run.reset();
    return run;
}

void SessionAnswers::clear()
{
    m_all.clear();
    m_runStart = 0;
}
