// Guards the answer box's key rules, the judging of answers and how long a run lasts.
#include "engine/ClockSeededRandom.h"
#include "engine/DrillRun.h"
#include "testing/ScriptedRandom.h"
#include "tests/support/RunDriver.h"

#include <QtTest>

namespace {

// Scripts the two operand draws of one problem of a fixed type (no operator draw).
ScriptedRandom operands(int a, int b, int maxOperand = 12)
{
    return ScriptedRandom { ScriptedRandom::forZeroBased(a, maxOperand),
                            ScriptedRandom::forZeroBased(b, maxOperand) };
}

// A frozen clock makes the real generator repeat the same problems every test run.
std::uint64_t frozenClock()
{
    return 20261208;
}

} // namespace

class AnswerRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void keysEditTheAnswer();
    void onlyDigitsAppend_data();
    void onlyDigitsAppend();
    void enterOnEmptyBoxChangesNothing();
    void judging_data();
    void judging();
    void timedWrongAnswerMustBeRetyped();
    void practiceWrongAnswerIsCountedAndSkipped();
    void onlyCorrectPracticeRetypesWrongAnswers();
    void practiceRunShowsWrongProblemsOnTop();
    void timedRunEndsAtItsHundredthCorrectAnswer();
    void countOfZeroOrLessEndsAtTheFirstCorrectAnswer();
    void countersStopAtTheirLargestValue();
    void everyJudgedAnswerIsToldWithItsTimes();
    void practiceProblemsComeFromTheirSourceButTimedRunsNever();
};

void AnswerRulesTest::keysEditTheAnswer()
{
    GameState globals;
    globals.ProblemType = 1;
    ScriptedRandom random = operands(3, 4);
    DrillRun run(globals, random);
    startAndCountDown(run);

    typeAnswer(run, "12345");
    QCOMPARE(run.view().AnsText, "1234");
    run.answerKeyDown("", true);
    QCOMPARE(run.view().AnsText, "123");
    run.answerKeyDown("", true);
    run.answerKeyDown("", true);
    run.answerKeyDown("", true);
    run.answerKeyDown("", true);
    QCOMPARE(run.view().AnsText, "");
}

void AnswerRulesTest::onlyDigitsAppend_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("digit") << "7"
                           << "7";
    QTest::newRow("letter") << "a"
                            << "";
    QTest::newRow("no text (function or arrow key)") << ""
                                                     << "";
    QTest::newRow("space") << " "
                           << "";
    QTest::newRow("minus") << "-"
                           << "";
    QTest::newRow("AZERTY top row without Shift") << "\xc3\xa9"
                                                  << "";
    QTest::newRow("two characters at once") << "12"
                                            << "";
    QTest::newRow("superscript two") << "\xc2\xb2"
                                     << "";
}

void AnswerRulesTest::onlyDigitsAppend()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    GameState globals;
    globals.ProblemType = 1;
    ScriptedRandom random = operands(3, 4);
    DrillRun run(globals, random);
    startAndCountDown(run);
    run.answerKeyDown(typed.toStdString(), false);
    QCOMPARE(QString::fromStdString(run.view().AnsText), expected);
}

void AnswerRulesTest::enterOnEmptyBoxChangesNothing()
{
    GameState globals;
    globals.ProblemType = 1;
    ScriptedRandom random = operands(3, 4);
    DrillRun run(globals, random);
    startAndCountDown(run);
    const std::string problem = run.view().NumLab + run.view().DenLab;

    QCOMPARE(run.answerEnter(), AnswerOutcome::Ignored);
    QCOMPARE(globals.CorrectCount, 0);
    QCOMPARE(globals.IncorrectCount, 0);
    QVERIFY(!run.view().WrongAnsVisible);
    QCOMPARE(run.view().NumLab + run.view().DenLab, problem);
}

void AnswerRulesTest::judging_data()
{
    QTest::addColumn<int>("problemType");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("right");

    QTest::newRow("9 - 4 = 5") << 2 << 9 << 4 << "5" << true;
    QTest::newRow("9 - 4 is not 13") << 2 << 4 << 9 << "13" << false;
    QTest::newRow("12 + 7 = 19") << 1 << 12 << 7 << "19" << true;
    QTest::newRow("7 x 6 = 42") << 3 << 7 << 6 << "42" << true;
    QTest::newRow("7 x 6 is not 41") << 3 << 7 << 6 << "41" << false;
    QTest::newRow("leading zeros: 007 for 7") << 1 << 4 << 3 << "007" << true;
    QTest::newRow("0 + 0 = 0") << 1 << 0 << 0 << "0" << true;
    QTest::newRow("0000 for 0") << 3 << 0 << 9 << "0000" << true;
}

