// Guards the database layer on SQLite and on a PostgreSQL server of the test's own: boards ranked
// as the rules rank them, a confirmation used once, repeats, holds and moderation, the server's
// values, retention, and a database from a later server left alone.
#include "server/core/Ranking.h"
#include "server/store/RecordQueue.h"
#include "server/store/Schema.h"
#include "server/store/ScoreStore.h"
#include "testing/server/TemporaryPostgres.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QtTest>
#include <thread>

namespace {

constexpr qint64 Minute = 60 * 1000;
constexpr qint64 Day = 24 * 60 * Minute;
const qint64 Now = QDateTime(QDate(2026, 7, 15), QTime(10, 0), QTimeZone(0)).toMSecsSinceEpoch();

Submission submission(const QString& name, Subject subject, int seconds)
{
    return { name, subject, seconds, QStringLiteral("15/07/2026") };
}

TokenCheck token(int number)
{
    return { TokenVerdict::Valid, QByteArray::number(number).rightJustified(16, '0'),
             Now + 10 * Minute };
}

QList<qint64> ids(const std::vector<BoardEntry>& entries)
{
    QList<qint64> found;
    for (const BoardEntry& entry : entries) {
        found.append(entry.id);
    }
    return found;
}

} // namespace

class StoreTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void ranksAsTheRulesDo_data() { backends(); }
    void ranksAsTheRulesDo();
    void usesAConfirmationOnce_data() { backends(); }
    void usesAConfirmationOnce();
    void recordsABatchAsEachAlone_data() { backends(); }
    void recordsABatchAsEachAlone();
    void takesManyThreadsAtOnce_data() { backends(); }
    void takesManyThreadsAtOnce();
    void holdsAndModerates_data() { backends(); }
    void holdsAndModerates();
    void keepsHostileTextAsTyped_data() { backends(); }
    void keepsHostileTextAsTyped();
    void agreesOnOneSecret_data() { backends(); }
    void agreesOnOneSecret();
    void forgetsWhatRetentionSays_data() { backends(); }
    void forgetsWhatRetentionSays();
    void keepsItsDataAcrossRestarts_data() { backends(); }
    void keepsItsDataAcrossRestarts();
    void leavesALaterSchemaAlone_data() { backends(); }
    void leavesALaterSchemaAlone();

private:
    void backends();
    /// A store on a database no other test case used.
    std::unique_ptr<ScoreStore> freshStore();
    std::unique_ptr<ScoreStore> open(const QString& url, const QString& connection);

    QTemporaryDir m_folder;
    std::unique_ptr<TemporaryPostgres> m_postgres;
    int m_databases = 0;
    QString m_url;
};

void StoreTest::initTestCase()
{
    QVERIFY(m_folder.isValid());
    m_postgres = std::make_unique<TemporaryPostgres>();
    QVERIFY2(m_postgres->running(), qPrintable(m_postgres->failure()));
}

void StoreTest::cleanup()
{
    m_url.clear();
}

void StoreTest::backends()
{
    QTest::addColumn<bool>("postgres");
    QTest::newRow("SQLite") << false;
    QTest::newRow("PostgreSQL") << true;
}

std::unique_ptr<ScoreStore> StoreTest::open(const QString& url, const QString& connection)
{
    const auto address = parseDatabaseUrl(url);
    if (!std::holds_alternative<DatabaseAddress>(address)) {
        qWarning() << std::get<QString>(address);
        return {};
    }
    auto opened = ScoreStore::open(std::get<DatabaseAddress>(address), connection);
    if (auto* store = std::get_if<std::unique_ptr<ScoreStore>>(&opened)) {
        return std::move(*store);
    }
    qWarning() << std::get<QString>(opened);
    return {};
}

std::unique_ptr<ScoreStore> StoreTest::freshStore()
{
    QFETCH(bool, postgres);
    const QString name = QStringLiteral("board%1").arg(++m_databases);
    m_url = postgres
        ? m_postgres->databaseUrl(name)
        : QStringLiteral("sqlite:") + m_folder.filePath(name + QStringLiteral(".sqlite"));
    return open(m_url, QStringLiteral("main"));
}

void StoreTest::ranksAsTheRulesDo()
{
    auto store = freshStore();
    QVERIFY(store);
    // Many times on few values, so that equal times and equal receipt times abound.
    QRandomGenerator random(2026);
    std::vector<BoardEntry> kept;
    for (int number = 0; number < 300; ++number) {
        const auto subject = static_cast<Subject>(random.bounded(1, 3));
        const int seconds = 60 + random.bounded(6);
        const qint64 received = Now - random.bounded(20) * Day / 2;
        const QString name = QStringLiteral("Child %1").arg(number);
        const Recorded recorded
            = store->record(submission(name, subject, seconds), received, token(number), {});
        QCOMPARE(recorded.outcome, Recorded::Outcome::Added);
        kept.push_back({ recorded.id, name, subject, seconds, received, EntryState::Shown, {} });
        if (number % 7 == 0) {
            QVERIFY(store->moderate(recorded.id, ModerationAction::Hide));
            kept.back().state = EntryState::Hidden;
        }
    }
    const QTimeZone zone(2 * 3600);
    for (const auto period : { BoardPeriod::Day, BoardPeriod::Week, BoardPeriod::AllTime }) {
        for (const auto subject : { Subject::Addition, Subject::Subtraction, Subject::Division }) {
            const auto board = store->board(subject, periodBounds(period, Now, zone), 25);
            QVERIFY(board);
            QCOMPARE(ids(*board), ids(bestTimes(kept, subject, period, Now, zone, 25)));
        }
    }
}

