// Guards the main window's roads as a player meets them: runs by keyboard, locks, keys, splash.
#include "app/MainWindow.h"

#include "app/SplashWindow.h"
#include "assets/DesignFonts.h"
#include "records/ClubFile.h"
#include "tests/support/ChildNamed.h"
#include "tests/support/GameFixture.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QWindow>
#include <QtTest>

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerDesignFonts(); }
    void startsIdleWithEveryCommandFree();
    void menusToolbarAndNames();
    void timedRunByKeyboardToTheResults();
    void practiceRunCountsWrongAnswers();
    void timedRunLocksCommandsEverywhere();
    void practiceRunLocksOnlyTheTimedCommand();
    void cancelledSelectorLeavesTheRunGoing();
    void cancelledOptionsStartNoRun();
    void stopDuringCountdownAndDuringRun();
    void restartDuringCountdownCountsFromAFreshSecond();
    void keypadDigitsAndEnterCount();
    void digitsOfEveryScriptAnswer();
    void answerBoxTakesNothingButKeys();
    void shortcutKeysWorkWhileTyping();
    void optionsDuringPracticeChangeTheRowAtOnce();
    void pageClickReturnsTheFocus();
    void recordsCommandsOpenTheBoards();
    void longPracticeClockStaysWhole();
    void screenReaderHearsProblemsAndAlerts();
    void splashClosesOnItsTimerAlone();
    void splashIsUpBeforeTheGameIsBuilt();
};

void MainWindowTest::startsIdleWithEveryCommandFree()
{
    Game game;
    QCOMPARE(game.frmMain.objectName(), "frmMain");
    QCOMPARE(game.frmMain.windowTitle(), "Pellmoor - Sumdash!");
    QCOMPARE(game.basGlobals.PracticeProblemCount, 100);
    QCOMPARE(game.basGlobals.MaxOperand, 12);
    QCOMPARE(game.basGlobals.TimedMode, false);
    QCOMPARE(game.basGlobals.ProblemType, 0);
    for (const char* name : { "Label1", "CorrectLab", "Label3", "IncorrectLab", "ShowTime",
                              "pbStatus", "AnsText", "WrongAns", "Label2", "NumLab", "DenLab" }) {
        QVERIFY2(!game.shown(name), name);
    }
    QVERIFY(game.shown("Picture1"));
    QCOMPARE(game.label("CorrectLab"), "0");
    QCOMPARE(game.label("ShowTime"), "0:00");
    for (const char* name : { "mnuDash", "mnuStart", "mnuStop", "mnuOptions", "mnuExit",
                              "mnuBestTimes", "mnuViewClub", "mnuOnlineTimes" }) {
        QVERIFY2(game.action(name)->isEnabled(), name);
    }
    QVERIFY(!game.find<QTimer>("Timer1")->isActive());
    QVERIFY(!game.find<QTimer>("Timer2")->isActive());
}

void MainWindowTest::menusToolbarAndNames()
{
    Game game;
    const QList<std::pair<const char*, QString>> items {
        { "mnuDash", "F5" },      { "mnuStart", "F6" },
        { "mnuStop", "Ctrl+S" },  { "mnuOptions", "Ctrl+O" },
        { "mnuExit", "Ctrl+E" },  { "mnuBestTimes", "F7" },
        { "mnuViewClub", "F8" },  { "mnuOnlineTimes", "Ctrl+T" },
        { "mnuFactTimes", "F9" }, { "mnuSumdashOnline", "" },
        { "mnuHome", "" },        { "mnuOnSupport", "" },
        { "mnuAbout", "" },
    };
    for (const auto& [name, shortcut] : items) {
        QAction* item = game.action(name);
        QVERIFY2(item, name);
        QCOMPARE(item->shortcut().toString(), shortcut);
    }
    QCOMPARE(game.action("mnuOptions")->text(), "Practice Mode &Options");
    QCOMPARE(game.find<QMenu>("mnuPellmoorOnWeb")->title(), "Pellmoor On The &Web");
    const QList<std::pair<const char*, QString>> buttons {
        { "dash", "Begin Sumdash!" },    { "practice", "Practice Mode" },
        { "stop", "Stop Game" },         { "club", "View Sumdash Club" },
        { "toptime", "View Top Times" }, { "web", "Pellmoor On The Web" },
    };
    auto* toolbar = game.find<QToolBar>("Toolbar1");
    QVERIFY(toolbar);
    for (const auto& [key, toolTip] : buttons) {
        QWidget* button = child<QWidget>(toolbar, QString::fromLatin1(key));
        QVERIFY2(button, key);
        QCOMPARE(button->toolTip(), toolTip);
    }
}

