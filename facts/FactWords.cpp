// A fact and its verdict as the fact grid writes and says them.
#include "facts/FactWords.h"

#include "engine/ProblemWords.h"
#include "facts/FactGrid.h"

#include <algorithm>

namespace {

std::string_view writtenOperator(FactOperation operation)
{
    switch (operation) {
    case FactOperation::Add:
        return "+";
    case FactOperation::Subtract:
        return "-";
    case FactOperation::Multiply:
        return "x";
    case FactOperation::Divide:
        return "\u00F7";
    }
    return {};
}

} // namespace

std::string factText(const FactKey& fact)
{
    std::string text = std::to_string(fact.top);
    text += ' ';
    text += writtenOperator(fact.operation);
    text += ' ';
    text += std::to_string(fact.bottom);
    return text;
}

std::string factInWords(const FactKey& fact)
{
    return problemInWords(std::to_string(fact.top), operatorText(fact.operation),
                          std::to_string(fact.bottom));
}

std::string secondsInWords(std::int32_t ms)
{
    const std::int32_t tenths = (std::max(ms, 0) + 50) / 100;
    std::string words = std::to_string(tenths / 10);
    if (tenths % 10 != 0) {
        words += '.';
        words += std::to_string(tenths % 10);
    }
    words += tenths == 10 ? " second" : " seconds";
    return words;
}

std::string verdictInWords(const FactKey& fact, const FactVerdict& verdict)
{
    std::string words = factInWords(fact);
    if (verdict.state == FactState::NotYet) {
        return words + ": not enough answers yet";
    }
    words += ": usually ";
    words += secondsInWords(verdict.medianMs);
    words += ", ";
    words += std::to_string(verdict.right);
    words += " of ";
    words += std::to_string(verdict.considered);
    words += " right";
    return words;
}
