// Guards the run flow: countdown, the fair clock, stopping, finishing and the commands a run locks.
#include "engine/ClockText.h"
#include "engine/DrillRun.h"
#include "testing/ScriptedRandom.h"
#include "tests/support/RunDriver.h"

#include <QtTest>

class RunFlowTest : public QObject
{
    Q_OBJECT

private slots:
    void countdownShowsReadySetGoThenTheFirstProblem();
    void timedRunForcesItsLengthAndLocksCommands();
    void practiceRunLocksOnlyTheTimedCommand();
    void clockText_data();
    void clockText();
    void clockCountsWholeSecondsSinceGo();
    void lateTickCatchesUpAndEarlyTickWaits();
    void clockStopsAtItsLargestValue();
    void finishShowsTheMomentOfTheLastAnswer();
    void stopDuringCountdownStartsAfreshNextTime();
    void stopDuringRunKeepsTheLastProblem();
    void restartResetsCountersButKeepsTheLastProblem();
    void clockTextSeconds_data();
    void clockTextSeconds();
};

void RunFlowTest::countdownShowsReadySetGoThenTheFirstProblem()
{
    GameState globals;
    globals.ProblemType = 1;
    ScriptedRandom random { 0.5 };
    DrillRun run(globals, random);

    run.startCountdown();
    QVERIFY(run.view().pbStatusVisible);
    QVERIFY(run.view().Timer2Enabled);
    QCOMPARE(run.view().lblStatus, "Ready...");
    QCOMPARE(run.view().lblStatusColour, CountdownColour::Black);

    QVERIFY(!run.countdownStep());
    QCOMPARE(run.view().lblStatus, "Set...");
    QCOMPARE(run.view().lblStatusColour, CountdownColour::Blue);

    QVERIFY(!run.countdownStep());
    QCOMPARE(run.view().lblStatus, "Go!");
    QCOMPARE(run.view().lblStatusColour, CountdownColour::Green);
    QVERIFY(!run.view().problemVisible);
    QVERIFY(!run.view().Timer1Enabled);

    QVERIFY(run.countdownStep());
    QVERIFY(!run.view().pbStatusVisible);
    QVERIFY(!run.view().Timer2Enabled);
    QVERIFY(run.view().Timer1Enabled);
    QVERIFY(run.view().problemVisible);
    QVERIFY(run.view().AnsTextVisible && run.view().AnsTextEnabled);
    QCOMPARE(run.view().OpLab, "+");
    QVERIFY(!run.view().NumLab.empty());
    QVERIFY(run.takeFocusRequest());
    QVERIFY(!run.takeFocusRequest());
    QCOMPARE(globals.CountdownStep, 3);
}

void RunFlowTest::timedRunForcesItsLengthAndLocksCommands()
{
    GameState globals;
    globals.ProblemType = 3;
    globals.PracticeProblemCount = 20;
    globals.MaxOperand = 25;
    globals.TimedMode = true;
    ScriptedRandom random { 0.5 };
    DrillRun run(globals, random);

    startAndCountDown(run);
    QCOMPARE(globals.PracticeProblemCount, 100);
    QCOMPARE(globals.MaxOperand, 12);
    const EnabledCommands timedLocks { true, false, false, false };
    QCOMPARE(run.view().commands, timedLocks);
    QCOMPARE(run.view().countsRow, CountsRowVisibility {});
    QVERIFY(run.view().timedRunLogoVisible);

    run.StopRun();
    QCOMPARE(run.view().commands, EnabledCommands {});
    QVERIFY(!run.view().timedRunLogoVisible);
}

void RunFlowTest::practiceRunLocksOnlyTheTimedCommand()
{
    GameState globals;
    globals.ProblemType = 1;
    globals.PracticeProblemCount = 20;
    globals.MaxOperand = 25;
    ScriptedRandom random { 0.5 };
    DrillRun run(globals, random);
    const CountsRowVisibility shown { true, true, true, true, true };
    run.setCountsRow(shown);

    startAndCountDown(run);
    QCOMPARE(globals.PracticeProblemCount, 20);
    QCOMPARE(globals.MaxOperand, 25);
    const EnabledCommands practiceLocks { false, true, true, true };
    QCOMPARE(run.view().commands, practiceLocks);
    QCOMPARE(run.view().countsRow, shown);
    QVERIFY(!run.view().timedRunLogoVisible);
}