void MainWindowTest::timedRunByKeyboardToTheResults()
{
    Game game;
    ModalDialogDriver driver;
    driver.then([](QWidget* selector) { clickChild(selector, "Command1_2"); });
    QTest::keyClick(&game.frmMain, Qt::Key_F5);
    QVERIFY(game.basGlobals.TimedMode);
    QCOMPARE(game.basGlobals.ProblemType, 3);

    QVERIFY(game.shown("pbStatus"));
    QCOMPARE(game.label("lblStatus"), "Ready...");
    QCOMPARE(game.find<QLabel>("lblStatus")->palette().color(QPalette::WindowText),
             QColor(Qt::black));
    QVERIFY(game.find<QTimer>("Timer2")->isActive());
    game.frmMain.Timer2_Timer();
    QCOMPARE(game.label("lblStatus"), "Set...");
    QCOMPARE(game.find<QLabel>("lblStatus")->palette().color(QPalette::WindowText),
             QColor(0, 0, 255));
    game.frmMain.Timer2_Timer();
    QCOMPARE(game.label("lblStatus"), "Go!");
    QCOMPARE(game.find<QLabel>("lblStatus")->palette().color(QPalette::WindowText),
             QColor(0, 128, 0));
    game.frmMain.Timer2_Timer();
    QVERIFY(!game.shown("pbStatus"));
    QVERIFY(game.find<QTimer>("Timer1")->isActive());
    QVERIFY(!game.find<QTimer>("Timer2")->isActive());
    QVERIFY(game.shown("Label2"));
    QTRY_VERIFY(game.answerBox()->hasFocus());

    // 100 problems, one wrong answer retyped each ten, a second of clock now and then.
    const int secondsPerProblem[] = { 1, 2, 2, 1, 2 };
    for (int problem = 0; problem < 100; ++problem) {
        QVERIFY(!game.shown("ShowTime"));
        QVERIFY(!game.shown("CorrectLab"));
        QCOMPARE(game.find<QLabel>("OpLab")->text(), "x");
        const QString answer = rightAnswer(&game.frmMain);
        if (problem % 10 == 4) {
            game.type(QString::number(answer.toInt() + 1));
            QTest::keyPress(game.answerBox(), Qt::Key_Return);
            QVERIFY(game.shown("WrongAns"));
            QVERIFY(game.answerBox()->text().isEmpty());
            QTest::keyRelease(game.answerBox(), Qt::Key_Return);
            QVERIFY(!game.shown("WrongAns"));
        }
        for (int s = 0; s < secondsPerProblem[problem % 5] && problem < 99; ++s) {
            game.tickSecond();
        }
        if (problem == 99) {
            driver.then([](QWidget* prompt) {
                QTest::keyClicks(child<QLineEdit>(prompt, "Text1"), "Ann");
                QTest::keyClick(child<QLineEdit>(prompt, "Text1"), Qt::Key_Return);
            });
            driver.then([](QWidget* board) {
                QCOMPARE(child<QLabel>(board, "Label4")->text(), "Multiplication");
                QCOMPARE(child<QLabel>(board, "Label1_0")->text(), "2:45");
                QCOMPARE(child<QLabel>(board, "Label3_0")->text(), "Ann");
                clickChild(board, "Command2");
            });
            driver.then([&](QWidget* stats) {
                QCOMPARE(stats->objectName(), "frmStats");
                QCOMPARE(child<QLabel>(stats, "ShowTime")->text(), "2:45");
                QVERIFY(!child<QWidget>(stats, "Command4")->isHidden());
                QCOMPARE(game.label("CorrectLab"), "100");
                QCOMPARE(game.label("IncorrectLab"), "0");
                QVERIFY(!game.find<QTimer>("Timer1")->isActive());
                clickChild(stats, "Command3");
            });
            // 158 s of ticks so far; the last answer lands 7.6 s later, before any tick for it.
            game.runClock.advance(7600);
        }
        game.type(answer);
        game.enter();
    }
    QVERIFY(driver.finished());
    QVERIFY(driver.closedByForce().isEmpty());
    QCOMPARE(driver.dialogsSeen(),
             QStringList({ "frmSelect", "frmTopTime", "frmHighScores", "frmStats" }));
    QVERIFY(!game.answerBox()->isEnabled());
    QVERIFY(!game.shown("Label2"));
    QVERIFY(game.action("mnuStart")->isEnabled());
    QVERIFY(game.find<QMenu>("mnuTools")->isEnabled());
}

