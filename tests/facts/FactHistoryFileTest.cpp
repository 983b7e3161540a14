// Guards the fact history file against a real database in a temporary folder: what is kept reads
// back as the fact book would hold it, older and foreign files, damaged files, and folders and
// files the account may not change.
#include "facts/FactHistoryFile.h"

#include "facts/FactSummary.h"
#include "tests/facts/FactHistoryTesting.h"
#include "tests/support/PermissionBitsEnforced.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace FactHistoryTesting;

namespace {

constexpr std::int64_t Day = 24 * 3600 * 1000;
/// 2026-03-02 08:00 UTC: runs of a test begin here.
constexpr std::int64_t MorningMs = 1772438400000;

/// A history whose days are UTC days, whatever the zone of the computer running the test.
std::unique_ptr<FactHistoryFile> utcHistory(const QString& path)
{
    return std::make_unique<FactHistoryFile>(path, [](std::int64_t) { return 0; });
}

bool changeMode(const QString& path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
}

/// Keeps `runs` random runs and returns all their answers, oldest first.
std::vector<FactAttempt> keepRandomRuns(FactHistoryFile& history, int runs, quint32 seed,
                                        std::int64_t startMs = MorningMs)
{
    QRandomGenerator random(seed);
    std::vector<FactAttempt> all;
    for (int run = 1; run <= runs; ++run) {
        const std::vector<FactAttempt> attempts
            = randomRun(random, run, 60, startMs + run * 3600 * 1000);
        const FactHistoryOutcome outcome = history.appendRun(attempts);
        if (!outcome.ok() || !outcome.done) {
            qWarning("run %d not kept: %s", run, qPrintable(outcome.detail));
            return {};
        }
        all.insert(all.end(), attempts.begin(), attempts.end());
    }
    return all;
}

} // namespace

class FactHistoryFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }
    void nothingIsMadeBeforeARunIsKept();
    void keptAnswersReadBackAsTheFactBookHoldsThem();
    void fewerLatestAnswersWhenAsked();
    void runsSurviveReopening();
    void everyFieldOfAnAnswerIsKept();
    void knownCountsByDay();
    void fileWithNoTablesIsBroughtUpToDate();
    void historyOfANewerGameIsLeftAlone();
    void damagedFileIsPutAside_data();
    void damagedFileIsPutAside();
    void damagedFileFoundWhileKeepingARun();
    void folderTheAccountMayNotChange();
    void folderThatIsAFile();
    void readOnlyFile();
    void clearForgetsEveryAnswer();
    void removeFileLeavesNothing();
    void everyProblemHasItsOwnMessage();
};

void FactHistoryFileTest::nothingIsMadeBeforeARunIsKept()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data/") + FactHistoryFileName);
    FactHistoryFile history(path);
    const FactHistoryLoad load = history.loadRecent();
    QVERIFY(load.outcome.ok());
    QVERIFY(load.outcome.done);
    QVERIFY(load.records.empty());
    QVERIFY(history.appendRun({}).done);
    QVERIFY(history.clear().done);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("data"))));

    QRandomGenerator random(7);
    QVERIFY(history.appendRun(randomRun(random, 1, 10, MorningMs)).ok());
    QVERIFY(QFileInfo::exists(path));
}

void FactHistoryFileTest::keptAnswersReadBackAsTheFactBookHoldsThem()
{
    QTemporaryDir dir;
    const auto history = utcHistory(dir.filePath(FactHistoryFileName));
    const std::vector<FactAttempt> all = keepRandomRuns(*history, 40, 11);
    QVERIFY(!all.empty());

    const FactHistoryLoad load = history->loadRecent();
    QVERIFY2(load.outcome.ok(), qPrintable(load.outcome.detail));
    const FactBook book = bookOf(all);
    QCOMPARE(recordsText(load.records), recordsText(book.records()));
    // The runs are long enough that facts have more answers than are shown, and answers left
    // alone for over a minute between the judged ones.
    const auto busiest = std::max_element(
        load.records.begin(), load.records.end(),
        [](const auto& a, const auto& b) { return a.second.attempts < b.second.attempts; });
    QVERIFY(busiest->second.attempts > static_cast<int>(FactRecord::RecentKept));
}

