// Guards the boards: which entries a day, a week and all time show, in which order; which new
// times wait for a moderator; what moderators can do; and that a time sent twice counts once.
#include "server/core/Moderation.h"
#include "server/core/Ranking.h"
#include "server/core/Repeats.h"

#include <QtTest>

Q_DECLARE_METATYPE(BoardPeriod)
Q_DECLARE_METATYPE(EntryState)

namespace {

const QTimeZone Zone(2 * 3600); // the board's calendar: two hours ahead of UTC all year
constexpr qint64 Minute = 60 * 1000;
constexpr auto Mul = Subject::Multiplication;
constexpr auto Shown = EntryState::Shown;

qint64 local(int day, int hour, int minute)
{
    return QDateTime(QDate(2026, 7, day), QTime(hour, minute), Zone).toMSecsSinceEpoch();
}

const qint64 Now = local(15, 10, 0); // Wednesday 15 July 2026, 10:00 on the board's clock

const std::vector<BoardEntry> Entries {
    { 1, "Ann", Mul, 100, local(15, 9, 0), Shown, {} },
    { 2, "Bo", Mul, 90, local(15, 0, 30), Shown, {} }, // still the 14th in UTC
    { 3, "Cy", Mul, 90, local(15, 0, 10), Shown, {} },
    { 4, "Di", Mul, 80, local(14, 23, 59), Shown, {} },
    { 5, "Ed", Mul, 70, local(13, 0, 0), Shown, {} }, // Monday
    { 6, "Flo", Mul, 60, local(12, 23, 59), Shown, {} }, // Sunday
    { 7, "Gus", Mul, 50, local(15, 9, 30), EntryState::Held, {} },
    { 8, "Hal", Mul, 50, local(15, 9, 30), EntryState::Hidden, {} },
    { 9, "Ivy", Subject::Division, 40, local(15, 9, 30), Shown, {} },
    { 11, "Jo", Mul, 100, local(15, 8, 0), Shown, {} },
    { 10, "Kai", Mul, 100, local(15, 8, 0), Shown, {} },
    { 12, "Lu", Mul, 170, local(16, 0, 0), Shown, {} }, // Thursday
};

} // namespace

class BoardTest : public QObject
{
    Q_OBJECT

private slots:
    void ranks_data();
    void ranks();
    void weeksFollowTheZone();
    void holdsNewEntries();
    void moderates();
    void countsRepeatsOnce();
};

void BoardTest::ranks_data()
{
    QTest::addColumn<BoardPeriod>("period");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QList<qint64>>("ids");

    // Equal times: the one received first, then the lower id.
    QTest::newRow("day") << BoardPeriod::Day << 10 << QList<qint64> { 3, 2, 10, 11, 1 };
    QTest::newRow("day, top three") << BoardPeriod::Day << 3 << QList<qint64> { 3, 2, 10 };
    QTest::newRow("week from Monday")
        << BoardPeriod::Week << 10 << QList<qint64> { 5, 4, 3, 2, 10, 11, 1, 12 };
    QTest::newRow("all time") << BoardPeriod::AllTime << 20
                              << QList<qint64> { 6, 5, 4, 3, 2, 10, 11, 1, 12 };
}

void BoardTest::ranks()
{
    QFETCH(BoardPeriod, period);
    QFETCH(int, limit);
    QFETCH(QList<qint64>, ids);
    QList<qint64> board;
    for (const BoardEntry& entry : bestTimes(Entries, Mul, period, Now, Zone, std::size_t(limit))) {
        board.append(entry.id);
    }
    QCOMPARE(board, ids);
}

void BoardTest::weeksFollowTheZone()
{
    // Sunday 23:30 UTC is already Monday in a zone twelve hours ahead: its week begins there.
    const qint64 sunday = QDateTime(QDate(2026, 7, 12), QTime(23, 30), Qt::UTC).toMSecsSinceEpoch();
    QCOMPARE(periodBounds(BoardPeriod::Week, sunday, QTimeZone(12 * 3600)).first,
             QDateTime(QDate(2026, 7, 13), QTime(0, 0), QTimeZone(12 * 3600)).toMSecsSinceEpoch());
    QCOMPARE(periodBounds(BoardPeriod::Week, sunday, QTimeZone::utc()).first,
             QDateTime(QDate(2026, 7, 6), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch());
}

void BoardTest::holdsNewEntries()
{
    const auto state = [](bool holdNewNames, const QString& name, bool approvedBefore,
                          int seconds) {
        ModerationSettings settings;
        settings.holdNewNames = holdNewNames;
        return initialState({ name, Subject::Addition, seconds, "" }, settings, approvedBefore);
    };
    QCOMPARE(state(false, "Ann", false, 75), Shown);
    QCOMPARE(state(false, "Ann", true, 60), Shown); // on the floor
    QCOMPARE(state(false, "Ann", true, 59), EntryState::Held);
    QCOMPARE(state(true, "Ann", false, 75), EntryState::Held);
    QCOMPARE(state(true, "Ann", true, 75), Shown);
    QCOMPARE(state(true, "", false, 75), Shown); // anonymous: no name to approve
}

void BoardTest::moderates()
{
    using enum ModerationAction;
    QCOMPARE(stateAfter(EntryState::Held, Approve), Shown);
    QCOMPARE(stateAfter(EntryState::Hidden, Approve), Shown);
    QCOMPARE(stateAfter(EntryState::Held, Hide), EntryState::Hidden);
    QCOMPARE(stateAfter(Shown, Hide), EntryState::Hidden);
    QCOMPARE(stateAfter(Shown, Delete), std::nullopt);
    // Approving a named entry approves its name, whatever its case.
    QCOMPARE(nameApprovedBy(Entries[0], Approve), nameApprovalKey("ANN"));
    QCOMPARE(nameApprovedBy(Entries[0], Hide), std::nullopt);
    QCOMPARE(nameApprovedBy({ 1, "", Mul, 75, 0, EntryState::Held, {} }, Approve), std::nullopt);
}

void BoardTest::countsRepeatsOnce()
{
    const std::vector<BoardEntry> recent {
        { 1, "Ann", Mul, 75, Now, Shown, {} },
        { 2, "Bo", Mul, 75, Now, EntryState::Hidden, {} },
        { 3, "", Mul, 90, Now, EntryState::Held, {} },
    };
    const auto repeated = [&](const QString& name, Subject subject, int seconds, qint64 at) {
        return repeatedEntry({ name, subject, seconds, "" }, at, recent);
    };
    QCOMPARE(repeated("Ann", Mul, 75, Now + Minute), 1);
    QCOMPARE(repeated("Ann", Mul, 75, Now + 10 * Minute - 1), 1);
    QCOMPARE(repeated("Ann", Mul, 75, Now + 10 * Minute), std::nullopt);
    QCOMPARE(repeated("Ann", Mul, 74, Now + Minute), std::nullopt);
    QCOMPARE(repeated("Ann", Subject::Division, 75, Now + Minute), std::nullopt);
    QCOMPARE(repeated("Anne", Mul, 75, Now + Minute), std::nullopt);
    QCOMPARE(repeated("Bo", Mul, 75, Now + Minute), 2); // a hidden one does not come back
    QCOMPARE(repeated("", Mul, 90, Now + Minute), 3);
}

QTEST_APPLESS_MAIN(BoardTest)
#include "BoardTest.moc"