void MainWindowTest::practiceRunCountsWrongAnswers()
{
    Game game;
    ModalDialogDriver driver;
    driver.then([](QWidget* options) {
        auto* count = child<QLineEdit>(options, "Text1");
        count->selectAll();
        QTest::keyClicks(count, "8");
        clickChild(options, "Command1");
    });
    driver.then([](QWidget* selector) { clickChild(selector, "Command1_4"); });
    QTest::keyClick(&game.frmMain, Qt::Key_F6);
    QVERIFY(!game.basGlobals.TimedMode);
    QCOMPARE(game.basGlobals.PracticeProblemCount, 8);
    game.countDown();
    QVERIFY(game.shown("CorrectLab") && game.shown("IncorrectLab") && game.shown("ShowTime"));
    QVERIFY(!game.shown("Label2"));

    int problemsShown = 1;
    for (int answered = 0; answered < 15; ++answered) {
        const bool wrong = answered == 2 || answered == 3 || answered == 6 || answered == 9
            || answered == 10 || answered == 12 || answered == 13;
        const QString answer = rightAnswer(&game.frmMain);
        game.type(wrong ? QString::number(answer.toInt() + 1) : answer);
        game.tickSecond();
        if (answered == 14) {
            driver.then([&](QWidget* stats) {
                QCOMPARE(stats->windowTitle(), "Sumdash! Stats (PRACTICE):");
                QCOMPARE(child<QLabel>(stats, "CorrectLab")->text(), "8");
                QCOMPARE(child<QLabel>(stats, "IncorrectLab")->text(), "7");
                QCOMPARE(child<QLabel>(stats, "PercentLab")->text(), "53%");
                QCOMPARE(child<QLabel>(stats, "ShowTime")->text(), "0:15");
                QVERIFY(child<QWidget>(stats, "Command4")->isHidden());
                stats->close();
            });
        }
        game.enter();
        if (answered < 14) {
            ++problemsShown;
            QCOMPARE(game.label("IncorrectLab").toInt() + game.label("CorrectLab").toInt(),
                     answered + 1);
        }
    }
    QCOMPARE(problemsShown, 15);
    QVERIFY(driver.closedByForce().isEmpty());
}

