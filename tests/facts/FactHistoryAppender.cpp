// Test helper program, a game keeping runs in the fact history as fast as it can until it is
// killed. "FactHistoryAppender <file> <first run>" keeps appendedRun(first), appendedRun(first
// + 1), ... and prints "kept <n>" once run n is kept; it exits with 1 when a run is not kept.
#include "facts/FactHistoryFile.h"
#include "tests/facts/FactHistoryTesting.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        return 2;
    }
    FactHistoryFile history(QString::fromLocal8Bit(argv[1]), [](std::int64_t) { return 0; });
    for (int run = QByteArrayView(argv[2]).toInt();; ++run) {
        if (!history.appendRun(FactHistoryTesting::appendedRun(run)).ok()) {
            return 1;
        }
        std::printf("kept %d\n", run);
        std::fflush(stdout);
    }
}
