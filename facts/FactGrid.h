// The facts a timed run can ask, and the link between a fact and the engine's problem.
#pragma once

#include "engine/ProblemGenerator.h"
#include "facts/FactAttempt.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

/// The largest operand of a timed run; the grid holds every fact the generator can make with it.
inline constexpr std::int16_t GridMaxOperand = 12;

inline constexpr std::array<FactOperation, 4> AllFactOperations {
    FactOperation::Add, FactOperation::Subtract, FactOperation::Multiply, FactOperation::Divide
};

/// The grid's facts of one operation, row by row: by top, then by bottom, both rising.
/// For + - x: top 0 to 12, bottom 0 to top (91 facts). For division: dividend 1 to 12, each
/// divisor that divides it (35 facts).
std::vector<FactKey> gridFacts(FactOperation operation);

/// Whether the generator can make this fact with operands up to 12.
bool isGridFact(const FactKey& fact);

/// The operation of an engine operator text ("+", "-", "x", "{"); nothing for any other text.
std::optional<FactOperation> factOperation(std::string_view operatorText);

/// The engine operator text of an operation.
std::string_view operatorText(FactOperation operation);

/// The engine problem that asks this fact.
Problem problemFor(const FactKey& fact);

/// The fact an engine problem asks; nothing when it has no operator of the four.
std::optional<FactKey> factFor(const Problem& problem);
