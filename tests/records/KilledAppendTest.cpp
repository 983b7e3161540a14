// Guards the club file against a game killed while it writes: only whole lines, ever.
#include "records/ClubFile.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

class KilledAppendTest : public QObject
{
    Q_OBJECT

private slots:
    void killedWhileAppendingLeavesWholeLines();
};

void KilledAppendTest::killedWhileAppendingLeavesWholeLines()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(ClubFileName);
    QRandomGenerator random(20261208u);
    for (int round = 0; round < 12; ++round) {
        const qint64 sizeBefore = QFileInfo(path).size();
        QProcess appender;
        appender.start(QStringLiteral(SUMDASH_CLUB_APPENDER), { path });
        QVERIFY(appender.waitForStarted());
        // A loaded machine may take a while to start the program; the kill must land while it
        // appends, so the clock starts at its first line.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(path).size() > sizeBefore, 20000);
        QTest::qWait(static_cast<int>(random.bounded(5, 60)));
        appender.kill(); // SIGKILL: no chance to tidy up
        QVERIFY(appender.waitForFinished());
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray contents = file.readAll();
    QVERIFY(!contents.isEmpty());
    QVERIFY(contents.endsWith("\r\n"));
    const auto records = readClubRecords(contents);
    QVERIFY(records.has_value());
    QCOMPARE(static_cast<qsizetype>(records->size()), contents.count("\r\n"));
    for (const ClubRecord& record : *records) {
        QVERIFY(record.name.startsWith(QStringLiteral("Member ")));
        QCOMPARE(record.type, QStringLiteral("Addition"));
        QCOMPARE(record.time.size(), 4);
    }
}

QTEST_GUILESS_MAIN(KilledAppendTest)
#include "KilledAppendTest.moc"
