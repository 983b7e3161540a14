// Guards the club file against a game killed while it writes: only whole lines, ever.
#include "records/ClubFile.h"

#include <QFile>
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
        QProcess appender;
        appender.start(QStringLiteral(SUMDASH_CLUB_APPENDER), { path });
        QVERIFY(appender.waitForStarted());
        QTest::qWait(static_cast<int>(random.bounded(20, 120)));
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