void AnswerRulesTest::judging()
{
    QFETCH(int, problemType);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(QString, answer);
    QFETCH(bool, right);

    GameState globals;
    globals.ProblemType = static_cast<std::int16_t>(problemType);
    ScriptedRandom random = operands(a, b);
    DrillRun run(globals, random);
    startAndCountDown(run);
    typeAnswer(run, answer.toStdString());
    QCOMPARE(run.IsAnswerCorrect(), right);
}

void AnswerRulesTest::timedWrongAnswerMustBeRetyped()
{
    GameState globals;
    globals.ProblemType = 3;
    globals.TimedMode = true;
    ScriptedRandom random = operands(7, 6);
    DrillRun run(globals, random);
    startAndCountDown(run);
    QCOMPARE(run.view().NumLab, "7");

    typeAnswer(run, "41");
    QCOMPARE(run.answerEnter(), AnswerOutcome::WrongRetype);
    QVERIFY(run.view().AnsText.empty());
    QVERIFY(run.view().WrongAnsVisible);
    QCOMPARE(globals.IncorrectCount, 0);
    QCOMPARE(run.view().NumLab, "7");
    QCOMPARE(run.view().DenLab, "6");
    run.answerKeyUp();
    QVERIFY(!run.view().WrongAnsVisible);

    typeAnswer(run, "42");
    QCOMPARE(run.answerEnter(), AnswerOutcome::Correct);
    QCOMPARE(globals.CorrectCount, 1);
    QCOMPARE(run.view().CorrectLab, "1");
}

void AnswerRulesTest::practiceWrongAnswerIsCountedAndSkipped()
{
    GameState globals;
    globals.ProblemType = 2;
    ScriptedRandom random { ScriptedRandom::forZeroBased(9, 12),
                            ScriptedRandom::forZeroBased(4, 12),
                            ScriptedRandom::forZeroBased(8, 12),
                            ScriptedRandom::forZeroBased(1, 12) };
    DrillRun run(globals, random);
    startAndCountDown(run);

    typeAnswer(run, "6");
    QCOMPARE(run.answerEnter(), AnswerOutcome::WrongCounted);
    QCOMPARE(globals.IncorrectCount, 1);
    QCOMPARE(run.view().IncorrectLab, "1");
    QVERIFY(!run.view().WrongAnsVisible);
    QCOMPARE(run.view().NumLab, "8");
    QCOMPARE(run.view().DenLab, "1");
    QVERIFY(run.view().AnsText.empty());
}

void AnswerRulesTest::onlyCorrectPracticeRetypesWrongAnswers()
{
    GameState globals;
    globals.ProblemType = 1;
    globals.OnlyAllowCorrect = true;
    ScriptedRandom random = operands(5, 2);
    DrillRun run(globals, random);
    startAndCountDown(run);

    typeAnswer(run, "8");
    QCOMPARE(run.answerEnter(), AnswerOutcome::WrongRetype);
    QCOMPARE(globals.IncorrectCount, 0);
    QCOMPARE(run.view().IncorrectLab, "0");
    QVERIFY(run.view().WrongAnsVisible);
}

void AnswerRulesTest::practiceRunShowsWrongProblemsOnTop()
{
    // Ten problems with three wrong answers: thirteen problems shown, then the results.
    GameState globals;
    globals.ProblemType = 5;
    globals.PracticeProblemCount = 10;
    globals.MaxOperand = 30;
    ClockSeededRandom random(frozenClock);
    DrillRun run(globals, random);
    startAndCountDown(run);

    int problemsShown = 1;
    AnswerOutcome outcome = AnswerOutcome::Ignored;
    for (int i = 0; outcome != AnswerOutcome::RunFinished; ++i) {
        QVERIFY(i < 100);
        const bool answerWrong = i == 1 || i == 4 || i == 5;
        typeAnswer(run, answerWrong ? wrongAnswer(run) : expectedAnswer(run));
        outcome = run.answerEnter();
        if (outcome != AnswerOutcome::RunFinished) {
            ++problemsShown;
        }
    }
    QCOMPARE(problemsShown, 13);
    QCOMPARE(run.view().CorrectLab, "10");
    QCOMPARE(run.view().IncorrectLab, "3");
}

void AnswerRulesTest::timedRunEndsAtItsHundredthCorrectAnswer()
{
    GameState globals;
    globals.ProblemType = 4;
    globals.TimedMode = true;
    globals.PracticeProblemCount = 7; // a timed run always has 100 problems
    ClockSeededRandom random(frozenClock);
    DrillRun run(globals, random);
    startAndCountDown(run);

    int correct = 0;
    for (;;) {
        if (correct % 10 == 3) {
            typeAnswer(run, wrongAnswer(run));
            QCOMPARE(run.answerEnter(), AnswerOutcome::WrongRetype);
        }
        typeAnswer(run, expectedAnswer(run));
        const AnswerOutcome outcome = run.answerEnter();
        ++correct;
        if (outcome == AnswerOutcome::RunFinished) {
            break;
        }
        QCOMPARE(outcome, AnswerOutcome::Correct);
    }
    QCOMPARE(correct, 100);
    QCOMPARE(run.view().CorrectLab, "100");
    QCOMPARE(globals.IncorrectCount, 0);
    // The last answer stays in the box.
    QVERIFY(!run.view().AnsText.empty());
}