void MainWindowTest::timedRunLocksCommandsEverywhere()
{
    Game game;
    ModalDialogDriver driver;
    driver.then([](QWidget* selector) { clickChild(selector, "Command1_0"); });
    game.find<QWidget>("dash")->setFocus();
    QTest::mouseClick(game.find<QWidget>("dash"), Qt::LeftButton);
    QVERIFY(game.basGlobals.TimedMode);
    game.countDown();

    for (const char* name : { "mnuStart", "mnuOptions", "mnuBestTimes", "mnuViewClub",
                              "mnuOnlineTimes", "mnuFactTimes" }) {
        QVERIFY2(!game.action(name)->isEnabled(), name);
    }
    QVERIFY(!game.find<QMenu>("mnuTools")->isEnabled());
    for (const char* key : { "practice", "club", "toptime" }) {
        QVERIFY2(!game.find(key)->isEnabled(), key);
    }
    for (const char* name : { "mnuDash", "mnuStop", "mnuExit", "mnuHome", "mnuAbout" }) {
        QVERIFY2(game.action(name)->isEnabled(), name);
    }
    QVERIFY(game.find("dash")->isEnabled() && game.find("stop")->isEnabled()
            && game.find("web")->isEnabled());

    // Locked commands' shortcut keys and buttons open nothing.
    QVERIFY(game.settle());
    QTest::keyClick(&game.frmMain, Qt::Key_F6);
    QTest::keyClick(&game.frmMain, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&game.frmMain, Qt::Key_F7);
    QTest::keyClick(&game.frmMain, Qt::Key_F8);
    QTest::keyClick(&game.frmMain, Qt::Key_F9);
    QTest::mouseClick(game.find("practice"), Qt::LeftButton);
    QTest::mouseClick(game.find("club"), Qt::LeftButton);
    QTest::mouseClick(game.find("toptime"), Qt::LeftButton);
    QVERIFY(driver.dialogsSeen().size() == 1);
    QVERIFY(game.find<QTimer>("Timer1")->isActive());

    QTRY_VERIFY(game.answerBox()->hasFocus());
    QTest::keyClick(game.answerBox(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!game.find<QTimer>("Timer1")->isActive());
    for (const char* name :
         { "mnuStart", "mnuOptions", "mnuBestTimes", "mnuViewClub", "mnuDash" }) {
        QVERIFY2(game.action(name)->isEnabled(), name);
    }
    for (const char* key : { "dash", "practice", "club", "toptime" }) {
        QVERIFY2(game.find(key)->isEnabled(), key);
    }
}

void MainWindowTest::practiceRunLocksOnlyTheTimedCommand()
{
    Game game;
    ModalDialogDriver driver;
    driver.then([](QWidget* options) { clickChild(options, "Command1"); });
    driver.then([](QWidget* selector) { clickChild(selector, "Command1_1"); });
    QTest::mouseClick(game.find("practice"), Qt::LeftButton);
    QVERIFY(!game.action("mnuDash")->isEnabled());
    QVERIFY(!game.find("dash")->isEnabled());
    for (const char* name : { "mnuStart", "mnuOptions", "mnuBestTimes", "mnuViewClub" }) {
        QVERIFY2(game.action(name)->isEnabled(), name);
    }
    QTest::keyClick(&game.frmMain, Qt::Key_F5);
    QCOMPARE(driver.dialogsSeen().size(), 2);
    QVERIFY(!game.basGlobals.TimedMode);
}

void MainWindowTest::cancelledSelectorLeavesTheRunGoing()
{
    Game game;
    ModalDialogDriver driver;
    game.startPractice(driver, "Command1_0");
    const QString answer = rightAnswer(&game.frmMain);
    game.type(answer);
    game.enter();
    game.tickSecond();
    game.tickSecond();
    const QString problem = game.label("NumLab") + game.label("OpLab") + game.label("DenLab");

    driver.then([](QWidget* options) { clickChild(options, "Command1"); });
    driver.then([](QWidget* selector) { selector->close(); });
    game.action("mnuStart")->trigger();
    QCOMPARE(game.basGlobals.DialogResult, -1);
    QCOMPARE(game.label("CorrectLab"), "1");
    QCOMPARE(game.label("ShowTime"), "0:02");
    QCOMPARE(game.label("NumLab") + game.label("OpLab") + game.label("DenLab"), problem);
    QVERIFY(game.find<QTimer>("Timer1")->isActive());
    QVERIFY(game.answerBox()->isEnabled());
    QVERIFY(driver.closedByForce().isEmpty());
}

void MainWindowTest::cancelledOptionsStartNoRun()
{
    Game game;
    ModalDialogDriver driver;
    driver.then([](QWidget* options) { options->close(); });
    QTest::keyClick(&game.frmMain, Qt::Key_F6);
    QCOMPARE(driver.dialogsSeen(), QStringList({ "frmOptions" }));

    // The options command alone never starts a run, even when confirmed.
    driver.then([](QWidget* options) { clickChild(options, "Command1"); });
    QVERIFY(game.settle());
    QTest::keyClick(&game.frmMain, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(driver.dialogsSeen(), QStringList({ "frmOptions", "frmOptions" }));
    QVERIFY(!game.find<QTimer>("Timer2")->isActive());
    QVERIFY(game.action("mnuDash")->isEnabled());
}

// A second start while "Set..." shows begins the countdown again, each step a whole second,
// rather than keeping the first countdown's rhythm ("Ready..." cut short, "Go!" early).
void MainWindowTest::restartDuringCountdownCountsFromAFreshSecond()
{
    Game game;
    ModalDialogDriver driver;
    driver.then([](QWidget* selector) { clickChild(selector, "Command1_2"); });
    game.action("mnuDash")->trigger();
    game.settle();
    game.frmMain.Timer2_Timer();
    QCOMPARE(game.label("lblStatus"), "Set...");
    auto* countdown = game.find<QTimer>("Timer2");
    QTest::qWait(500); // the child looks at "Set..." for half a second, then starts again
    QVERIFY(countdown->remainingTime() <= 500);

    driver.then([](QWidget* selector) { clickChild(selector, "Command1_2"); });
    game.action("mnuDash")->trigger();
    QCOMPARE(game.label("lblStatus"), "Ready...");
    QVERIFY(countdown->isActive());
    QVERIFY2(countdown->remainingTime() > 800,
             qPrintable(QString::number(countdown->remainingTime())));
}

void MainWindowTest::stopDuringCountdownAndDuringRun()
{
    Game game;
    ModalDialogDriver driver;
    driver.then([](QWidget* selector) { clickChild(selector, "Command1_0"); });
    game.action("mnuDash")->trigger();
    game.frmMain.Timer2_Timer();
    QTest::mouseClick(game.find("stop"), Qt::LeftButton);
    QVERIFY(!game.shown("pbStatus"));
    QVERIFY(!game.find<QTimer>("Timer2")->isActive());

    driver.then([](QWidget* selector) { clickChild(selector, "Command1_0"); });
    game.action("mnuDash")->trigger();
    QCOMPARE(game.label("lblStatus"), "Ready...");
    game.countDown();
    game.tickSecond();
    game.type("1");
    game.action("mnuStop")->trigger();
    QVERIFY(!game.find<QTimer>("Timer1")->isActive());
    QVERIFY(game.shown("AnsText"));
    QVERIFY(!game.answerBox()->isEnabled());
    QCOMPARE(game.answerBox()->text(), "1");
    QVERIFY(game.shown("UpRight"));
    QCOMPARE(game.label("ShowTime"), "0:01");
    QCOMPARE(driver.dialogsSeen(), QStringList({ "frmSelect", "frmSelect" }));
    // Stop when idle is harmless.
    game.action("mnuStop")->trigger();
    QVERIFY(game.action("mnuDash")->isEnabled());
}

void MainWindowTest::keypadDigitsAndEnterCount()
{
    Game game;
    ModalDialogDriver driver;
    game.startTimed(driver, "Command1_0");

    const QString answer = rightAnswer(&game.frmMain);
    for (QChar digit : answer) {
        QTest::keyClick(game.answerBox(), Qt::Key(Qt::Key_0 + digit.digitValue()),
                        Qt::KeypadModifier);
    }
    QCOMPARE(game.answerBox()->text(), answer);
    QTest::keyClick(game.answerBox(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(game.basGlobals.CorrectCount, 1);

    // The keypad without NumLock sends Home, arrows and the like: they type nothing.
    game.type("12");
    QTest::keyClick(game.answerBox(), Qt::Key_Home, Qt::KeypadModifier); // keypad 7
    QTest::keyClick(game.answerBox(), Qt::Key_Left, Qt::KeypadModifier); // keypad 4
    QCOMPARE(game.answerBox()->text(), "12");
}

// Every keyboard can answer: a layout that types digits of its own script (Persian, Arabic,
// Devanagari, Bengali, full-width) gives the same answer as the ASCII digits would.
void MainWindowTest::digitsOfEveryScriptAnswer()
{
    Game game;
    ModalDialogDriver driver;
    game.startTimed(driver, "Command1_0");
    const auto typeIn = [&](char16_t zero, const QString& digits) {
        for (QChar digit : digits) {
            const QString typed(QChar(zero + digit.digitValue()));
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
            QApplication::sendEvent(game.answerBox(), &press);
        }
    };
    int answered = 0;
    for (const char16_t zero : { u'\u06F0', u'\u0660', u'\u0966', u'\u09E6', u'\uFF10' }) {
        const QString answer = rightAnswer(&game.frmMain);
        typeIn(zero, answer);
        QCOMPARE(game.answerBox()->text(), answer);
        game.enter();
        QCOMPARE(game.basGlobals.CorrectCount, ++answered);
    }
    // A digit outside the basic plane (mathematical bold) counts too; look-alikes do not.
    const QString answer = rightAnswer(&game.frmMain);
    for (QChar digit : answer) {
        const QString bold
            = QString::fromUcs4(std::u32string(1, U'\U0001D7CE' + digit.digitValue()).c_str(), 1);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, bold);
        QApplication::sendEvent(game.answerBox(), &press);
    }
    QCOMPARE(game.answerBox()->text(), answer);
    for (const QString& lookAlike :
         { QString(u'\u00B2'), QString(u'\u2460'), QString(u'\u0662') + u'1' }) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, lookAlike);
        QApplication::sendEvent(game.answerBox(), &press);
    }
    QCOMPARE(game.answerBox()->text(), answer);
}

void MainWindowTest::answerBoxTakesNothingButKeys()
{
    Game game;
    ModalDialogDriver driver;
    game.startTimed(driver, "Command1_0");
    QLineEdit* box = game.answerBox();
    QGuiApplication::clipboard()->setText(QStringLiteral("42"));
    QGuiApplication::clipboard()->setText(QStringLiteral("42"), QClipboard::Selection);

    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::mouseClick(box, Qt::MiddleButton);
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("7"));
    QApplication::sendEvent(box, &composed);
    QCOMPARE(box->text(), "");
    QCOMPARE(box->contextMenuPolicy(), Qt::NoContextMenu);
    QVERIFY(!box->acceptDrops());
    QVERIFY(!box->testAttribute(Qt::WA_InputMethodEnabled));
    game.type("5");
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier); // no undo either
    QCOMPARE(box->text(), "5");
}

