// Guards the fact history's writer: runs are kept in the order given on a thread of its own,
// the caller never waits for the file, and a problem is told once.
#include "facts/FactHistoryWriter.h"

#include "facts/FactHistoryFile.h"
#include "tests/facts/FactHistoryTesting.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace FactHistoryTesting;

namespace {

constexpr std::int64_t MorningMs = 1772438400000;

std::vector<FactAttempt> randomRuns(QRandomGenerator& random, int runs, int answers,
                                    std::vector<std::vector<FactAttempt>>& each)
{
    std::vector<FactAttempt> all;
    for (int run = 1; run <= runs; ++run) {
        each.push_back(randomRun(random, run, answers, MorningMs + run * 3600 * 1000));
        all.insert(all.end(), each.back().begin(), each.back().end());
    }
    return all;
}

} // namespace

class FactHistoryWriterTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }
    void runsAreKeptInTheOrderGiven();
    void keepingARunNeverWaitsForTheFile();
    void runsQueuedAtTheEndAreKept();
    void aProblemIsToldOnce();
    void eachDamagedFileIsTold();
    void chartDaysAreTheLocalDaysGiven();
};

void FactHistoryWriterTest::runsAreKeptInTheOrderGiven()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(FactHistoryFileName);
    FactHistoryWriter writer(path);
    QSignalSpy problems(&writer, &FactHistoryWriter::problemFound);
    QRandomGenerator random(31);
    std::vector<std::vector<FactAttempt>> runs;
    const std::vector<FactAttempt> all = randomRuns(random, 12, 50, runs);
    for (std::vector<FactAttempt>& run : runs) {
        writer.keepRun(std::move(run));
    }
    // A load waits for the runs queued before it.
    const FactHistoryLoad load = writer.loadRecent();
    QVERIFY(load.outcome.ok());
    QCOMPARE(recordsText(load.records), recordsText(bookOf(all).records()));
    QCoreApplication::processEvents();
    QCOMPARE(problems.count(), 0);
}

void FactHistoryWriterTest::keepingARunNeverWaitsForTheFile()
{
    // Another copy of the game is in the middle of writing the history: keeping a run returns at
    // once, and the run is kept once the other copy is done.
    QTemporaryDir dir;
    const QString path = dir.filePath(FactHistoryFileName);
    QRandomGenerator random(32);
    const std::vector<FactAttempt> first = randomRun(random, 1, 40, MorningMs);
    const std::vector<FactAttempt> second = randomRun(random, 2, 40, MorningMs + 3600 * 1000);
    QVERIFY(FactHistoryFile(path).appendRun(first).ok());

    FactHistoryWriter writer(path);
    QVERIFY(writer.loadRecent().outcome.ok());
    {
        const RawDatabase other(path);
        QCOMPARE(other.single(QStringLiteral("BEGIN IMMEDIATE")), QString());
        QElapsedTimer clock;
        clock.start();
        writer.keepRun(second);
        // The writer waits up to three seconds for the other copy; the caller does not.
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(other.single(QStringLiteral("ROLLBACK")), QString());
    }
    std::vector<FactAttempt> both = first;
    both.insert(both.end(), second.begin(), second.end());
    QCOMPARE(recordsText(writer.loadRecent().records), recordsText(bookOf(both).records()));
}

void FactHistoryWriterTest::runsQueuedAtTheEndAreKept()
{
    // The game closes right after the last run: the writer keeps what was queued before it goes.
    QTemporaryDir dir;
    const QString path = dir.filePath(FactHistoryFileName);
    QRandomGenerator random(33);
    std::vector<std::vector<FactAttempt>> runs;
    const std::vector<FactAttempt> all = randomRuns(random, 20, 80, runs);
    {
        FactHistoryWriter writer(path);
        for (std::vector<FactAttempt>& run : runs) {
            writer.keepRun(std::move(run));
        }
    }
    FactHistoryFile history(path);
    QCOMPARE(recordsText(history.loadRecent().records), recordsText(bookOf(all).records()));
}