void AnswerRulesTest::countOfZeroOrLessEndsAtTheFirstCorrectAnswer()
{
    GameState globals;
    globals.ProblemType = 1;
    globals.PracticeProblemCount = -5;
    ScriptedRandom random = operands(3, 4);
    DrillRun run(globals, random);
    startAndCountDown(run);
    typeAnswer(run, wrongAnswer(run));
    QCOMPARE(run.answerEnter(), AnswerOutcome::WrongCounted);
    typeAnswer(run, expectedAnswer(run));
    QCOMPARE(run.answerEnter(), AnswerOutcome::RunFinished);
}

void AnswerRulesTest::countersStopAtTheirLargestValue()
{
    GameState globals;
    globals.ProblemType = 1;
    globals.PracticeProblemCount = 32767;
    ScriptedRandom random = operands(3, 4);
    DrillRun run(globals, random);
    startAndCountDown(run);
    globals.CorrectCount = 32766;
    globals.IncorrectCount = 32767;

    typeAnswer(run, wrongAnswer(run));
    QCOMPARE(run.answerEnter(), AnswerOutcome::WrongCounted);
    QCOMPARE(run.view().IncorrectLab, "32767");
    typeAnswer(run, expectedAnswer(run));
    QCOMPARE(run.answerEnter(), AnswerOutcome::RunFinished);
    QCOMPARE(run.view().CorrectLab, "32767");
}

void AnswerRulesTest::everyJudgedAnswerIsToldWithItsTimes()
{
    // A timed 7 x 6: "41" (first digit at 1.5 s, Enter at 4 s), then "42" retyped (first digit
    // half a second after the wrong answer, Enter 2 s after it), then the next problem at 9.1 s.
    GameState globals;
    globals.ProblemType = 3;
    globals.TimedMode = true;
    ScriptedRandom random = operands(7, 6);
    DrillRun run(globals, random);
    std::vector<JudgedAnswer> heard;
    run.setAnswerListener([&](const JudgedAnswer& answer) { heard.push_back(answer); });
    startAndCountDown(run);

    run.answerKeyDown("4", false, 1500);
    run.answerKeyDown("1", false, 2500);
    QCOMPARE(run.answerEnter(4000), AnswerOutcome::WrongRetype);
    run.answerKeyDown("", true, 4200); // a Backspace is not a digit
    run.answerKeyDown("4", false, 4500);
    run.answerKeyDown("2", false, 5000);
    QCOMPARE(run.answerEnter(6000), AnswerOutcome::Correct);
    run.answerEnter(8000); // an empty box judges nothing
    for (char digit : expectedAnswer(run)) {
        run.answerKeyDown(std::string(1, digit), false, 9000);
    }
    run.answerEnter(9100);

    QCOMPARE(heard.size(), std::size_t { 3 });
    QCOMPARE(heard[0].problem.top, 7);
    QCOMPARE(heard[0].problem.bottom, 6);
    QCOMPARE(heard[0].expected, 42);
    QCOMPARE(heard[0].typed, "41");
    QVERIFY(!heard[0].right);
    QCOMPARE(heard[0].attempt, 1);
    QCOMPARE(heard[0].msToFirstDigit, 1500);
    QCOMPARE(heard[0].msToEnter, 4000);

    QCOMPARE(heard[1].typed, "42");
    QVERIFY(heard[1].right);
    QCOMPARE(heard[1].attempt, 2);
    QCOMPARE(heard[1].msToFirstDigit, 500);
    QCOMPARE(heard[1].msToEnter, 2000);

    QVERIFY(heard[2].right);
    QCOMPARE(heard[2].attempt, 1);
    QCOMPARE(heard[2].msToFirstDigit, 3000);
    QCOMPARE(heard[2].msToEnter, 3100);
}

void AnswerRulesTest::practiceProblemsComeFromTheirSourceButTimedRunsNever()
{
    GameState globals;
    globals.ProblemType = 3;
    ScriptedRandom random = operands(7, 6);
    DrillRun run(globals, random);
    run.setPracticeProblems([](RandomSource&) { return Problem { "x", 8, 7 }; });
    startAndCountDown(run);
    QCOMPARE(run.view().NumLab + run.view().OpLab + run.view().DenLab, "8x7");

    globals.TimedMode = true;
    startAndCountDown(run);
    QCOMPARE(run.view().NumLab + run.view().OpLab + run.view().DenLab, "7x6");
}

QTEST_APPLESS_MAIN(AnswerRulesTest)
#include "AnswerRulesTest.moc"
