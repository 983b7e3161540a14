// The problem on the page as a screen reader says it: "12 plus 7", "42 divided by 6".
#pragma once

#include <string>
#include <string_view>

/// The operands and the operator in words; empty when there is no problem yet.
std::string problemInWords(std::string_view top, std::string_view operatorText,
                           std::string_view bottom);
