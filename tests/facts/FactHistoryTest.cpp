// Guards the game's fact history: answers kept in memory always, on disk only once a parent
// turns keeping on, and what the window reads from both.
#include "facts/FactHistory.h"

#include "facts/FactGrid.h"
#include "facts/FactHistoryFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class MemorySwitch final : public KeepSwitch
{
public:
    bool isOn() const override { return on; }
    bool set(bool value) override
    {
        if (!storable) {
            return false;
        }
        on = value;
        return true;
    }
    bool on = false;
    bool storable = true;
};

/// A clock that moves a minute per reading, in a zone one hour ahead of UTC.
FactHistory::Clocks steppingClocks(std::int64_t& now)
{
    return FactHistory::Clocks { [&now] { return now += 60'000; },
                                 [](std::int64_t) { return 60; } };
}

JudgedAnswer answer(int top, int bottom, bool right, int ms, int attempt = 1)
{
    JudgedAnswer judged;
    judged.problem = problemFor(FactKey { FactOperation::Multiply, static_cast<std::int16_t>(top),
                                          static_cast<std::int16_t>(bottom) });
    judged.expected = top * bottom;
    judged.typed = std::to_string(right ? top * bottom : top * bottom + 1);
    judged.right = right;
    judged.msToEnter = ms;
    judged.msToFirstDigit = ms / 2;
    judged.attempt = static_cast<std::int16_t>(attempt);
    return judged;
}

/// A practice run of 7 x 8 twice, fast and right.
void playKnownRun(FactHistory& history)
{
    history.runStarted(false, 12, false);
    history.answered(answer(8, 7, true, 1500));
    history.answered(answer(8, 7, true, 2000));
    history.runEnded();
}

int attemptsOf(const FactTimesData& data, int top, int bottom)
{
    const FactRecord* record
        = data.book.find(FactKey { FactOperation::Multiply, static_cast<std::int16_t>(top),
                                   static_cast<std::int16_t>(bottom) });
    return record == nullptr ? 0 : record->attempts;
}

} // namespace

class FactHistoryTest : public QObject
{
    Q_OBJECT

private slots:
    void keptOnlyInMemoryUntilKeepingIsOn();
    void keptAnswersSurviveARestart();
    void clearingEmptiesTheSessionAndTheFile();
    void aSwitchThatCannotBeStoredKeepsNothing();
};

void FactHistoryTest::keptOnlyInMemoryUntilKeepingIsOn()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(FactHistoryFileName);
    MemorySwitch keep;
    std::int64_t now = 1'765'000'000'000;
    FactHistory history(path, keep, steppingClocks(now));

    playKnownRun(history);
    const FactTimesData data = history.load();
    QCOMPARE(attemptsOf(data, 8, 7), 2);
    QCOMPARE(knownCount(data.book, FactOperation::Multiply).known, 1);
    QCOMPARE(data.knownByDay.at(FactOperation::Multiply).size(), std::size_t { 1 });
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList {});
}

void FactHistoryTest::keptAnswersSurviveARestart()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(FactHistoryFileName);
    MemorySwitch keep;
    std::int64_t now = 1'765'000'000'000;
    {
        FactHistory history(path, keep, steppingClocks(now));
        playKnownRun(history); // before keeping was on: kept when it is turned on
        history.runStarted(true, 12, false);
        history.answered(answer(6, 6, false, 4000)); // the run in progress
        QVERIFY(history.setKeeping(true));
        history.answered(answer(6, 6, true, 2500, 2));
        QCOMPARE(attemptsOf(history.load(), 6, 6), 1); // retypes are not new tries at the fact
        history.runEnded();
        history.runStarted(false, 20, false);
        history.answered(answer(15, 13, true, 9000)); // a bigger fact from practice
        // The game closes with this run unfinished; closing keeps it.
        history.runEnded();
    }
    FactHistory restarted(path, keep, steppingClocks(now));
    const FactTimesData data = restarted.load();
    QCOMPARE(attemptsOf(data, 8, 7), 2);
    QCOMPARE(attemptsOf(data, 6, 6), 1);
    QCOMPARE(data.book.verdict(FactKey { FactOperation::Multiply, 8, 7 }).state, FactState::KnowIt);
    QCOMPARE(data.book.extraFacts(),
             (std::vector<FactKey> { FactKey { FactOperation::Multiply, 15, 13 } }));

    // This session's own answers join the kept ones without being counted twice.
    restarted.runStarted(false, 12, false);
    restarted.answered(answer(8, 7, false, 1000));
    const FactTimesData joined = restarted.load();
    QCOMPARE(attemptsOf(joined, 8, 7), 3);
    QCOMPARE(joined.book.verdict(FactKey { FactOperation::Multiply, 8, 7 }).right, 2);
}

void FactHistoryTest::clearingEmptiesTheSessionAndTheFile()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(FactHistoryFileName);
    MemorySwitch keep;
    keep.on = true;
    std::int64_t now = 1'765'000'000'000;
    FactHistory history(path, keep, steppingClocks(now));
    playKnownRun(history);
    history.runStarted(false, 12, false);
    history.answered(answer(3, 2, true, 1000));
    QVERIFY(history.clear().done);

    QVERIFY(history.load().book.empty());
    FactHistory restarted(path, keep, steppingClocks(now));
    QVERIFY(restarted.load().book.empty());
}

void FactHistoryTest::aSwitchThatCannotBeStoredKeepsNothing()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(FactHistoryFileName);
    MemorySwitch keep;
    keep.storable = false;
    std::int64_t now = 1'765'000'000'000;
    FactHistory history(path, keep, steppingClocks(now));
    playKnownRun(history);
    QVERIFY(!history.setKeeping(true));
    QVERIFY(!history.keeping());
    playKnownRun(history);
    QCOMPARE(attemptsOf(history.load(), 8, 7), 4);
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(FactHistoryTest)
#include "FactHistoryTest.moc"
