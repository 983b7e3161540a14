// Guards the fact book, the summary under the grid and the practice deck built from them.
#include "facts/FactSummary.h"

#include "engine/ClockSeededRandom.h"
#include "facts/FactGrid.h"
#include "facts/PracticeDeck.h"

#include <QtTest>
#include <map>

namespace {

constexpr std::int64_t Day = 24 * 3600 * 1000;

FactKey times(int top, int bottom)
{
    return { FactOperation::Multiply, static_cast<std::int16_t>(top),
             static_cast<std::int16_t>(bottom) };
}

FactAttempt answer(const FactKey& fact, bool right, std::int32_t ms, std::int64_t when = 0)
{
    FactAttempt attempt;
    attempt.whenUtcMs = when;
    attempt.fact = fact;
    attempt.right = right;
    attempt.msToEnter = ms;
    return attempt;
}

// The same answer, three times over.
void answerThrice(FactBook& book, const FactKey& fact, bool right, std::int32_t ms)
{
    for (int i = 0; i < 3; ++i) {
        book.add(answer(fact, right, ms));
    }
}

} // namespace

class FactSummaryTest : public QObject
{
    Q_OBJECT

private slots:
    void bookKeepsTheLatestAnswers();
    void mergeTakesNewerAnswersFirst();
    void practiseNextAndKnown();
    void knownByLocalDay();
    void deckIsEmptyWithNothingToPractise();
    void deckDrawsWorkWeightedAndSomeKnown();
};

void FactSummaryTest::bookKeepsTheLatestAnswers()
{
    FactBook book;
    for (int i = 1; i <= 7; ++i) {
        book.add(answer(times(8, 7), i % 2 == 0, 1000 * i, i));
    }
    book.add(answer(times(13, 2), true, 1000));
    FactAttempt retype = answer(times(8, 7), true, 1000, 8); // a retype is not a new try
    retype.attempt = 2;
    book.add(retype);
    const FactRecord* record = book.find(times(8, 7));
    QVERIFY(record != nullptr);
    QCOMPARE(record->attempts, 7);
    QCOMPARE(record->right, 3);
    QCOMPARE(int(record->recent.size()), 5);
    QCOMPARE(record->recent.front().whenUtcMs, 7);
    QCOMPARE(record->recent.back().whenUtcMs, 3);
    QCOMPARE(book.verdict(times(6, 6)).state, FactState::NotYet);
    QCOMPARE(book.extraFacts(), std::vector { times(13, 2) });
}

void FactSummaryTest::mergeTakesNewerAnswersFirst()
{
    FactBook older;
    answerThrice(older, times(8, 7), true, 1000);
    FactBook newer;
    newer.add(answer(times(8, 7), false, 1000));
    newer.add(answer(times(8, 7), false, 1000));
    older.merge(newer);
    QCOMPARE(older.find(times(8, 7))->attempts, 5);
    QCOMPARE(older.verdict(times(8, 7)).state, FactState::Practise);
    QCOMPARE(older.verdict(times(8, 7)).right, 1);
}

void FactSummaryTest::practiseNextAndKnown()
{
    FactBook book;
    QCOMPARE(practiseNextSentence(practiseNext(book, FactOperation::Multiply)),
             "Nothing needs practice right now");
    answerThrice(book, times(2, 2), true, 1000); // known: not listed
    answerThrice(book, times(3, 2), true, 5000); // getting there
    answerThrice(book, times(4, 2), true, 4000); // getting there, fastest: beyond the six shown
    answerThrice(book, times(5, 2), true, 9000); // practise: slow, no misses
    book.add(answer(times(6, 2), false, 2000)); // practise: one miss of two
    book.add(answer(times(6, 2), true, 2000));
    answerThrice(book, times(7, 2), false, 2000); // practise: three misses
    answerThrice(book, times(8, 8), false, 2500); // practise: three misses, slower
    answerThrice(book, times(9, 2), true, 5500); // getting there, slowest

    QCOMPARE(practiseNextSentence(practiseNext(book, FactOperation::Multiply)),
             "Practise next: 8 x 8, 7 x 2, 6 x 2, 5 x 2, 9 x 2, 3 x 2");
    QCOMPARE(practiseNext(book, FactOperation::Multiply, 20).size(), std::size_t(7));
    QCOMPARE(knownSentence(knownCount(book, FactOperation::Multiply)), "You know 1 of 91");
    QCOMPARE(knownSentence(knownCount(book, FactOperation::Divide)), "You know 0 of 35");
    QVERIFY(practiseNext(book, FactOperation::Add).empty());
}