void FactHistoryFileTest::fewerLatestAnswersWhenAsked()
{
    QTemporaryDir dir;
    const auto history = utcHistory(dir.filePath(FactHistoryFileName));
    const std::vector<FactAttempt> all = keepRandomRuns(*history, 20, 12);
    const FactBook book = bookOf(all);

    const FactHistoryLoad load = history->loadRecent(2);
    QVERIFY(load.outcome.ok());
    QCOMPARE(load.records.size(), book.records().size());
    for (const auto& [fact, record] : book.records()) {
        const FactRecord& read = load.records.at(fact);
        std::vector<FactAnswer> latest = record.recent;
        latest.resize(std::min<std::size_t>(latest.size(), 2));
        QCOMPARE(answersText(read.recent), answersText(latest));
        QCOMPARE(answersText(read.judged), answersText(record.judged));
        QCOMPARE(read.attempts, record.attempts);
    }
}

void FactHistoryFileTest::runsSurviveReopening()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(FactHistoryFileName);
    std::vector<FactAttempt> all = keepRandomRuns(*utcHistory(path), 5, 13);
    {
        const auto later = utcHistory(path);
        const std::vector<FactAttempt> more = keepRandomRuns(*later, 5, 14, MorningMs + Day);
        all.insert(all.end(), more.begin(), more.end());
    }
    const FactHistoryLoad load = utcHistory(path)->loadRecent();
    QVERIFY(load.outcome.ok());
    QCOMPARE(recordsText(load.records), recordsText(bookOf(all).records()));

    const RawDatabase raw(path);
    QCOMPARE(raw.single(QStringLiteral("SELECT count(*) FROM runs")), QStringLiteral("10"));
    QCOMPARE(raw.single(QStringLiteral("SELECT count(*) FROM answers")),
             QString::number(all.size()));
    QCOMPARE(raw.single(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
}

void FactHistoryFileTest::everyFieldOfAnAnswerIsKept()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(FactHistoryFileName);
    FactAttempt first;
    first.whenUtcMs = MorningMs + 4321;
    first.run = { 77, true, 9, false };
    first.fact = { FactOperation::Divide, 56, 8 };
    first.expected = 7;
    first.typed = "1";
    first.right = false;
    first.attempt = 1;
    first.msToFirstDigit = 1234;
    first.msToEnter = 2345;
    FactAttempt second = first;
    second.whenUtcMs += 3000;
    second.typed = "7";
    second.right = true;
    second.attempt = 2;
    second.msToFirstDigit = 800;
    second.msToEnter = 900;
    FactAttempt other = first;
    other.run = { 78, false, 12, true };
    other.fact = { FactOperation::Subtract, 12, 0 };
    other.expected = 12;
    other.typed = "12";
    other.right = true;
    QVERIFY(utcHistory(path)->appendRun({ first, second, other }).ok());

    const RawDatabase raw(path);
    QCOMPARE(raw.column(QStringLiteral(
                 "SELECT r.id || ' ' || r.timed || ' ' || r.max_operand || ' ' || r.only_correct"
                 " || ' ' || r.started_utc || ' | ' || a.when_utc_ms || ' ' || a.op || ' '"
                 " || a.top || ' ' || a.bottom || ' ' || a.expected || ' ' || a.typed || ' '"
                 " || a.is_right || ' ' || a.attempt || ' ' || a.ms_to_first_digit || ' '"
                 " || a.ms_to_enter FROM answers AS a JOIN runs AS r ON r.id = a.run_id"
                 " ORDER BY a.id")),
             QStringList({
                 QStringLiteral("1 1 9 0 %1 | %2 3 56 8 7 1 0 1 1234 2345")
                     .arg(first.whenUtcMs - first.msToEnter)
                     .arg(first.whenUtcMs),
                 QStringLiteral("1 1 9 0 %1 | %2 3 56 8 7 7 1 2 800 900")
                     .arg(first.whenUtcMs - first.msToEnter)
                     .arg(second.whenUtcMs),
                 QStringLiteral("2 0 12 1 %1 | %2 1 12 0 12 12 1 1 1234 2345")
                     .arg(other.whenUtcMs - other.msToEnter)
                     .arg(other.whenUtcMs),
             }));
    // Totals count every answer and, apart, first answers: the fact book counts only those.
    QCOMPARE(raw.column(QStringLiteral("SELECT op || ' ' || top || ' ' || bottom || ' ' || "
                                       "first_answers || ' ' || first_right || ' ' || answers "
                                       "|| ' ' || right_answers FROM fact_totals"
                                       " ORDER BY op, top, bottom")),
             QStringList({ QStringLiteral("1 12 0 1 1 1 1"), QStringLiteral("3 56 8 1 0 2 1") }));
}

