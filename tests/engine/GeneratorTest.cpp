// Guards the problem generator: draw ranges, operators per type, ordering and the division loop.
#include "engine/ClockSeededRandom.h"
#include "engine/ProblemGenerator.h"
#include "testing/ScriptedRandom.h"

#include <QtTest>
#include <array>
#include <map>
#include <set>

class GeneratorTest : public QObject
{
    Q_OBJECT

private slots:
    void randomDrawsStayInRange_data();
    void randomDrawsStayInRange();
    void operatorFollowsProblemType_data();
    void operatorFollowsProblemType();
    void randomTypeDrawsEachOperator();
    void largerOperandGoesOnTop();
    void divisionRedrawsOnlyTheDivisor();
    void divisionKeepsAFirstPairThatDivides();
    void problemsKeepTheirRanges_data();
    void problemsKeepTheirRanges();
    void clockSeededDrawsAreUniformWithAFrozenClock();
};

void GeneratorTest::randomDrawsStayInRange_data()
{
    QTest::addColumn<double>("r");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("fromZero");
    QTest::addColumn<int>("fromOne");

    QTest::newRow("lowest r") << 0.0 << 12 << 0 << 1;
    QTest::newRow("highest r") << 0.9999999 << 12 << 12 << 12;
    QTest::newRow("middle") << 0.5 << 12 << 6 << 7;
    QTest::newRow("n of 1") << 0.9999999 << 1 << 1 << 1;
    QTest::newRow("largest n") << 0.9999999 << 32767 << 32767 << 32767;
    QTest::newRow("n of 0") << 0.7 << 0 << 0 << 1;
}

void GeneratorTest::randomDrawsStayInRange()
{
    QFETCH(double, r);
    QFETCH(int, n);
    QFETCH(int, fromZero);
    QFETCH(int, fromOne);

    ScriptedRandom random { r, r };
    QCOMPARE(RandomFromZero(static_cast<std::int16_t>(n), random), fromZero);
    QCOMPARE(RandomFromOne(static_cast<std::int16_t>(n), random), fromOne);
}

void GeneratorTest::operatorFollowsProblemType_data()
{
    QTest::addColumn<int>("problemType");
    QTest::addColumn<QString>("operatorText");

    QTest::newRow("Addition") << 1 << "+";
    QTest::newRow("Subtraction") << 2 << "-";
    QTest::newRow("Multiplication") << 3 << "x";
    QTest::newRow("Division") << 4 << "{";
    QTest::newRow("no type chosen") << 0 << "";
    QTest::newRow("out of range") << 6 << "";
}

void GeneratorTest::operatorFollowsProblemType()
{
    QFETCH(int, problemType);
    QFETCH(QString, operatorText);

    ScriptedRandom random { 0.5 };
    const std::string_view picked = PickOperator(static_cast<std::int16_t>(problemType), random);
    QCOMPARE(QString::fromUtf8(picked.data(), static_cast<qsizetype>(picked.size())), operatorText);
}

void GeneratorTest::randomTypeDrawsEachOperator()
{
    ScriptedRandom random { ScriptedRandom::forZeroBased(0, 3), ScriptedRandom::forZeroBased(1, 3),
                            ScriptedRandom::forZeroBased(2, 3),
                            ScriptedRandom::forZeroBased(3, 3) };
    QCOMPARE(PickOperator(5, random), "+");
    QCOMPARE(PickOperator(5, random), "-");
    QCOMPARE(PickOperator(5, random), "x");
    QCOMPARE(PickOperator(5, random), "{");

    ClockSeededRandom clockRandom;
    std::set<std::string_view> seen;
    for (int i = 0; i < 200; ++i) {
        seen.insert(PickOperator(5, clockRandom));
    }
    QCOMPARE(seen.size(), std::size_t { 4 });
}

void GeneratorTest::largerOperandGoesOnTop()
{
    // Subtraction drawing 4 then 9 must show 9 - 4, never a negative difference.
    ScriptedRandom random { ScriptedRandom::forZeroBased(4, 12),
                            ScriptedRandom::forZeroBased(9, 12) };
    const Problem problem = drawProblem(2, 12, random);
    QCOMPARE(problem.operatorText, "-");
    QCOMPARE(problem.top, 9);
    QCOMPARE(problem.bottom, 4);

    ScriptedRandom equal { ScriptedRandom::forZeroBased(5, 12),
                           ScriptedRandom::forZeroBased(5, 12) };
    const Problem same = drawProblem(1, 12, equal);
    QCOMPARE(same.top, 5);
    QCOMPARE(same.bottom, 5);
}

