// The moderators' password, chosen when the server first starts.
#include "server/app/AdminPassword.h"

#include <QFile>
#include <cstdio>
#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

std::variant<QString, PasswordProblem> passwordFromFile(const QString& file)
{
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly)) {
        return PasswordProblem { QStringLiteral("The password file %1 cannot be read: %2")
                                     .arg(file, source.errorString()) };
    }
    QByteArray line = source.readLine(4096);
    while (line.endsWith('\n') || line.endsWith('\r')) {
        line.chop(1);
    }
    const QString password = QString::fromUtf8(line);
    if (password.size() < MinimumPasswordCharacters) {
        return PasswordProblem { QStringLiteral("The password in %1 is shorter than %2 characters.")
                                     .arg(file)
                                     .arg(MinimumPasswordCharacters) };
    }
    return password;
}

namespace {

std::optional<QString> askHidden(const char* prompt)
{
    termios saved {};
    if (tcgetattr(STDIN_FILENO, &saved) != 0) {
        return std::nullopt;
    }
    termios quiet = saved;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    std::fputs(prompt, stderr);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    std::string line;
    const bool read = bool(std::getline(std::cin, line));
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fputs("\n", stderr);
    if (!read) {
        return std::nullopt;
    }
    return QString::fromStdString(line);
}

} // namespace

std::optional<QString> passwordFromTerminal()
{
    if (!isatty(STDIN_FILENO)) {
        return std::nullopt;
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        const auto first = askHidden("Choose the moderators' password (8 characters or more): ");
        if (!first) {
            return std::nullopt;
        }
        if (first->size() < MinimumPasswordCharacters) {
            std::fputs("That is too short.\n", stderr);
            continue;
        }
        const auto second = askHidden("The same password again: ");
        if (second == first) {
            return first;
        }
        std::fputs("The two differ.\n", stderr);
    }
    return std::nullopt;
}
