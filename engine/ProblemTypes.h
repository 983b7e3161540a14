// The five problem types: names, operators, subject codes and top-times key stems.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

struct ProblemTypeInfo
{
    std::int16_t number; ///< the value of ProblemType, the selector's button index plus 1
    std::string_view name;
    std::string_view operatorText; ///< empty for "Random": drawn anew for every problem
    std::string_view subjectCode;
    std::string_view timeKeyStem;
    std::string_view nameKeyStem;
};

inline constexpr std::array<ProblemTypeInfo, 5> ProblemTypes { {
    { 1, "Addition", "+", "add", "TopAddTime", "TopAddName" },
    { 2, "Subtraction", "-", "sub", "TopSubTime", "TopSubName" },
    { 3, "Multiplication", "x", "mul", "TopMulTime", "TopMulName" },
    { 4, "Division", "{", "div", "TopDivTime", "TopDivName" },
    { 5, "Random", "", "rnd", "TopRanTime", "TopRanName" },
} };

/// The row of a problem type, or nullptr for a value outside 1 to 5.
constexpr const ProblemTypeInfo* problemTypeInfo(std::int16_t problemType)
{
    if (problemType < 1 || problemType > static_cast<std::int16_t>(ProblemTypes.size())) {
        return nullptr;
    }
    return &ProblemTypes[static_cast<std::size_t>(problemType - 1)];
}

/// Operator texts as the answer check reads them back; "{" stands for division.
namespace OperatorText {
inline constexpr std::string_view Plus = "+";
inline constexpr std::string_view Minus = "-";
inline constexpr std::string_view Times = "x";
inline constexpr std::string_view Divide = "{";
} // namespace OperatorText
