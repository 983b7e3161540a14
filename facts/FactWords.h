// A fact and its verdict as the fact grid writes and says them.
#pragma once

#include "facts/FactAttempt.h"
#include "facts/FactVerdict.h"

#include <cstdint>
#include <string>

/// The fact as written: "7 x 8", "12 - 5", "12 ÷ 4" (UTF-8).
std::string factText(const FactKey& fact);

/// The fact as said: "7 times 8", "12 divided by 4".
std::string factInWords(const FactKey& fact);

/// A time in words to one decimal, the ".0" dropped: "2.4 seconds", "1 second", "20 seconds".
std::string secondsInWords(std::int32_t ms);

/// A cell of the grid as a screen reader says it: "7 times 8: usually 2.4 seconds, 3 of 3 right",
/// or "7 times 8: not enough answers yet".
std::string verdictInWords(const FactKey& fact, const FactVerdict& verdict);