// A day ends at local midnight: with the clock two hours ahead of UTC, 23:00 UTC is the next day.
void FactSummaryTest::knownByLocalDay()
{
    const std::int64_t firstDay = 20000;
    const std::int64_t noon = firstDay * Day + Day / 2;
    const std::vector<FactAttempt> attempts {
        answer(times(8, 7), true, 1000, noon),
        answer(times(8, 7), true, 1000, noon + 1),
        answer({ FactOperation::Add, 1, 1 }, true, 1000, noon + Day), // not multiplication
        answer(times(6, 6), true, 1000, noon + 2 * Day),
        answer(times(6, 6), true, 1000, noon + 2 * Day + Day / 2 - 3600 * 1000), // 23:00 UTC
        answer(times(6, 6), true, 1000, noon), // the clock set back: still the last day
    };
    const std::vector<DayKnown> days = knownByDay(attempts, FactOperation::Multiply, 120);
    QCOMPARE(int(days.size()), 3);
    QCOMPARE(days[0].day, firstDay);
    QCOMPARE(days[0].known, 1);
    QCOMPARE(days[1].day, firstDay + 2);
    QCOMPARE(days[1].known, 1);
    QCOMPARE(days[2].day, firstDay + 3);
    QCOMPARE(days[2].known, 2);
    QCOMPARE(localDay(-1, 0), std::int64_t(-1));
}

void FactSummaryTest::deckIsEmptyWithNothingToPractise()
{
    FactBook book;
    answerThrice(book, times(8, 7), true, 1000);
    const PracticeDeck knownOnly = PracticeDeck::forProblemType(book, 3);
    QVERIFY(knownOnly.empty());
    ClockSeededRandom random([] { return std::uint64_t { 0 }; });
    QVERIFY(knownOnly.draw(random).operatorText.empty());
    answerThrice(book, times(6, 2), false, 1000);
    QVERIFY(!PracticeDeck::forProblemType(book, 3).empty());
    QVERIFY(PracticeDeck::forProblemType(book, 1).empty());
    QVERIFY(!PracticeDeck::forProblemType(book, 5).empty());
}

// Over many draws: only facts that need work and known ones come up, about one in five known,
// the heavier the fact the more often, and every problem is one the engine can judge.
void FactSummaryTest::deckDrawsWorkWeightedAndSomeKnown()
{
    FactBook book;
    answerThrice(book, times(2, 2), true, 1000); // known
    const FactKey knownDivision { FactOperation::Divide, 12, 4 };
    answerThrice(book, knownDivision, true, 1000); // known
    answerThrice(book, times(3, 2), true, 4000); // getting there, lightest
    answerThrice(book, times(5, 2), true, 9000); // practise: slow
    const FactKey missedDivision { FactOperation::Divide, 12, 3 };
    answerThrice(book, missedDivision, false, 8000); // practise: missed, slow
    book.add(answer(times(6, 6), true, 1000)); // not yet: never drawn

    const PracticeDeck deck = PracticeDeck::forProblemType(book, 5);
    ClockSeededRandom random([] { return std::uint64_t { 0 }; });
    std::map<FactKey, int> drawn;
    const int draws = 20000;
    for (int i = 0; i < draws; ++i) {
        const Problem problem = deck.draw(random);
        QVERIFY(rightAnswer(problem).has_value());
        ++drawn[*factFor(problem)];
    }
    QCOMPARE(int(drawn.size()), 5);
    const double known = drawn[times(2, 2)] + drawn[knownDivision];
    QVERIFY(std::abs(known / draws - 0.2) < 0.02);
    QVERIFY(drawn[times(3, 2)] < drawn[times(5, 2)]);
    QVERIFY(drawn[times(5, 2)] < drawn[missedDivision]);
}

QTEST_APPLESS_MAIN(FactSummaryTest)
#include "FactSummaryTest.moc"