void RunFlowTest::clockText_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("text");

    QTest::newRow("start") << 0 << 0 << "0:00";
    QTest::newRow("one second") << 0 << 1 << "0:01";
    QTest::newRow("last second of a minute") << 0 << 59 << "0:59";
    QTest::newRow("a minute") << 1 << 0 << "1:00";
    QTest::newRow("two-digit minutes") << 12 << 5 << "12:05";
    QTest::newRow("largest") << 32767 << 59 << "32767:59";
}

void RunFlowTest::clockText()
{
    QFETCH(int, minutes);
    QFETCH(int, seconds);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(::clockText(static_cast<std::int16_t>(minutes),
                                                static_cast<std::int16_t>(seconds))),
             text);
}

void RunFlowTest::clockCountsWholeSecondsSinceGo()
{
    GameState globals;
    globals.ProblemType = 2;
    globals.TimedMode = true;
    ScriptedRandom random { 0.5 };
    DrillRun run(globals, random);
    startAndCountDown(run);

    QCOMPARE(run.view().ShowTime, "0:00");
    for (int tick = 1; tick <= 59; ++tick) {
        run.clockStep(tick * 1000);
    }
    QCOMPARE(run.view().ShowTime, "0:59");
    run.clockStep(60000);
    QCOMPARE(run.view().ShowTime, "1:00");
    QCOMPARE(globals.ClockMinutes, 1);
    QCOMPARE(globals.ClockSeconds, 0);
    for (int tick = 61; tick <= 600; ++tick) {
        run.clockStep(tick * 1000 + 3);
    }
    QCOMPARE(run.view().ShowTime, "10:00");
    // A timed run is not stopped at 3:00: only the last answer or the stop command ends it.
    QVERIFY(run.view().Timer1Enabled);
}

void RunFlowTest::lateTickCatchesUpAndEarlyTickWaits()
{
    GameState globals;
    globals.ProblemType = 1;
    ScriptedRandom random { 0.5 };
    DrillRun run(globals, random);
    startAndCountDown(run);

    run.clockStep(1000);
    run.clockStep(3400); // the tick for second 2 came 1.4 s late
    QCOMPARE(run.view().ShowTime, "0:03");
    run.clockStep(3999); // a tick before the next whole second changes nothing
    QCOMPARE(run.view().ShowTime, "0:03");
    run.clockStep(2000); // and the clock never runs backwards
    QCOMPARE(run.view().ShowTime, "0:03");
    run.clockStep(125000);
    QCOMPARE(run.view().ShowTime, "2:05");
}

void RunFlowTest::clockStopsAtItsLargestValue()
{
    GameState globals;
    globals.ProblemType = 1;
    ScriptedRandom random { 0.5 };
    DrillRun run(globals, random);
    startAndCountDown(run);

    run.clockStep(std::int64_t { 40000 } * 60 * 1000);
    QCOMPARE(run.view().ShowTime, "32767:59");
    run.clockStep(std::int64_t { 50000 } * 60 * 1000);
    QCOMPARE(globals.ClockMinutes, 32767);
    QCOMPARE(globals.ClockSeconds, 59);
}

void RunFlowTest::finishShowsTheMomentOfTheLastAnswer()
{
    GameState globals;
    globals.ProblemType = 1;
    globals.TimedMode = true;
    ScriptedRandom random { 0.5 };
    DrillRun run(globals, random);
    startAndCountDown(run);

    for (int tick = 1; tick <= 164; ++tick) {
        run.clockStep(tick * 1000);
    }
    // The answer lands at 165.2 s, before the tick for second 165 has been handled.
    run.FinishRun(165200);
    QCOMPARE(run.view().ShowTime, "2:45");
    QVERIFY(!run.view().Timer1Enabled);
    QVERIFY(!run.view().AnsTextEnabled);
    QCOMPARE(run.view().commands, EnabledCommands {});
}

