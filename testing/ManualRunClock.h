// A run stopwatch the test moves by hand.
#pragma once

#include "engine/RunClock.h"

class ManualRunClock final : public RunClock
{
public:
    void restart() override { m_start = m_now; }
    std::int64_t elapsedMs() const override { return m_now - m_start; }
    void advance(std::int64_t ms) { m_now += ms; }

private:
    std::int64_t m_now = 0;
    std::int64_t m_start = 0;
};