void StoreTest::usesAConfirmationOnce()
{
    auto store = freshStore();
    QVERIFY(store);
    const Submission ann = submission(QStringLiteral("Ann"), Subject::Multiplication, 167);
    const Recorded first = store->record(ann, Now, token(1), {});
    QCOMPARE(first.outcome, Recorded::Outcome::Added);
    QCOMPARE(store->record(ann, Now + Minute, token(1), {}).outcome, Recorded::Outcome::Replayed);

    // The same time sent again with a new confirmation counts once, also when hidden meanwhile.
    QVERIFY(store->moderate(first.id, ModerationAction::Hide));
    const Recorded again = store->record(ann, Now + 2 * Minute, token(2), {});
    QCOMPARE(again.outcome, Recorded::Outcome::Repeat);
    QCOMPARE(again.id, first.id);
    QCOMPARE(again.state, EntryState::Hidden);
    // An anonymous time repeats like any other.
    const Submission anonymous = submission({}, Subject::Multiplication, 170);
    QCOMPARE(store->record(anonymous, Now + 3 * Minute, token(3), {}).outcome,
             Recorded::Outcome::Added);
    QCOMPARE(store->record(anonymous, Now + 4 * Minute, token(4), {}).outcome,
             Recorded::Outcome::Repeat);

    // A second connection, as another server process has, sees the nonce used.
    auto other = open(m_url, QStringLiteral("other"));
    QVERIFY(other);
    QCOMPARE(other->record(ann, Now + 5 * Minute, token(3), {}).outcome,
             Recorded::Outcome::Replayed);
    QCOMPARE(other->latest(10, false)->size(), std::size_t(2));
}

void StoreTest::recordsABatchAsEachAlone()
{
    auto store = freshStore();
    QVERIFY(store);
    const Submission ann = submission(QStringLiteral("Ann"), Subject::Multiplication, 167);
    const Submission bo = submission(QStringLiteral("Bo"), Subject::Multiplication, 150);
    const std::vector<PendingRecord> batch {
        { ann, Now, token(1), {} },
        { ann, Now, token(2), {} }, // a double click: the same time with a second form
        { bo, Now, token(1), {} }, // a form used a moment ago
        { bo, Now, token(3), {} },
    };
    const std::vector<Recorded> recorded = store->recordAll(batch);
    QCOMPARE(recorded.size(), std::size_t(4));
    QCOMPARE(recorded[0].outcome, Recorded::Outcome::Added);
    QCOMPARE(recorded[1].outcome, Recorded::Outcome::Repeat);
    QCOMPARE(recorded[1].id, recorded[0].id);
    QCOMPARE(recorded[2].outcome, Recorded::Outcome::Replayed);
    QCOMPARE(recorded[3].outcome, Recorded::Outcome::Added);
    QCOMPARE(ids(*store->latest(10, false)), (QList<qint64> { recorded[3].id, recorded[0].id }));
}