void MainWindowTest::shortcutKeysWorkWhileTyping()
{
    // The answer box must not swallow the window's shortcut keys: Ctrl+E exits from it.
    Game game;
    ModalDialogDriver driver;
    game.startTimed(driver, "Command1_0");
    QTRY_VERIFY(game.answerBox()->hasFocus());
    QTest::keyClick(game.answerBox(), Qt::Key_E, Qt::ControlModifier);
    QTRY_VERIFY(!game.frmMain.isVisible());
    QVERIFY(driver.closedByForce().isEmpty());
}

void MainWindowTest::optionsDuringPracticeChangeTheRowAtOnce()
{
    Game game;
    ModalDialogDriver driver;
    game.startPractice(driver, "Command1_0");
    QVERIFY(game.shown("IncorrectLab"));

    driver.then([&](QWidget* options) {
        child<QCheckBox>(options, "Check3")->setChecked(true);
        child<QCheckBox>(options, "Check1")->setChecked(true);
        child<QLineEdit>(options, "Text1")->setText("x");
        clickChild(options, "Command1");
        // Rejected, yet the row already follows the switches.
        QVERIFY(!game.shown("IncorrectLab"));
        QVERIFY(!game.shown("Label3"));
        QVERIFY(!game.shown("ShowTime"));
        QVERIFY(game.shown("CorrectLab"));
        options->close();
    });
    driver.then([](QWidget* message) { qobject_cast<QDialog*>(message)->accept(); });
    QVERIFY(game.settle());
    QTest::keyClick(&game.frmMain, Qt::Key_O, Qt::ControlModifier);
    QVERIFY(driver.finished());
    QVERIFY(driver.closedByForce().isEmpty());
    QVERIFY(game.basGlobals.OnlyAllowCorrect);
    QCOMPARE(game.basGlobals.PracticeProblemCount, 100);
    QVERIFY(!game.shown("IncorrectLab"));

    // A wrong answer now must be retyped.
    game.type(QString::number(rightAnswer(&game.frmMain).toInt() + 1));
    QTest::keyPress(game.answerBox(), Qt::Key_Return);
    QVERIFY(game.shown("WrongAns"));
    QCOMPARE(game.basGlobals.IncorrectCount, 0);
}

