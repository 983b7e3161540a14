// The five boards of a scoreboard: one per kind of problem the game times.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

/// Numbered like the game's problem types, which is also the t of the check value.
enum class Subject : std::int16_t {
    Addition = 1,
    Subtraction = 2,
    Multiplication = 3,
    Division = 4,
    Random = 5,
};

/// Every board, in the game's order.
inline constexpr std::array<Subject, 5> AllSubjects { Subject::Addition, Subject::Subtraction,
                                                      Subject::Multiplication, Subject::Division,
                                                      Subject::Random };

/// "add", "sub", "mul", "div" or "rnd" as the game sends them; nothing for anything else,
/// other spellings and cases included.
std::optional<Subject> subjectFromCode(const QString& code);
QString subjectCode(Subject subject);
/// "Addition", "Subtraction", "Multiplication", "Division" or "Random", as pages show them.
QString subjectName(Subject subject);