void StoreTest::takesManyThreadsAtOnce()
{
    QVERIFY(freshStore());
    RecordQueue queue(std::get<DatabaseAddress>(parseDatabaseUrl(m_url)));
    constexpr int Threads = 8;
    constexpr int Each = 40;
    std::vector<std::vector<Recorded>> results(Threads);
    std::vector<std::thread> threads;
    for (int thread = 0; thread < Threads; ++thread) {
        threads.emplace_back([&, thread] {
            for (int number = 0; number < Each; ++number) {
                const int child = thread * Each + number;
                results[std::size_t(thread)].push_back(queue.record(
                    { submission(QStringLiteral("Child %1").arg(child), Subject::Addition, 100),
                      Now,
                      token(child),
                      {} }));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    QSet<qint64> distinct;
    for (const auto& recorded : results) {
        for (const Recorded& each : recorded) {
            QCOMPARE(each.outcome, Recorded::Outcome::Added);
            distinct.insert(each.id);
        }
    }
    QCOMPARE(distinct.size(), Threads * Each);
    auto store = open(m_url, QStringLiteral("count"));
    QCOMPARE(store->latest(1000, false)->size(), std::size_t(Threads * Each));
}

void StoreTest::holdsAndModerates()
{
    auto store = freshStore();
    QVERIFY(store);
    ModerationSettings school;
    school.holdNewNames = true;
    const Recorded ann = store->record(submission(QStringLiteral("Ann"), Subject::Addition, 90),
                                       Now, token(1), school);
    const Recorded anonymous
        = store->record(submission({}, Subject::Addition, 95), Now, token(2), school);
    const Recorded fast
        = store->record(submission({}, Subject::Addition, 59), Now, token(3), school);
    QCOMPARE(ann.state, EntryState::Held);
    QCOMPARE(anonymous.state, EntryState::Shown);
    QVERIFY2(fast.outcome == Recorded::Outcome::Added, qPrintable(store->lastError()));
    QCOMPARE(fast.state, EntryState::Held);
    const auto allTime = periodBounds(BoardPeriod::AllTime, Now, QTimeZone(0));
    QCOMPARE(ids(*store->board(Subject::Addition, allTime, 10)), QList<qint64> { anonymous.id });
    QCOMPARE(ids(*store->latest(10, true)), (QList<qint64> { fast.id, ann.id }));

    // Approving Ann's time approves her name, whatever its case, for her next times.
    QVERIFY(store->moderate(ann.id, ModerationAction::Approve));
    QCOMPARE(store
                 ->record(submission(QStringLiteral("ANN"), Subject::Addition, 88), Now, token(4),
                          school)
                 .state,
             EntryState::Shown);
    QVERIFY(store->moderate(fast.id, ModerationAction::Delete));
    QVERIFY(!store->entry(fast.id));
    QVERIFY(!store->moderate(fast.id, ModerationAction::Approve));
    QCOMPARE(store->board(Subject::Addition, allTime, 10)->size(), std::size_t(3));
}

void StoreTest::keepsHostileTextAsTyped()
{
    auto store = freshStore();
    QVERIFY(store);
    const QString name = QStringLiteral("Ann'); DROP TABLE entries;--");
    Submission hostile = submission(name, Subject::Division, 100);
    hostile.date = QStringLiteral("\"%s\\0 \U0001F469\u200D\U0001F467");
    const Recorded recorded = store->record(hostile, Now, token(1), {});
    QCOMPARE(recorded.outcome, Recorded::Outcome::Added);
    const auto entry = store->entry(recorded.id);
    QVERIFY(entry);
    QCOMPARE(entry->name, name);
    QCOMPARE(entry->date, hostile.date);
    QCOMPARE(entry->subject, Subject::Division);
    QCOMPARE(entry->receivedUtcMs, Now);
}

void StoreTest::agreesOnOneSecret()
{
    auto store = freshStore();
    QVERIFY(store);
    auto other = open(m_url, QStringLiteral("other"));
    QVERIFY(other);
    QCOMPARE(store->valueOrSet(QStringLiteral("secret"), QStringLiteral("first")),
             QStringLiteral("first"));
    QCOMPARE(other->valueOrSet(QStringLiteral("secret"), QStringLiteral("second")),
             QStringLiteral("first"));
    QVERIFY(other->setValue(QStringLiteral("secret"), QStringLiteral("third")));
    QCOMPARE(store->value(QStringLiteral("secret")), QStringLiteral("third"));
}

void StoreTest::forgetsWhatRetentionSays()
{
    auto store = freshStore();
    QVERIFY(store);
    const auto old = store->record(submission(QStringLiteral("Old"), Subject::Addition, 90),
                                   Now - 40 * Day, token(1), {});
    const auto recent = store->record(submission(QStringLiteral("New"), Subject::Addition, 90),
                                      Now - 20 * Day, token(2), {});
    QCOMPARE(store->forgetReceivedBefore(Now - 30 * Day), 1);
    QVERIFY(!store->entry(old.id));
    QVERIFY(store->entry(recent.id));
}

void StoreTest::keepsItsDataAcrossRestarts()
{
    qint64 id = 0;
    {
        auto store = freshStore();
        QVERIFY(store);
        id = store
                 ->record(submission(QStringLiteral("Ann"), Subject::Addition, 90), Now, token(1),
                          {})
                 .id;
    }
    auto reopened = open(m_url, QStringLiteral("again"));
    QVERIFY(reopened);
    QVERIFY(reopened->entry(id));
    QCOMPARE(
        reopened->record(submission(QStringLiteral("Bo"), Subject::Addition, 90), Now, token(2), {})
            .id,
        id + 1);
}

void StoreTest::leavesALaterSchemaAlone()
{
    {
        auto store = freshStore();
        QVERIFY(store);
        QSqlQuery query(QSqlDatabase::database(QStringLiteral("main")));
        QVERIFY(query.exec(
            QStringLiteral("UPDATE sumdash_schema SET version = %1").arg(SchemaVersion + 1)));
    }
    const auto opened = ScoreStore::open(std::get<DatabaseAddress>(parseDatabaseUrl(m_url)),
                                         QStringLiteral("again"));
    QVERIFY(std::holds_alternative<QString>(opened));
    QVERIFY2(std::get<QString>(opened).contains(QStringLiteral("later version")),
             qPrintable(std::get<QString>(opened)));
}

QTEST_GUILESS_MAIN(StoreTest)
#include "StoreTest.moc"
