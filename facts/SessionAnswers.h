// This session's answers, always kept in memory, and the run in progress to keep on disk.
#pragma once

#include "engine/JudgedAnswer.h"
#include "facts/FactAttempt.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class SessionAnswers
{
public:
    /// utcNowMs tells the wall-clock time an answer is stamped with.
    explicit SessionAnswers(std::function<std::int64_t()> utcNowMs);

    /// A new run begins: answers from now on belong to it. The answers of a run not yet handed
    /// out by finishRun() stay waiting for it, under their own run.
    void startRun(bool timed, std::int16_t maxOperand, bool onlyCorrect);
    /// One judged answer of the run in progress. Cheap: it is called on the keystroke's path.
    void record(const JudgedAnswer& answer);
    /// The run in progress is over (finished, stopped or replaced): the answers not handed out
    /// before, oldest first, for the history file; each carries its run. Empty when none.
    std::vector<FactAttempt> finishRun();

    /// Every answer of this session, oldest first.
    const std::vector<FactAttempt>& all() const { return m_all; }
    /// The answers of the run in progress, not yet handed out by finishRun().
    std::size_t unfinishedCount() const { return m_all.size() - m_runStart; }
    void clear();

private:
    std::function<std::int64_t()> m_utcNowMs;
    std::vector<FactAttempt> m_all;
    std::size_t m_runStart = 0; ///< where the run in progress begins in m_all
    std::optional<FactRun> m_run;
    std::int64_t m_lastRunId = 0;
};
