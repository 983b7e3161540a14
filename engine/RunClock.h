// The stopwatch behind the run clock: started at "Go!", read at every tick and at the last answer.
#pragma once

#include <chrono>
#include <cstdint>

class RunClock
{
public:
    virtual ~RunClock() = default;
    virtual void restart() = 0;
    virtual std::int64_t elapsedMs() const = 0;
};

/// The real stopwatch: a monotonic clock, unaffected by changes to the wall-clock time.
class SteadyRunClock final : public RunClock
{
public:
    void restart() override { m_start = std::chrono::steady_clock::now(); }

    std::int64_t elapsedMs() const override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - m_start)
            .count();
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};
