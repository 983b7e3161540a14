// Guards the fact history against a game killed while it keeps a run: every run kept before is
// intact, the file is sound, and the run in progress is there whole or not at all.
#include "facts/FactHistoryFile.h"
#include "tests/facts/FactHistoryTesting.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace FactHistoryTesting;

class FactHistoryKilledTest : public QObject
{
    Q_OBJECT

private slots:
    void killedWhileKeepingRuns();
};

void FactHistoryKilledTest::killedWhileKeepingRuns()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(FactHistoryFileName);
    QRandomGenerator random(20261209u);
    int runsInFile = 0;
    int killedAtWork = 0;
    for (int round = 0; round < 12; ++round) {
        QProcess appender;
        appender.start(QStringLiteral(SUMDASH_FACT_HISTORY_APPENDER),
                       { path, QString::number(runsInFile + 1) });
        QVERIFY(appender.waitForStarted());
        // The kill lands while it keeps runs: the clock starts at its first kept run.
        QTRY_VERIFY_WITH_TIMEOUT(appender.canReadLine(), 20000);
        QTest::qWait(static_cast<int>(random.bounded(5, 80)));
        appender.kill();
        QVERIFY(appender.waitForFinished());
        QCOMPARE(appender.exitStatus(), QProcess::CrashExit);

        int told = 0;
        const QStringList lines = QString::fromLatin1(appender.readAllStandardOutput())
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(!lines.isEmpty());
        for (const QString& line : lines) {
            QVERIFY2(line == QStringLiteral("kept %1").arg(runsInFile + told + 1),
                     qPrintable(line));
            ++told;
        }

        int runs = 0;
        {
            const RawDatabase raw(path);
            QCOMPARE(raw.single(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
            runs = raw.single(QStringLiteral("SELECT count(*) FROM runs")).toInt();
            // Every run whole: as many answers as it was given.
            const QStringList sizes = raw.column(
                QStringLiteral("SELECT count(*) FROM answers GROUP BY run_id ORDER BY run_id"));
            QCOMPARE(sizes.size(), runs);
            for (int run = 1; run <= runs; ++run) {
                QCOMPARE(sizes.at(run - 1).toULongLong(), appendedRun(run).size());
            }
        }
        // Every run told kept is there; one more may have been kept as the kill came.
        QVERIFY(runs == runsInFile + told || runs == runsInFile + told + 1);
        killedAtWork += runs == runsInFile + told + 1 ? 1 : 0;
        runsInFile = runs;

        std::vector<FactAttempt> all;
        for (int run = 1; run <= runsInFile; ++run) {
            const std::vector<FactAttempt> attempts = appendedRun(run);
            all.insert(all.end(), attempts.begin(), attempts.end());
        }
        FactHistoryFile history(path);
        const FactHistoryLoad load = history.loadRecent();
        QVERIFY2(load.outcome.ok(), qPrintable(load.outcome.detail));
        QCOMPARE(recordsText(load.records), recordsText(bookOf(all).records()));
    }
    qInfo("%d runs kept over 12 kills; %d kills came after a run was kept and before it was told",
          runsInFile, killedAtWork);
}

QTEST_GUILESS_MAIN(FactHistoryKilledTest)
#include "FactHistoryKilledTest.moc"