void MainWindowTest::pageClickReturnsTheFocus()
{
    Game game;
    QTest::mouseClick(game.find("Picture1"), Qt::LeftButton, {}, QPoint(300, 200));
    QVERIFY(!game.answerBox()->hasFocus()); // hidden before the first run

    ModalDialogDriver driver;
    game.startTimed(driver, "Command1_0");
    game.find("stop")->setFocus();
    QVERIFY(!game.answerBox()->hasFocus());
    QTest::mouseClick(game.find("Picture1"), Qt::LeftButton, {}, QPoint(300, 200));
    QTRY_VERIFY(game.answerBox()->hasFocus());
}

void MainWindowTest::recordsCommandsOpenTheBoards()
{
    // F7 and the toolbar's "toptime" open the top times, F8 and "club" the club, on the last
    // run's type.
    Game game;
    game.basGlobals.ProblemType = 4;
    QVERIFY(game.records.club.SaveClubRecord(clubRecordText("Ann", "1:23", "Division")));
    ModalDialogDriver driver;
    auto expectBoard = [&](const char* name) {
        driver.then([name](QWidget* board) {
            QCOMPARE(board->objectName(), name);
            board->close();
        });
    };
    expectBoard("frmHighScores");
    QTest::keyClick(&game.frmMain, Qt::Key_F7);
    QVERIFY(game.settle());
    driver.then([](QWidget* board) {
        QCOMPARE(board->objectName(), "frmClub");
        auto* grid = child<QTableView>(board, "MSFlexGrid1");
        QCOMPARE(grid->model()->index(1, 0).data().toString(), "Ann");
        board->close();
    });
    QTest::keyClick(&game.frmMain, Qt::Key_F8);
    expectBoard("frmHighScores");
    QTest::mouseClick(game.find("toptime"), Qt::LeftButton);
    expectBoard("frmClub");
    QTest::mouseClick(game.find("club"), Qt::LeftButton);
    QVERIFY(driver.finished());
    QCOMPARE(driver.dialogsSeen(),
             QStringList({ "frmHighScores", "frmClub", "frmHighScores", "frmClub" }));
    QVERIFY(driver.closedByForce().isEmpty());
}