void FactHistoryFileTest::knownCountsByDay()
{
    // Each run within one day: the chart's counts are those the summary makes from every answer.
    QTemporaryDir dir;
    const QString path = dir.filePath(FactHistoryFileName);
    const auto history = utcHistory(path);
    QRandomGenerator random(15);
    std::vector<FactAttempt> all;
    for (int run = 0; run < 24; ++run) {
        // Three runs a day from 08:00, two days in three.
        const int day = run / 3 + run / 6;
        const std::int64_t start = MorningMs + day * Day + (run % 3) * 3600 * 1000;
        const std::vector<FactAttempt> attempts = randomRun(random, run + 1, 150, start);
        QVERIFY(history->appendRun(attempts).ok());
        all.insert(all.end(), attempts.begin(), attempts.end());
    }
    const FactHistoryLoad load = history->loadRecent();
    QVERIFY(load.outcome.ok());
    for (const FactOperation operation : AllFactOperations) {
        QStringList expected;
        for (const DayKnown& day : knownByDay(all, operation, 0)) {
            expected << QStringLiteral("%1: %2").arg(day.day).arg(day.known);
        }
        QStringList read;
        for (const DayKnown& day : load.knownByDay.at(operation)) {
            read << QStringLiteral("%1: %2").arg(day.day).arg(day.known);
        }
        QCOMPARE(read, expected);
        QVERIFY(expected.size() > 5);
    }
}

void FactHistoryFileTest::fileWithNoTablesIsBroughtUpToDate()
{
    // A database with no tables of ours (version 0), in the rollback journal: it is given the
    // tables and the write-ahead log and keeps runs.
    QTemporaryDir dir;
    const QString path = dir.filePath(FactHistoryFileName);
    {
        const RawDatabase raw(path);
        QCOMPARE(raw.single(QStringLiteral("PRAGMA journal_mode = DELETE")),
                 QStringLiteral("delete"));
        QCOMPARE(raw.single(QStringLiteral("PRAGMA user_version")), QStringLiteral("0"));
        QCOMPARE(raw.single(QStringLiteral("CREATE TABLE notes (text TEXT)")), QString());
    }
    std::vector<FactAttempt> all = keepRandomRuns(*utcHistory(path), 3, 16);
    QVERIFY(!all.empty());
    const FactHistoryLoad load = utcHistory(path)->loadRecent();
    QVERIFY(load.outcome.ok());
    QCOMPARE(recordsText(load.records), recordsText(bookOf(all).records()));

    const RawDatabase raw(path);
    QCOMPARE(raw.single(QStringLiteral("PRAGMA user_version")), QStringLiteral("1"));
    QCOMPARE(raw.single(QStringLiteral("PRAGMA journal_mode")), QStringLiteral("wal"));
    QCOMPARE(raw.single(QStringLiteral("SELECT count(*) FROM notes")), QStringLiteral("0"));
}

void FactHistoryFileTest::historyOfANewerGameIsLeftAlone()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(FactHistoryFileName);
    {
        const RawDatabase raw(path);
        QCOMPARE(raw.single(QStringLiteral("CREATE TABLE answers (later TEXT)")), QString());
        QCOMPARE(raw.single(QStringLiteral("PRAGMA user_version = 7")), QString());
    }
    const QByteArray before = fileBytes(path);
    FactHistoryFile history(path);
    QRandomGenerator random(17);
    const FactHistoryOutcome outcome = history.appendRun(randomRun(random, 1, 5, MorningMs));
    QCOMPARE(outcome.problem, FactHistoryProblem::CannotOpen);
    QVERIFY(!outcome.done);
    QCOMPARE(history.loadRecent().outcome.problem, FactHistoryProblem::CannotOpen);
    history.close();
    QCOMPARE(fileBytes(path), before);
    QCOMPARE(entriesOf(dir.path()), QStringList { FactHistoryFileName });
}

