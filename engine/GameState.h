// The game state every window shares for the whole program run.
#pragma once

#include <cstdint>
#include <string>

/// One instance lives for the program run (main.cpp owns it as basGlobals); windows get it by
/// reference. Counters are 16-bit like the captions they feed; flags are plain booleans.
struct GameState
{
    std::int16_t ProblemType = 0; ///< 1 to 5 once a type was chosen, 0 before
    std::int16_t CorrectCount = 0;
    std::int16_t IncorrectCount = 0;
    std::int16_t ClockSeconds = 0;
    std::int16_t ClockMinutes = 0;
    std::int16_t PracticeProblemCount = 100; ///< correct answers that end a run
    std::int16_t DialogResult = 0; ///< -1 closed without a choice, 0 a choice was made
    std::int16_t CountdownStep = 0;
    bool OnlyAllowCorrect = false;
    bool HideCounts = false;
    bool HideTime = false;
    std::int16_t MaxOperand = 12;
    bool TimedMode = false;
    std::int16_t TopTimeSlot = 0;
    std::string NamePromptTitle; ///< UTF-8; empty means the name prompt keeps its own heading
};
