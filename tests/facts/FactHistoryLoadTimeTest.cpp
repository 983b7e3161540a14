// Measures how long reading the fact history for the window takes with a hundred thousand and a
// million answers kept over the grid's facts. Prints the times; asserts only what was read.
#include "facts/FactHistoryFile.h"
#include "facts/FactHistoryWriter.h"
#include "tests/facts/FactHistoryTesting.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

using namespace FactHistoryTesting;

namespace {

constexpr std::int64_t MorningMs = 1772438400000;
constexpr std::int64_t Day = 24 * 3600 * 1000;
constexpr int RunAnswers = 2000;
constexpr int Rounds = 5;

/// Asks the system to forget the file's pages, so the next read comes from the disk.
void dropFromCache(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

double msSince(const QElapsedTimer& clock)
{
    return clock.nsecsElapsed() / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

class FactHistoryLoadTimeTest : public QObject
{
    Q_OBJECT

private slots:
    void loadTimes_data();
    void loadTimes();
};

void FactHistoryLoadTimeTest::loadTimes_data()
{
    QTest::addColumn<int>("answers");
    QTest::newRow("100,000 answers") << 100'000;
    QTest::newRow("1,000,000 answers") << 1'000'000;
}

void FactHistoryLoadTimeTest::loadTimes()
{
    QFETCH(int, answers);
    QTemporaryDir dir;
    const QString path = dir.filePath(FactHistoryFileName);
    QRandomGenerator random(51);
    QElapsedTimer clock;
    clock.start();
    {
        FactHistoryFile history(path);
        for (int run = 0; run < answers / RunAnswers; ++run) {
            // Two long runs a day.
            const std::int64_t start = MorningMs + (run / 2) * Day + (run % 2) * 3600 * 1000;
            QVERIFY(history.appendRun(randomRun(random, run + 1, RunAnswers, start)).ok());
        }
    }
    const double buildMs = msSince(clock);
    const qint64 bytes = QFileInfo(path).size();

    // Each way, five times; the median is printed. The window's first look with a connection of
    // its own: open, check the tables, read; then again on the open connection.
    std::vector<double> ownFirst;
    std::vector<double> ownAgain;
    std::size_t facts = 0;
    for (int round = 0; round < Rounds; ++round) {
        clock.restart();
        FactHistoryFile own(path);
        const FactHistoryLoad first = own.loadRecent();
        ownFirst.push_back(msSince(clock));
        QVERIFY(first.outcome.ok());
        facts = first.records.size();
        clock.restart();
        QCOMPARE(own.loadRecent().records.size(), facts);
        ownAgain.push_back(msSince(clock));
    }
    QCOMPARE(facts, allGridFacts().size());

    // Through the writer: its first use starts its thread and opens the file; later loads find
    // both up, as after a run was kept.
    std::vector<double> writerFirst;
    std::vector<double> writerWarm;
    for (int round = 0; round < Rounds; ++round) {
        FactHistoryWriter writer(path);
        clock.restart();
        QCOMPARE(writer.loadRecent().records.size(), facts);
        writerFirst.push_back(msSince(clock));
        writer.keepRun(randomRun(random, 9000 + round, 50, MorningMs + (5000 + round) * Day));
        writer.loadRecent();
        clock.restart();
        QCOMPARE(writer.loadRecent().records.size(), facts);
        writerWarm.push_back(msSince(clock));
    }

    // From the disk: the file's pages dropped from the system's cache first.
    std::vector<double> fromDisk;
    for (int round = 0; round < Rounds; ++round) {
        dropFromCache(path);
        clock.restart();
        FactHistoryFile cold(path);
        QCOMPARE(cold.loadRecent().records.size(), facts);
        fromDisk.push_back(msSince(clock));
    }

    qInfo("%d answers (%.1f MB), built in %.1f s. Median load: own connection %.2f ms opened, "
          "%.2f ms open; writer %.2f ms at its first use, %.2f ms after a run; own connection "
          "from the disk %.2f ms",
          answers, bytes / 1e6, buildMs / 1000, median(ownFirst), median(ownAgain),
          median(writerFirst), median(writerWarm), median(fromDisk));
}

QTEST_GUILESS_MAIN(FactHistoryLoadTimeTest)
#include "FactHistoryLoadTimeTest.moc"