void FactHistoryFileTest::damagedFileIsPutAside_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("random bytes") << "random";
    QTest::newRow("truncated database") << "truncated";
    QTest::newRow("list of tables overwritten") << "overwritten";
    QTest::newRow("tables of another program") << "foreign";
}

void FactHistoryFileTest::damagedFileIsPutAside()
{
    QFETCH(QString, damage);
    QTemporaryDir dir;
    const QString path = dir.filePath(FactHistoryFileName);
    if (damage == QLatin1String("random")) {
        QByteArray bytes(64 * 1024, Qt::Uninitialized);
        QRandomGenerator(18).fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
        QVERIFY(writeBytes(path, bytes));
    } else if (damage == QLatin1String("foreign")) {
        const RawDatabase raw(path);
        QCOMPARE(raw.single(QStringLiteral("CREATE TABLE runs (name TEXT, miles REAL)")),
                 QString());
    } else {
        QVERIFY(!keepRandomRuns(*utcHistory(path), 30, 19).empty());
        QByteArray bytes = fileBytes(path);
        QVERIFY(bytes.size() > 64 * 1024);
        if (damage == QLatin1String("truncated")) {
            bytes.truncate(bytes.size() / 2);
        } else {
            // The first page after the file's header: the list of tables.
            bytes.replace(100, 4096 - 100, QByteArray(4096 - 100, '\x5a'));
        }
        QVERIFY(writeBytes(path, bytes));
    }
    const QByteArray damaged = fileBytes(path);

    FactHistoryFile history(path);
    const FactHistoryLoad load = history.loadRecent();
    QCOMPARE(load.outcome.problem, FactHistoryProblem::Damaged);
    QVERIFY(load.outcome.done);
    QVERIFY(load.records.empty());
    QVERIFY(load.outcome.setAsidePath.startsWith(path + QStringLiteral(".damaged-")));
    QCOMPARE(fileBytes(load.outcome.setAsidePath), damaged);
    QVERIFY(
        factHistoryMessage(load.outcome).contains(QFileInfo(load.outcome.setAsidePath).fileName()));

    // The fresh history keeps runs as usual.
    QRandomGenerator random(20);
    const std::vector<FactAttempt> run = randomRun(random, 1, 30, MorningMs);
    QVERIFY(history.appendRun(run).ok());
    QCOMPARE(recordsText(history.loadRecent().records), recordsText(bookOf(run).records()));
    history.close();
    QCOMPARE(entriesOf(dir.path()),
             QStringList({ FactHistoryFileName, QFileInfo(load.outcome.setAsidePath).fileName() }));
}

void FactHistoryFileTest::damagedFileFoundWhileKeepingARun()
{
    // The run that finds the damage is kept in the fresh history.
    QTemporaryDir dir;
    const QString path = dir.filePath(FactHistoryFileName);
    QVERIFY(writeBytes(path, QByteArray(8192, '\x01')));
    FactHistoryFile history(path);
    QRandomGenerator random(21);
    const std::vector<FactAttempt> run = randomRun(random, 1, 30, MorningMs);
    const FactHistoryOutcome outcome = history.appendRun(run);
    QCOMPARE(outcome.problem, FactHistoryProblem::Damaged);
    QVERIFY(outcome.done);
    QCOMPARE(fileBytes(outcome.setAsidePath), QByteArray(8192, '\x01'));
    QCOMPARE(recordsText(history.loadRecent().records), recordsText(bookOf(run).records()));
}

void FactHistoryFileTest::folderTheAccountMayNotChange()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QLatin1Char('/') + FactHistoryFileName;
    QRandomGenerator random(22);
    FactHistoryOutcome outcome;
    {
        const auto restore = qScopeGuard([&] { changeMode(folder, 0700); });
        QVERIFY(changeMode(folder, 0500));
        const PermissionBitsEnforced enforced;
        QVERIFY(enforced.inForce());
        FactHistoryFile history(path);
        outcome = history.appendRun(randomRun(random, 1, 5, MorningMs));
    }
    QCOMPARE(outcome.problem, FactHistoryProblem::CannotOpen);
    QVERIFY(!outcome.done);
    QVERIFY(factHistoryMessage(outcome).contains(QDir::toNativeSeparators(path)));
    QCOMPARE(entriesOf(folder), QStringList());
}

