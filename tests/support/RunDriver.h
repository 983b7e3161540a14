// Test helpers that play a DrillRun: start it, tick through the countdown, answer problems.
#pragma once

#include "engine/DrillRun.h"

#include <cstdint>
#include <string>

/// The right answer to the problem on show.
inline std::string expectedAnswer(const DrillRun& run)
{
    return std::to_string(rightAnswer(run.problem()).value_or(-1));
}

/// A wrong answer to the problem on show.
inline std::string wrongAnswer(const DrillRun& run)
{
    return std::to_string(rightAnswer(run.problem()).value_or(-1) + 1);
}

inline void typeAnswer(DrillRun& run, const std::string& text)
{
    for (char c : text) {
        run.answerKeyDown(std::string(1, c), false);
    }
}

/// From a chosen type through "Ready...", "Set...", "Go!" to the first problem.
inline void startAndCountDown(DrillRun& run)
{
    run.startCountdown();
    run.countdownStep();
    run.countdownStep();
    run.countdownStep();
}
