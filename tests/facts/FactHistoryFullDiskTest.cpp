// Guards the fact history on a disk with no room left: the run is reported not kept, nothing of
// it is half-written, the runs kept before stay, and runs are kept again once there is room.
#include "facts/FactHistoryFile.h"
#include "facts/FactHistoryWriter.h"
#include "tests/facts/FactHistoryTesting.h"
#include "tests/support/TmpfsMount.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <cstring>

using namespace FactHistoryTesting;

namespace {

constexpr std::int64_t MorningMs = 1772438400000;
constexpr std::int64_t Day = 24 * 3600 * 1000;

/// Writes a filler file until the disk takes no more.
bool fillDisk(const QString& folder)
{
    QFile filler(folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) { }
    // Whatever the buffer held is gone; the disk is full to the last block.
    return true;
}

} // namespace

class FactHistoryFullDiskTest : public QObject
{
    Q_OBJECT

public:
    // Before the application starts any thread: a namespace of our own for the small disk.
    static void initMain() { enterOwnMountNamespace(); }

private slots:
    void runOnAFullDiskIsNotKept();
};

void FactHistoryFullDiskTest::runOnAFullDiskIsNotKept()
{
    QTemporaryDir dir;
    const QString diskFolder = dir.filePath(QStringLiteral("disk"));
    QVERIFY(QDir().mkpath(diskFolder));
    const TmpfsMount disk(diskFolder, 1024 * 1024);
    if (disk.error() == EPERM) {
        QSKIP("This process may neither mount a tmpfs nor enter a user namespace to do so");
    }
    QVERIFY2(disk.mounted(), std::strerror(disk.error()));
    const QString path = diskFolder + QLatin1Char('/') + FactHistoryFileName;

    QRandomGenerator random(41);
    std::vector<FactAttempt> kept;
    FactHistoryFile history(path, [](std::int64_t) { return 0; });
    for (int run = 1; run <= 5; ++run) {
        const std::vector<FactAttempt> attempts
            = randomRun(random, run, 60, MorningMs + run * 3600 * 1000);
        QVERIFY(history.appendRun(attempts).ok());
        kept.insert(kept.end(), attempts.begin(), attempts.end());
    }
    QVERIFY(fillDisk(diskFolder));

    const std::vector<FactAttempt> big = randomRun(random, 6, 3000, MorningMs + Day);
    const FactHistoryOutcome outcome = history.appendRun(big);
    QCOMPARE(outcome.problem, FactHistoryProblem::DiskFull);
    QVERIFY(!outcome.done);
    QVERIFY(!factHistoryMessage(outcome).isEmpty());
    QCOMPARE(recordsText(history.loadRecent().records), recordsText(bookOf(kept).records()));
    {
        const RawDatabase raw(path);
        QCOMPARE(raw.single(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
        QCOMPARE(raw.single(QStringLiteral("SELECT count(*) FROM runs")), QStringLiteral("5"));
    }

    // The writer tells it, once, however many runs fail.
    {
        FactHistoryWriter writer(path);
        QSignalSpy problems(&writer, &FactHistoryWriter::problemFound);
        writer.keepRun(big);
        writer.keepRun(big);
        QVERIFY(writer.loadRecent().outcome.ok());
        QTRY_COMPARE(problems.count(), 1);
        QCOMPARE(problems.at(0).at(0).value<FactHistoryOutcome>().problem,
                 FactHistoryProblem::DiskFull);
    }

    // Room again: the next run is kept after the earlier ones.
    QVERIFY(QFile::remove(diskFolder + QStringLiteral("/filler")));
    QVERIFY(history.appendRun(big).ok());
    kept.insert(kept.end(), big.begin(), big.end());
    QCOMPARE(recordsText(history.loadRecent().records), recordsText(bookOf(kept).records()));
    history.close();
    const RawDatabase raw(path);
    QCOMPARE(raw.single(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
}

QTEST_GUILESS_MAIN(FactHistoryFullDiskTest)
#include "FactHistoryFullDiskTest.moc"
