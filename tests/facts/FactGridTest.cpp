// Guards the grid of facts: what a timed run can ask, and the way to and from engine problems.
#include "facts/FactGrid.h"

#include "engine/ClockSeededRandom.h"

#include <QtTest>
#include <set>

class FactGridTest : public QObject
{
    Q_OBJECT

private slots:
    void gridHoldsWhatTheGeneratorDraws();
    void membership();
    void problemsRoundTrip();
};

// Thousands of draws with operands up to 12 land only on grid facts and reach every one, and the
// grid holds each fact once: 91 for + - x, 35 for division.
void FactGridTest::gridHoldsWhatTheGeneratorDraws()
{
    ClockSeededRandom random([] { return std::uint64_t { 0 }; });
    std::set<FactKey> drawn;
    for (int i = 0; i < 40000; ++i) {
        const std::optional<FactKey> fact = factFor(drawProblem(5, GridMaxOperand, random));
        QVERIFY(fact.has_value() && isGridFact(*fact));
        drawn.insert(*fact);
    }
    std::set<FactKey> grid;
    for (const FactOperation operation : AllFactOperations) {
        const std::vector<FactKey> facts = gridFacts(operation);
        QCOMPARE(int(facts.size()), operation == FactOperation::Divide ? 35 : 91);
        grid.insert(facts.begin(), facts.end());
    }
    QCOMPARE(drawn, grid);
}

void FactGridTest::membership()
{
    QVERIFY(isGridFact({ FactOperation::Subtract, 12, 12 }));
    QVERIFY(!isGridFact({ FactOperation::Multiply, 13, 2 }));
    QVERIFY(!isGridFact({ FactOperation::Add, 3, 7 })); // smaller on top
    QVERIFY(!isGridFact({ FactOperation::Add, 3, -1 }));
    QVERIFY(isGridFact({ FactOperation::Divide, 12, 4 }));
    QVERIFY(!isGridFact({ FactOperation::Divide, 12, 5 }));
    QVERIFY(!isGridFact({ FactOperation::Divide, 0, 0 }));
}

void FactGridTest::problemsRoundTrip()
{
    for (const FactOperation operation : AllFactOperations) {
        QCOMPARE(factOperation(operatorText(operation)), std::optional(operation));
        for (const FactKey& fact : gridFacts(operation)) {
            const Problem problem = problemFor(fact);
            QVERIFY(rightAnswer(problem).has_value());
            QCOMPARE(factFor(problem), std::optional(fact));
        }
    }
    QCOMPARE(factOperation("/"), std::nullopt);
    QCOMPARE(factFor(Problem {}), std::nullopt);
}

QTEST_APPLESS_MAIN(FactGridTest)
#include "FactGridTest.moc"