void RunFlowTest::stopDuringCountdownStartsAfreshNextTime()
{
    GameState globals;
    globals.ProblemType = 1;
    ScriptedRandom random { 0.5 };
    DrillRun run(globals, random);

    run.startCountdown();
    run.countdownStep();
    run.StopRun();
    QVERIFY(!run.view().pbStatusVisible);
    QVERIFY(!run.view().Timer2Enabled);
    QVERIFY(!run.countdownStep()); // a stray tick after the stop does nothing
    QCOMPARE(run.view().lblStatus, "Set...");

    run.startCountdown();
    QCOMPARE(run.view().lblStatus, "Ready...");
    QCOMPARE(run.view().lblStatusColour, CountdownColour::Black);
    QCOMPARE(globals.CountdownStep, 0);
}

void RunFlowTest::stopDuringRunKeepsTheLastProblem()
{
    GameState globals;
    globals.ProblemType = 3;
    globals.TimedMode = true;
    ScriptedRandom random { 0.5 };
    DrillRun run(globals, random);
    startAndCountDown(run);
    run.clockStep(7000);
    typeAnswer(run, expectedAnswer(run));
    QCOMPARE(run.answerEnter(), AnswerOutcome::Correct);
    typeAnswer(run, "1");
    const DrillView before = run.view();

    run.StopRun();
    const DrillView& after = run.view();
    QVERIFY(!after.Timer1Enabled);
    QVERIFY(after.AnsTextVisible);
    QVERIFY(!after.AnsTextEnabled);
    QCOMPARE(after.AnsText, "1");
    QCOMPARE(after.NumLab, before.NumLab);
    QCOMPARE(after.ShowTime, "0:07");
    QCOMPARE(after.CorrectLab, "1");
    QCOMPARE(after.commands, EnabledCommands {});
    run.clockStep(20000);
    QCOMPARE(run.view().ShowTime, "0:07");
    // A disabled box takes no keys and judges nothing.
    typeAnswer(run, "2");
    QCOMPARE(run.view().AnsText, "1");
    QCOMPARE(run.answerEnter(), AnswerOutcome::Ignored);
}

void RunFlowTest::restartResetsCountersButKeepsTheLastProblem()
{
    GameState globals;
    globals.ProblemType = 1;
    ScriptedRandom random { 0.5 };
    DrillRun run(globals, random);
    startAndCountDown(run);
    run.clockStep(5000);
    typeAnswer(run, wrongAnswer(run));
    QCOMPARE(run.answerEnter(), AnswerOutcome::WrongCounted);
    const std::string lastProblem = run.view().NumLab + run.view().OpLab + run.view().DenLab;

    run.startCountdown();
    QCOMPARE(run.view().CorrectLab, "0");
    QCOMPARE(run.view().IncorrectLab, "0");
    QCOMPARE(run.view().ShowTime, "0:00");
    QCOMPARE(globals.IncorrectCount, 0);
    QCOMPARE(globals.ClockSeconds, 0);
    QVERIFY(!run.view().AnsTextVisible);
    QVERIFY(run.view().AnsText.empty());
    QVERIFY(!run.view().Timer1Enabled);
    QVERIFY(run.view().problemVisible);
    QCOMPARE(run.view().NumLab + run.view().OpLab + run.view().DenLab, lastProblem);
}

void RunFlowTest::clockTextSeconds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("seconds");

    QTest::newRow("start") << "0:00" << 0;
    QTest::newRow("2:59") << "2:59" << 179;
    QTest::newRow("3:00") << "3:00" << 180;
    QTest::newRow("3:01") << "3:01" << 181;
    QTest::newRow("10:02") << "10:02" << 602;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("no minutes") << ":05" << -1;
    QTest::newRow("one-digit seconds") << "1:5" << -1;
    QTest::newRow("seconds past 59") << "1:75" << -1;
    QTest::newRow("negative") << "-1:00" << -1;
    QTest::newRow("letters") << "a:bc" << -1;
    QTest::newRow("huge minutes") << "99999999999999999999:00" << -1;
}

void RunFlowTest::clockTextSeconds()
{
    QFETCH(QString, text);
    QFETCH(int, seconds);
    const auto parsed = ::clockTextSeconds(text.toStdString());
    QCOMPARE(parsed.has_value() ? static_cast<int>(*parsed) : -1, seconds);
}

QTEST_APPLESS_MAIN(RunFlowTest)
#include "RunFlowTest.moc"