void GeneratorTest::divisionRedrawsOnlyTheDivisor()
{
    // 7 and 3 drawn: 7 / 3 is not whole, so the divisor is redrawn from 1 to 7 until it divides.
    ScriptedRandom random { ScriptedRandom::forOneBased(3, 12), ScriptedRandom::forOneBased(7, 12),
                            ScriptedRandom::forOneBased(2, 7), ScriptedRandom::forOneBased(5, 7),
                            ScriptedRandom::forOneBased(7, 7) };
    const Problem problem = drawProblem(4, 12, random);
    QCOMPARE(problem.operatorText, "{");
    QCOMPARE(problem.top, 7);
    QCOMPARE(problem.bottom, 7);
    QCOMPARE(random.draws(), std::size_t { 5 });
}

void GeneratorTest::divisionKeepsAFirstPairThatDivides()
{
    ScriptedRandom random { ScriptedRandom::forOneBased(12, 12),
                            ScriptedRandom::forOneBased(4, 12) };
    const Problem problem = drawProblem(4, 12, random);
    QCOMPARE(problem.top, 12);
    QCOMPARE(problem.bottom, 4);
    QCOMPARE(random.draws(), std::size_t { 2 });
}

void GeneratorTest::problemsKeepTheirRanges_data()
{
    QTest::addColumn<int>("problemType");
    QTest::addColumn<int>("maxOperand");

    for (int type = 1; type <= 5; ++type) {
        for (int maxOperand : { 10, 12, 30 }) {
            QTest::addRow("type %d, max %d", type, maxOperand) << type << maxOperand;
        }
    }
}

void GeneratorTest::problemsKeepTheirRanges()
{
    QFETCH(int, problemType);
    QFETCH(int, maxOperand);

    // A frozen clock keeps the run repeatable; 20000 problems make every top operand, even 0
    // (both draws 0: one problem in 961 at 30), turn up with certainty.
    ClockSeededRandom random([] { return std::uint64_t { 12 }; });
    std::set<int> tops;
    for (int i = 0; i < 20000; ++i) {
        const Problem p = drawProblem(static_cast<std::int16_t>(problemType),
                                      static_cast<std::int16_t>(maxOperand), random);
        QVERIFY(p.top >= p.bottom);
        QVERIFY(p.top <= maxOperand);
        tops.insert(p.top);
        if (p.operatorText == "{") {
            QVERIFY2(p.bottom >= 1, "division never has a zero operand");
            QCOMPARE(p.top % p.bottom, 0);
        } else {
            QVERIFY(p.bottom >= 0);
        }
    }
    // Every top operand of the range turns up (0 only outside division).
    const int lowest = problemType == 4 ? 1 : 0;
    QCOMPARE(static_cast<int>(tops.size()), maxOperand - lowest + 1);
}

void GeneratorTest::clockSeededDrawsAreUniformWithAFrozenClock()
{
    // Draws within one clock tick must still be successive values, not one value repeated.
    ClockSeededRandom random([] { return std::uint64_t { 42 }; });
    constexpr int Buckets = 13;
    constexpr int Draws = 130000;
    std::array<int, Buckets> counts {};
    double previous = -1;
    int repeats = 0;
    for (int i = 0; i < Draws; ++i) {
        const double r = random.nextUnit();
        QVERIFY(r >= 0.0 && r < 1.0);
        repeats += r == previous ? 1 : 0;
        previous = r;
        ++counts[static_cast<std::size_t>(RandomFromZero(Buckets - 1, random))];
    }
    QCOMPARE(repeats, 0);
    // Chi-square with 12 degrees of freedom: 32.9 is the 0.1% critical value.
    const double expected = double(Draws) / Buckets;
    double chiSquare = 0;
    for (int count : counts) {
        chiSquare += (count - expected) * (count - expected) / expected;
    }
    QVERIFY2(chiSquare < 32.9, qPrintable(QString::number(chiSquare)));
}

QTEST_APPLESS_MAIN(GeneratorTest)
#include "GeneratorTest.moc"
