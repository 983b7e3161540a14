// Prints the address the game's results window opens for a submission, built by the game's own
// code, so the browser test follows exactly what a child's browser would.
// game-link SITE NAME PROBLEM-TYPE M:SS
#include "results/OnlineSubmission.h"

#include <QCoreApplication>
#include <QDate>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 5) {
        std::fputs("game-link SITE NAME PROBLEM-TYPE M:SS\n", stderr);
        return 2;
    }
    const QString address = submissionAddress(
        arguments.at(1), arguments.at(2), std::int16_t(arguments.at(3).toShort()), arguments.at(4),
        QDate::currentDate(), QLocale::system());
    std::printf("%s\n", qPrintable(address));
    return 0;
}
