// This session's answers, always kept in memory, and the run in progress to keep on disk.
#include "facts/SessionAnswers.h"

#include "engine/ProblemTypes.h"

#include <algorithm>
#include <limits>

std::optional<FactKey> factOf(const Problem& problem)
{
    FactKey key;
    if (problem.operatorText == OperatorText::Plus) {
        key.operation = FactOperation::Add;
    } else if (problem.operatorText == OperatorText::Minus) {
        key.operation = FactOperation::Subtract;
    } else if (problem.operatorText == OperatorText::Times) {
        key.operation = FactOperation::Multiply;
    } else if (problem.operatorText == OperatorText::Divide) {
        key.operation = FactOperation::Divide;
    } else {
        return std::nullopt;
    }
    key.top = problem.top;
    key.bottom = problem.bottom;
    return key;
}

namespace {

std::int32_t clampedMs(std::int64_t ms)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(ms, 0, std::numeric_limits<std::int32_t>::max()));
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
    const std::optional<FactKey> fact = factOf(answer.problem);
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
    std::vector<FactAttempt> run(m_all.begin() + static_cast<std::ptrdiff_t>(m_runStart), m_all.end());
    m_runStart = m_all.size();
    m_run.reset();
    return run;
}

void SessionAnswers::clear()
{
    m_all.clear();
    m_runStart = 0;
}
