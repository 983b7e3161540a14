// Guards how a fact is judged from its latest answers, and how a verdict is written and said.
#include "facts/FactVerdict.h"

#include "facts/FactWords.h"

#include <QtTest>
#include <vector>

Q_DECLARE_METATYPE(FactState)

namespace {

// Answers newest first, written "r2500" (right in 2.5 s) or "w900" (wrong in 0.9 s).
std::vector<FactAnswer> answers(const QStringList& written)
{
    std::vector<FactAnswer> list;
    for (const QString& answer : written) {
        list.push_back({ 0, answer.startsWith('r'), answer.mid(1).toInt() });
    }
    return list;
}

} // namespace

class FactVerdictTest : public QObject
{
    Q_OBJECT

private slots:
    void states_data();
    void states();
    void usualTime_data();
    void usualTime();
    void words();
};

void FactVerdictTest::states_data()
{
    QTest::addColumn<QStringList>("newestFirst");
    QTest::addColumn<FactState>("state");

    QTest::newRow("none") << QStringList {} << FactState::NotYet;
    QTest::newRow("one fast") << QStringList { "r800" } << FactState::NotYet;
    QTest::newRow("3.0 s is known") << QStringList { "r3000", "r3000" } << FactState::KnowIt;
    QTest::newRow("3.001 s is not") << QStringList { "r3001", "r3000" } << FactState::GettingThere;
    QTest::newRow("two of three fast, one miss")
        << QStringList { "r1000", "w1000", "r1000" } << FactState::KnowIt;
    QTest::newRow("one of three fast")
        << QStringList { "r1000", "r4000", "r5000" } << FactState::GettingThere;
    QTest::newRow("one fast, one miss of two")
        << QStringList { "r1000", "w1000" } << FactState::Practise;
    QTest::newRow("median 6.0 s") << QStringList { "r6000", "r4000", "r9000" }
                                  << FactState::GettingThere;
    QTest::newRow("median 6.001 s")
        << QStringList { "r6001", "r4000", "r9000" } << FactState::Practise;
    QTest::newRow("older answers do not count")
        << QStringList { "r5000", "r5000", "r5000", "w1" } << FactState::GettingThere;
    QTest::newRow("walked away is left out")
        << QStringList { "w60001", "r1000" } << FactState::NotYet;
    QTest::newRow("60 s still counts") << QStringList { "w60000", "r1000" } << FactState::Practise;
    QTest::newRow("left out reaches back")
        << QStringList { "r90000", "r2000", "w2000", "r2000" } << FactState::KnowIt;
}

void FactVerdictTest::states()
{
    QFETCH(QStringList, newestFirst);
    QFETCH(FactState, state);
    QCOMPARE(judgeFact(answers(newestFirst)).state, state);
}

void FactVerdictTest::usualTime_data()
{
    QTest::addColumn<QStringList>("newestFirst");
    QTest::addColumn<int>("medianMs");
    QTest::addColumn<int>("considered");
    QTest::addColumn<int>("right");

    QTest::newRow("middle of three") << QStringList { "r5000", "w1000", "r3000" } << 3000 << 3 << 2;
    QTest::newRow("capped at 20 s")
        << QStringList { "r45000", "w30000", "r1000" } << 20000 << 3 << 2;
    QTest::newRow("cap in a mean") << QStringList { "w50000", "r2000" } << 11000 << 2 << 1;
    QTest::newRow("left out, not capped")
        << QStringList { "r61000", "r2000", "r4000" } << 3000 << 2 << 2;
}

void FactVerdictTest::usualTime()
{
    QFETCH(QStringList, newestFirst);
    QFETCH(int, medianMs);
    QFETCH(int, considered);
    QFETCH(int, right);

    const FactVerdict verdict = judgeFact(answers(newestFirst));
    QCOMPARE(verdict.medianMs, medianMs);
    QCOMPARE(verdict.considered, considered);
    QCOMPARE(verdict.right, right);
}

void FactVerdictTest::words()
{
    const auto said = [](const FactKey& fact, const QStringList& newestFirst) {
        return QString::fromStdString(verdictInWords(fact, judgeFact(answers(newestFirst))));
    };
    const FactKey times { FactOperation::Multiply, 8, 7 };
    const FactKey plus { FactOperation::Add, 9, 0 };
    const FactKey division { FactOperation::Divide, 12, 4 };
    QCOMPARE(said(times, { "r2400", "r2300", "r2500" }),
             "8 times 7: usually 2.4 seconds, 3 of 3 right");
    QCOMPARE(said(plus, { "r960", "w1000" }), "9 plus 0: usually 1 second, 1 of 2 right");
    QCOMPARE(said(division, { "r1000" }), "12 divided by 4: not enough answers yet");
    QCOMPARE(QString::fromStdString(factText(times)), "8 x 7");
    QCOMPARE(QString::fromStdString(factText(division)), "12 \u00F7 4");
}

QTEST_APPLESS_MAIN(FactVerdictTest)
#include "FactVerdictTest.moc"