void MainWindowTest::longPracticeClockStaysWhole()
{
    Game game;
    ModalDialogDriver driver;
    game.startPractice(driver, "Command1_0");
    for (int second = 0; second < 725; ++second) {
        game.tickSecond();
    }
    auto* clock = game.find<QLabel>("ShowTime");
    QCOMPARE(clock->text(), "12:05");
    QVERIFY(clock->width() >= clock->fontMetrics().horizontalAdvance(clock->text()));
    QVERIFY(clock->geometry().right() < game.frmMain.centralWidget()->width());
    QVERIFY(clock->x() > game.find("IncorrectLab")->geometry().right());
}

void MainWindowTest::screenReaderHearsProblemsAndAlerts()
{
    // The problem is one text in words, renewed with each problem, on the page and as the
    // answer box's description; the wrong-answer mark and the end of a run carry words too.
    Game game;
    game.basGlobals.PracticeProblemCount = 2;
    ModalDialogDriver driver;
    game.startPractice(driver, "Command1_2");
    auto* page = game.find("Picture1");
    const QString first = game.label("NumLab") + " times " + game.label("DenLab");
    QCOMPARE(page->accessibleName(), first);
    QCOMPARE(game.answerBox()->accessibleDescription(), first);
    QCOMPARE(game.find("WrongAns")->accessibleName(), "Wrong answer, try again");
    // A notification is what a Linux screen reader speaks when it appears.
    QCOMPARE(QAccessible::queryAccessibleInterface(game.find("WrongAns"))->role(),
             QAccessible::Notification);
    QCOMPARE(QAccessible::queryAccessibleInterface(game.find("WrongAns"))->text(QAccessible::Name),
             "Wrong answer, try again");

    game.type(rightAnswer(&game.frmMain));
    game.enter();
    const QString second = game.label("NumLab") + " times " + game.label("DenLab");
    QCOMPARE(page->accessibleName(), second);
    QCOMPARE(game.answerBox()->accessibleDescription(), second);
    driver.then([](QWidget* stats) { stats->close(); });
    game.type(rightAnswer(&game.frmMain));
    game.enter();
    QCOMPARE(page->accessibleDescription(), "Finished! Time " + game.label("ShowTime"));
    for (const char* picture : { "Image1", "Label2" }) {
        QVERIFY2(!game.find(picture)->accessibleName().isEmpty(), picture);
    }
}

