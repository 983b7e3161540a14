// Guards the grid of facts: what a timed run can ask, and the way to and from engine problems.
#include "facts/FactGrid.h"

#include "engine/ClockSeededRandom.h"

#include <QtTest>
#include <set>

class FactGridTest : public QObject
{
    Q_OBJECT

private slots:
    void gridHoldsEveryFactOnce_data();
    void gridHoldsEveryFactOnce();
    void gridHoldsWhatTheGeneratorDraws();
    void membership_data();
    void membership();
    void operatorTextsRoundTrip();
    void problemsRoundTrip();
};

void FactGridTest::gridHoldsEveryFactOnce_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("count");

    QTest::newRow("addition") << int(FactOperation::Add) << 91;
    QTest::newRow("subtraction") << int(FactOperation::Subtract) << 91;
    QTest::newRow("multiplication") << int(FactOperation::Multiply) << 91;
    QTest::newRow("division") << int(FactOperation::Divide) << 35;
}

void FactGridTest::gridHoldsEveryFactOnce()
{
    QFETCH(int, operation);
    QFETCH(int, count);

    const auto facts = gridFacts(static_cast<FactOperation>(operation));
    QCOMPARE(int(facts.size()), count);
    QCOMPARE(int(std::set<FactKey>(facts.begin(), facts.end()).size()), count);
    QVERIFY(std::is_sorted(facts.begin(), facts.end()));
    for (const FactKey& fact : facts) {
        QVERIFY(isGridFact(fact));
    }
}

// Thousands of draws with operands up to 12 land only on grid facts and reach every one.
void FactGridTest::gridHoldsWhatTheGeneratorDraws()
{
    ClockSeededRandom random([] { return std::uint64_t { 0 }; });
    std::set<FactKey> drawn;
    for (int i = 0; i < 40000; ++i) {
        const std::optional<FactKey> fact = factFor(drawProblem(5, GridMaxOperand, random));
        QVERIFY(fact.has_value());
        QVERIFY(isGridFact(*fact));
        drawn.insert(*fact);
    }
    QCOMPARE(int(drawn.size()), 91 * 3 + 35);
}

void FactGridTest::membership_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<bool>("inGrid");

    QTest::newRow("0 + 0") << int(FactOperation::Add) << 0 << 0 << true;
    QTest::newRow("12 - 12") << int(FactOperation::Subtract) << 12 << 12 << true;
    QTest::newRow("13 x 2") << int(FactOperation::Multiply) << 13 << 2 << false;
    QTest::newRow("smaller on top") << int(FactOperation::Add) << 3 << 7 << false;
    QTest::newRow("negative") << int(FactOperation::Add) << 3 << -1 << false;
    QTest::newRow("12 / 4") << int(FactOperation::Divide) << 12 << 4 << true;
    QTest::newRow("12 / 5") << int(FactOperation::Divide) << 12 << 5 << false;
    QTest::newRow("0 / 0") << int(FactOperation::Divide) << 0 << 0 << false;
    QTest::newRow("1 / 1") << int(FactOperation::Divide) << 1 << 1 << true;
}

void FactGridTest::membership()
{
    QFETCH(int, operation);
    QFETCH(int, top);
    QFETCH(int, bottom);
    QFETCH(bool, inGrid);

    const FactKey fact { static_cast<FactOperation>(operation), static_cast<std::int16_t>(top),
                         static_cast<std::int16_t>(bottom) };
    QCOMPARE(isGridFact(fact), inGrid);
}

void FactGridTest::operatorTextsRoundTrip()
{
    for (const FactOperation operation : AllFactOperations) {
        QCOMPARE(factOperation(operatorText(operation)), std::optional(operation));
    }
    QCOMPARE(factOperation("/"), std::nullopt);
    QCOMPARE(factOperation(""), std::nullopt);
}

void FactGridTest::problemsRoundTrip()
{
    for (const FactOperation operation : AllFactOperations) {
        for (const FactKey& fact : gridFacts(operation)) {
            const Problem problem = problemFor(fact);
            QVERIFY(rightAnswer(problem).has_value());
            QCOMPARE(factFor(problem), std::optional(fact));
        }
    }
    QCOMPARE(factFor(Problem {}), std::nullopt);
}

QTEST_APPLESS_MAIN(FactGridTest)
#include "FactGridTest.moc"