void FactHistoryWriterTest::aProblemIsToldOnce()
{
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("data")), "not a folder"));
    const QString path = dir.filePath(QStringLiteral("data/") + FactHistoryFileName);
    FactHistoryWriter writer(path);
    QSignalSpy problems(&writer, &FactHistoryWriter::problemFound);
    QRandomGenerator random(34);
    for (int run = 1; run <= 3; ++run) {
        writer.keepRun(randomRun(random, run, 10, MorningMs + run * 3600 * 1000));
    }
    // No history to read is no problem, and tells nothing new.
    QVERIFY(writer.loadRecent().outcome.ok());
    QCOMPARE(problems.count(), 0); // told on the writer's owner's thread, by its event loop
    QTRY_COMPARE(problems.count(), 1);
    const auto outcome = problems.at(0).at(0).value<FactHistoryOutcome>();
    QCOMPARE(outcome.problem, FactHistoryProblem::CannotOpen);
    QCOMPARE(outcome.path, path);

    // Once a run is kept, the next problem is told again.
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("data"))));
    writer.keepRun(randomRun(random, 4, 10, MorningMs + 4 * 3600 * 1000));
    QVERIFY(writer.loadRecent().outcome.ok());
    QCOMPARE(writer.removeFile().problem, FactHistoryProblem::None);
    QVERIFY(QDir(dir.filePath(QStringLiteral("data"))).removeRecursively());
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("data")), "not a folder"));
    writer.keepRun(randomRun(random, 5, 10, MorningMs + 5 * 3600 * 1000));
    writer.keepRun(randomRun(random, 6, 10, MorningMs + 6 * 3600 * 1000));
    QVERIFY(writer.loadRecent().outcome.ok());
    QTRY_COMPARE(problems.count(), 2);
    QCOMPARE(problems.at(1).at(0).value<FactHistoryOutcome>().problem,
             FactHistoryProblem::CannotOpen);
}

void FactHistoryWriterTest::eachDamagedFileIsTold()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(FactHistoryFileName);
    FactHistoryWriter writer(path);
    QSignalSpy problems(&writer, &FactHistoryWriter::problemFound);
    QRandomGenerator random(35);
    for (int round = 1; round <= 2; ++round) {
        QVERIFY(writeBytes(path, QByteArray(4096, static_cast<char>(round))));
        writer.keepRun(randomRun(random, round, 10, MorningMs + round * 3600 * 1000));
        QVERIFY(writer.loadRecent().outcome.ok());
        QTRY_COMPARE(problems.count(), round);
        const auto outcome = problems.at(round - 1).at(0).value<FactHistoryOutcome>();
        QCOMPARE(outcome.problem, FactHistoryProblem::Damaged);
        QCOMPARE(fileBytes(outcome.setAsidePath), QByteArray(4096, static_cast<char>(round)));
        QCOMPARE(writer.removeFile().problem, FactHistoryProblem::None);
    }
}

void FactHistoryWriterTest::chartDaysAreTheLocalDaysGiven()
{
    // A run at 23:30 UTC is on the next day an hour east of Greenwich.
    QTemporaryDir dir;
    const std::int64_t lateMs = MorningMs + (15 * 60 + 30) * 60 * 1000;
    std::vector<std::int64_t> asked;
    FactHistoryWriter writer(dir.filePath(FactHistoryFileName), [&](std::int64_t whenUtcMs) {
        asked.push_back(whenUtcMs);
        return 60;
    });
    QRandomGenerator random(36);
    std::vector<FactAttempt> run = randomRun(random, 1, 10, lateMs);
    const std::int64_t lastMs = run.back().whenUtcMs;
    for (FactAttempt& attempt : run) {
        attempt.fact = { FactOperation::Add, 3, 2 };
    }
    writer.keepRun(run);
    const FactHistoryLoad load = writer.loadRecent();
    QVERIFY(load.outcome.ok());
    QCOMPARE(asked, std::vector<std::int64_t> { lastMs });
    QCOMPARE(load.knownByDay.at(FactOperation::Add).size(), 1u);
    QCOMPARE(load.knownByDay.at(FactOperation::Add).front().day, localDay(lastMs, 0) + 1);
}

QTEST_GUILESS_MAIN(FactHistoryWriterTest)
#include "FactHistoryWriterTest.moc"
