// Test helpers that play a DrillRun: start it, tick through the countdown, answer problems.
#pragma once

#include "engine/DrillRun.h"

#include <cstdint>
#include <string>

/// The right answer to the problem on the board, worked out from its captions by hand.
inline std::string expectedAnswer(const DrillBoard& board)
{
    const int top = std::stoi(board.NumLab);
    const int bottom = std::stoi(board.DenLab);
    if (board.OpLab == "+") {
        return std::to_string(top + bottom);
    }
    if (board.OpLab == "-") {
        return std::to_string(top - bottom);
    }
    if (board.OpLab == "x") {
        return std::to_string(top * bottom);
    }
    return std::to_string(top / bottom);
}

/// A wrong answer to the problem on the board.
inline std::string wrongAnswer(const DrillBoard& board)
{
    return std::to_string(std::stoi(expectedAnswer(board)) + 1);
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
