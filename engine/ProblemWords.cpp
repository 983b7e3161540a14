// The problem on the page as a screen reader says it: "12 plus 7", "42 divided by 6".
#include "engine/ProblemWords.h"

#include "engine/ProblemTypes.h"

std::string problemInWords(std::string_view top, std::string_view operatorText,
                           std::string_view bottom)
{
    std::string_view word;
    if (operatorText == OperatorText::Plus) {
        word = "plus";
    } else if (operatorText == OperatorText::Minus) {
        word = "minus";
    } else if (operatorText == OperatorText::Times) {
        word = "times";
    } else if (operatorText == OperatorText::Divide) {
        word = "divided by";
    }
    if (word.empty() || top.empty() || bottom.empty()) {
        return {};
    }
    std::string words(top);
    words += ' ';
    words += word;
    words += ' ';
    words += bottom;
    return words;
}
