// An answer the engine has judged, with its timing, as the fact history records it.
#pragma once

#include "engine/ProblemGenerator.h"

#include <cstdint>
#include <string>

struct JudgedAnswer
{
    Problem problem;
    std::int32_t expected = 0;
    std::string typed; ///< the digits judged
    bool right = false;
    std::int16_t attempt = 1; ///< 1 for the first Enter on this problem, 2 after a retype, ...
    /// On the run's stopwatch, from the start of this attempt (the problem appearing, or the box
    /// emptied by the wrong answer before it) to the first digit and to Enter.
    std::int64_t msToFirstDigit = 0;
    std::int64_t msToEnter = 0;
};