void MainWindowTest::splashClosesOnItsTimerAlone()
{
    SplashWindow splash;
    auto* logotime = child<QTimer>(&splash, "logotime");
    QVERIFY(logotime);
    QVERIFY(!logotime->isActive());
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    QVERIFY(logotime->isActive());
    QTest::keyClick(&splash, Qt::Key_Escape);
    QTest::mouseClick(&splash, Qt::LeftButton);
    splash.close();
    QVERIFY(splash.isVisible());
    splash.logotime_Timer();
    QVERIFY(!splash.isVisible());
    QVERIFY(!logotime->isActive());
}

void MainWindowTest::splashIsUpBeforeTheGameIsBuilt()
{
    // The start-up order of main(): the splash on screen first, the main window built while it
    // shows, and shown once the splash has closed.
    SplashWindow frmLogo;
    frmLogo.showAtOnce();
    QVERIFY(frmLogo.isVisible());
    QVERIFY(frmLogo.windowHandle()->isExposed());
    QVERIFY(child<QTimer>(&frmLogo, "logotime")->isActive());

    BuiltGame<> game;
    QVERIFY(!game.frmMain.isVisible());
    bool mainHiddenWhileSplashShows = false;
    QTimer::singleShot(0, &frmLogo, [&] {
        mainHiddenWhileSplashShows = frmLogo.isVisible() && !game.frmMain.isVisible();
        frmLogo.logotime_Timer();
    });
    game.frmMain.Form_Load(frmLogo);
    QVERIFY(mainHiddenWhileSplashShows);
    QVERIFY(!frmLogo.isVisible());
    QVERIFY(game.frmMain.isVisible());
    QCOMPARE(game.basGlobals.PracticeProblemCount, 100);

    // A splash whose time ran out while the game was still being built does not come back.
    SplashWindow early;
    early.showAtOnce();
    early.logotime_Timer();
    BuiltGame<> second;
    second.frmMain.Form_Load(early);
    QVERIFY(!early.isVisible());
    QVERIFY(second.frmMain.isVisible());
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
