// The practice options' rules: reading the number of problems and what the switches hide.
#pragma once

#include "engine/DrillView.h"

#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

/// The typed number of problems, rounded down to a whole number: the locale's number parsing
/// with optional sign, decimal separator, exponent and surrounding blanks. Nothing for an empty
/// or unreadable entry, and for one outside -32768 to 32767 (exponents reach that in three
/// characters, "9e9"), since the count is a 16-bit value.
std::optional<std::int16_t> parsePracticeCount(const QString& text,
                                               const QLocale& locale = QLocale());

/// The count and clock row once OK is pressed: everything shown, then hidden as the switches ask.
CountsRowVisibility countsRowFor(bool onlyAllowCorrect, bool hideCounts, bool hideTime);
