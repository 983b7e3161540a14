// Test helpers that play a DrillRun: start it, tick through the countdown, answer problems.
#pragma once

#include "engine/DrillRun.h"

#include <cstdint>
#include <string>

/// The right answer to the problem on the view, worked out from its captions by hand.
inline std::string expectedAnswer(const DrillView& view)
{
    const int top = std::stoi(view.NumLab);
    const int bottom = std::stoi(view.DenLab);
    if (view.OpLab == "+") {
        return std::to_string(top + bottom);
    }
    if (view.OpLab == "-") {
        return std::to_string(top - bottom);
    }
    if (view.OpLab == "x") {
        return std::to_string(top * bottom);
    }
    return std::to_string(top / bottom);
}

/// A wrong answer to the problem on the view.
inline std::string wrongAnswer(const DrillView& view)
{
    return std::to_string(std::stoi(expectedAnswer(view)) + 1);
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
