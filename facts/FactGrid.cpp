// The facts a timed run can ask, and the link between a fact and the engine's problem.
#include "facts/FactGrid.h"

#include "engine/ProblemTypes.h"

namespace {

bool divides(std::int16_t divisor, std::int16_t dividend)
{
    return divisor > 0 && dividend % divisor == 0;
}

} // namespace

std::vector<FactKey> gridFacts(FactOperation operation)
{
    std::vector<FactKey> facts;
    const bool division = operation == FactOperation::Divide;
    for (std::int16_t top = division ? 1 : 0; top <= GridMaxOperand; ++top) {
        for (std::int16_t bottom = division ? 1 : 0; bottom <= top; ++bottom) {
            if (!division || divides(bottom, top)) {
                facts.push_back({ operation, top, bottom });
            }
        }
    }
    return facts;
}

bool isGridFact(const FactKey& fact)
{
    if (fact.top > GridMaxOperand || fact.bottom > fact.top) {
        return false;
    }
    switch (fact.operation) {
    case FactOperation::Add:
    case FactOperation::Subtract:
    case FactOperation::Multiply:
        return fact.bottom >= 0;
    case FactOperation::Divide:
        return divides(fact.bottom, fact.top);
    }
    return false;
}

std::optional<FactOperation> factOperation(std::string_view text)
{
    for (const FactOperation operation : AllFactOperations) {
        if (text == operatorText(operation)) {
            return operation;
        }
    }
    return std::nullopt;
}

std::string_view operatorText(FactOperation operation)
{
    switch (operation) {
    case FactOperation::Add:
        return OperatorText::Plus;
    case FactOperation::Subtract:
        return OperatorText::Minus;
    case FactOperation::Multiply:
        return OperatorText::Times;
    case FactOperation::Divide:
        return OperatorText::Divide;
    }
    return {};
}

Problem problemFor(const FactKey& fact)
{
    return { std::string(operatorText(fact.operation)), fact.top, fact.bottom };
}

std::optional<FactKey> factFor(const Problem& problem)
{
    const std::optional<FactOperation> operation = factOperation(problem.operatorText);
    if (!operation) {
        return std::nullopt;
    }
    return FactKey { *operation, problem.top, problem.bottom };
}
