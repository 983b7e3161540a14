// Guards the club file against a game killed while it writes: whole lines, and a half line left
// behind costs nothing but itself.
#include "records/ClubFile.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

/// Runs the appender program on the file again and again, killing it (SIGKILL, no chance to
/// tidy up) a moment after each start has added its first line.
void killAppendersWhileTheyAppend(const QString& path, int rounds)
{
    QRandomGenerator random(20261208u);
    for (int round = 0; round < rounds; ++round) {
        const qint64 sizeBefore = QFileInfo(path).size();
        QProcess appender;
        appender.start(QStringLiteral(SUMDASH_CLUB_APPENDER), { path });
        QVERIFY(appender.waitForStarted());
        // A loaded machine may take a while to start the program; the kill must land while it
        // appends, so the clock starts at its first line.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(path).size() > sizeBefore, 20000);
        QTest::qWait(static_cast<int>(random.bounded(5, 60)));
        appender.kill();
        QVERIFY(appender.waitForFinished());
    }
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Every record is one of the appender's members: a name it gives, Addition, a time m:ss.
void checkAppendersMembers(const std::vector<ClubRecord>& records)
{
    for (const ClubRecord& record : records) {
        QVERIFY(record.name.startsWith(QStringLiteral("Member ")));
        QCOMPARE(record.type, QStringLiteral("Addition"));
        QCOMPARE(record.time.size(), 4);
    }
}

} // namespace

class KilledAppendTest : public QObject
{
    Q_OBJECT

private slots:
    void killedWhileAppendingLeavesWholeLines();
    void halfLineLeftByAKillCostsOnlyItself();
};

void KilledAppendTest::killedWhileAppendingLeavesWholeLines()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(ClubFileName);
    killAppendersWhileTheyAppend(path, 12);
    const QByteArray contents = contentsOf(path);
    QVERIFY(!contents.isEmpty());
    QVERIFY(contents.endsWith("\r\n"));
    const std::vector<ClubRecord> records = readClubRecords(contents);
    QCOMPARE(static_cast<qsizetype>(records.size()), contents.count("\r\n"));
    checkAppendersMembers(records);
}

void KilledAppendTest::halfLineLeftByAKillCostsOnlyItself()
{
    // A game killed on a nearly full disk, between a short write and cutting it back, leaves the
    // start of a line. Every member who joins after it is read back, in its own line.
    QTemporaryDir dir;
    const QString path = dir.filePath(ClubFileName);
    const QByteArray first
        = EncodeClubText(clubRecordText("Member first", "1:00", "Addition")) + "\r\n";
    const QByteArray half
        = EncodeClubText(clubRecordText("Ann", "2:47", "Multiplication")).left(11);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(first + half), first.size() + half.size());
    }
    killAppendersWhileTheyAppend(path, 4);

    const QByteArray contents = contentsOf(path);
    const std::vector<ClubRecord> records = readClubRecords(contents);
    QVERIFY(records.size() >= 5);
    checkAppendersMembers(records);
    // The appenders count from 0 each time they start: the first line's member, then member 0.
    QCOMPARE(records[0].name, QStringLiteral("Member first"));
    QCOMPARE(records[1].name, QStringLiteral("Member 0 "));
    // Every line but the half one, which the first appender ended before its own.
    QCOMPARE(static_cast<qsizetype>(records.size()), contents.count("\r\n") - 1);
    QVERIFY(contents.startsWith(first + half + "\r\n"));
    QVERIFY(contents.endsWith("\r\n"));
}

QTEST_GUILESS_MAIN(KilledAppendTest)
#include "KilledAppendTest.moc"
