// Guards the session's answers: what each recorded answer carries, and how runs are handed out.
#include "facts/SessionAnswers.h"

#include <QtTest>

namespace {

JudgedAnswer judged(std::string operatorText, int top, int bottom, bool right, int attempt = 1)
{
    JudgedAnswer answer;
    answer.problem = Problem { std::move(operatorText), static_cast<std::int16_t>(top),
                               static_cast<std::int16_t>(bottom) };
    answer.expected = rightAnswer(answer.problem).value_or(0);
    answer.typed = std::to_string(right ? answer.expected : answer.expected + 1);
    answer.right = right;
    answer.attempt = static_cast<std::int16_t>(attempt);
    answer.msToFirstDigit = 900;
    answer.msToEnter = 2100;
    return answer;
}

} // namespace

class SessionAnswersTest : public QObject
{
    Q_OBJECT

private slots:
    void answersCarryTheirRunAndTheirFact();
    void eachRunIsHandedOutOnce();
};

void SessionAnswersTest::answersCarryTheirRunAndTheirFact()
{
    std::int64_t now = 1'765'000'000'000;
    SessionAnswers session([&] { return now; });
    session.record(judged("x", 7, 6, true)); // no run yet: not an answer of any run
    session.startRun(true, 12, false);
    session.record(judged("x", 7, 6, false));
    now += 2500;
    session.record(judged("x", 7, 6, true, 2));
    session.record(judged("{", 12, 4, true));
    session.record(judged("?", 3, 1, true)); // not a problem the game makes

    QCOMPARE(session.all().size(), std::size_t { 3 });
    const FactAttempt& wrong = session.all()[0];
    QCOMPARE(wrong.fact, (FactKey { FactOperation::Multiply, 7, 6 }));
    QCOMPARE(wrong.expected, 42);
    QCOMPARE(wrong.typed, "43");
    QVERIFY(!wrong.right);
    QVERIFY(wrong.run.timed);
    QCOMPARE(wrong.run.maxOperand, 12);
    QCOMPARE(wrong.whenUtcMs, 1'765'000'000'000);
    QCOMPARE(wrong.msToFirstDigit, 900);
    QCOMPARE(wrong.msToEnter, 2100);
    const FactAttempt& retyped = session.all()[1];
    QCOMPARE(retyped.attempt, 2);
    QCOMPARE(retyped.whenUtcMs, 1'765'000'002'500);
    QCOMPARE(session.all()[2].fact, (FactKey { FactOperation::Divide, 12, 4 }));
    QCOMPARE(session.all()[2].expected, 3);
}

void SessionAnswersTest::eachRunIsHandedOutOnce()
{
    SessionAnswers session([] { return std::int64_t { 0 }; });
    session.startRun(false, 25, true);
    session.record(judged("+", 20, 15, true));
    session.record(judged("-", 9, 4, true));
    // A run replaced before it was handed out keeps its answers waiting, under its own run.
    session.startRun(true, 12, false);
    session.record(judged("x", 3, 3, true));
    QCOMPARE(session.unfinishedCount(), std::size_t { 3 });

    const std::vector<FactAttempt> both = session.finishRun();
    QCOMPARE(both.size(), std::size_t { 3 });
    QVERIFY(both[0].run.onlyCorrect);
    QCOMPARE(both[0].run.maxOperand, 25);
    QCOMPARE(both[1].run.id, both[0].run.id);
    QVERIFY(both[2].run.timed);
    QVERIFY(both[2].run.id != both[0].run.id);
    QVERIFY(session.finishRun().empty());
    QCOMPARE(session.all().size(), std::size_t { 3 });
    session.record(judged("x", 4, 4, true)); // after the run ended: belongs to no run
    QCOMPARE(session.all().size(), std::size_t { 3 });

    session.clear();
    QVERIFY(session.all().empty());
}

QTEST_APPLESS_MAIN(SessionAnswersTest)
#include "SessionAnswersTest.moc"
