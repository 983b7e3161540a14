// Splitting an operand into the tens and units columns of the page.
#pragma once

#include <string>
#include <string_view>

struct DigitColumns
{
    std::string tens; ///< empty for a one-digit operand
    std::string units;
};

/// A one-character operand fills the units column alone; otherwise the first character goes
/// to tens and the last to units (operands never exceed two digits).
inline DigitColumns splitIntoColumns(std::string_view operand)
{
    if (operand.size() < 2) {
        return { {}, std::string(operand) };
    }
    return { std::string(operand.substr(0, 1)), std::string(operand.substr(operand.size() - 1)) };
}