void FactHistoryFileTest::folderThatIsAFile()
{
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("data")), "not a folder"));
    FactHistoryFile history(dir.filePath(QStringLiteral("data/") + FactHistoryFileName));
    QRandomGenerator random(23);
    QCOMPARE(history.appendRun(randomRun(random, 1, 5, MorningMs)).problem,
             FactHistoryProblem::CannotOpen);
    QCOMPARE(fileBytes(dir.filePath(QStringLiteral("data"))), QByteArray("not a folder"));
}

void FactHistoryFileTest::readOnlyFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(FactHistoryFileName);
    const std::vector<FactAttempt> kept = keepRandomRuns(*utcHistory(path), 3, 24);
    const QByteArray before = fileBytes(path);
    FactHistoryOutcome outcome;
    {
        const auto restore = qScopeGuard([&] { changeMode(path, 0600); });
        QVERIFY(changeMode(path, 0444));
        const PermissionBitsEnforced enforced;
        QVERIFY(enforced.inForce());
        const auto history = utcHistory(path);
        QRandomGenerator random(25);
        outcome = history->appendRun(randomRun(random, 9, 5, MorningMs + Day));
    }
    QCOMPARE(outcome.problem, FactHistoryProblem::CannotOpen);
    QCOMPARE(fileBytes(path), before);
    QCOMPARE(recordsText(utcHistory(path)->loadRecent().records),
             recordsText(bookOf(kept).records()));
}

void FactHistoryFileTest::clearForgetsEveryAnswer()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(FactHistoryFileName);
    const auto history = utcHistory(path);
    QVERIFY(!keepRandomRuns(*history, 30, 26).empty());
    FactAttempt marked;
    marked.run.id = 99;
    marked.typed = "918273645";
    QVERIFY(history->appendRun({ marked }).ok());
    const qint64 sizeBefore
        = QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size();

    const FactHistoryOutcome outcome = history->clear();
    QVERIFY(outcome.ok());
    QVERIFY(outcome.done);
    const FactHistoryLoad load = history->loadRecent();
    QVERIFY(load.records.empty());
    QVERIFY(load.knownByDay.empty());
    history->close();
    // Gone from the file itself, not just from the tables.
    QVERIFY(QFileInfo(path).size() < sizeBefore);
    QVERIFY(!fileBytes(path).contains("918273645"));
    QVERIFY(!fileBytes(path + QStringLiteral("-wal")).contains("918273645"));

    QRandomGenerator random(27);
    const std::vector<FactAttempt> run = randomRun(random, 1, 20, MorningMs);
    QVERIFY(history->appendRun(run).ok());
    QCOMPARE(recordsText(history->loadRecent().records), recordsText(bookOf(run).records()));
}

void FactHistoryFileTest::removeFileLeavesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(FactHistoryFileName);
    const auto history = utcHistory(path);
    QVERIFY(!keepRandomRuns(*history, 3, 28).empty());
    QVERIFY(QFileInfo::exists(path + QStringLiteral("-wal")));
    const FactHistoryOutcome outcome = history->removeFile();
    QVERIFY(outcome.ok());
    QVERIFY(outcome.done);
    QCOMPARE(entriesOf(dir.path()), QStringList());
    QVERIFY(history->loadRecent().records.empty());
    QCOMPARE(entriesOf(dir.path()), QStringList());
}

void FactHistoryFileTest::everyProblemHasItsOwnMessage()
{
    QSet<QString> messages;
    for (const FactHistoryProblem problem :
         { FactHistoryProblem::CannotOpen, FactHistoryProblem::Damaged,
           FactHistoryProblem::DiskFull }) {
        const QString message = factHistoryMessage(
            { problem, false, QStringLiteral("/x/h"), QStringLiteral("/x/h.damaged-1"), {} });
        QVERIFY(!message.isEmpty());
        messages.insert(message);
    }
    QCOMPARE(messages.size(), 3);
    QVERIFY(factHistoryMessage({}).isEmpty());
}

QTEST_GUILESS_MAIN(FactHistoryFileTest)
#include "FactHistoryFileTest.moc"
