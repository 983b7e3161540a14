// The moderators' password, chosen when the server first starts.
#pragma once

#include <QString>
#include <optional>
#include <variant>

/// Why a password cannot be had, for the operator.
struct PasswordProblem
{
    QString text;
};

/// The first line of file, without its line end. A password shorter than 8 characters is
/// refused: the page it guards faces the internet.
std::variant<QString, PasswordProblem> passwordFromFile(const QString& file);

/// Asks for a new password twice on the terminal, without echo; nothing when there is no
/// terminal or the two differ.
std::optional<QString> passwordFromTerminal();

inline constexpr int MinimumPasswordCharacters = 8;
