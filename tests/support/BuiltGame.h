// The real main window as a test plays it: temporary records, recording browser, ticks by hand.
#pragma once

#include "app/MainWindow.h"
#include "engine/ClockSeededRandom.h"
#include "engine/GameState.h"
#include "tests/support/ChildNamed.h"
#include "tests/support/FakeSystemInfo.h"
#include "tests/support/ManualRunClock.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/RecordingBrowser.h"
#include "tests/support/TempRecords.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

// The same problems every time: the real generator with its clock frozen.
inline std::uint64_t frozenClock()
{
    return 7;
}

// The expected answer, worked out from the page's hidden operand labels and the operator.
inline QString rightAnswer(QWidget* window)
{
    const int top = child<QLabel>(window, "NumLab")->text().toInt();
    const int bottom = child<QLabel>(window, "DenLab")->text().toInt();
    const QString op = child<QLabel>(window, "OpLab")->property("operatorText").toString();
    if (op == "+") {
        return QString::number(top + bottom);
    }
    if (op == "-") {
        return QString::number(top - bottom);
    }
    if (op == "x") {
        return QString::number(top * bottom);
    }
    return QString::number(top / bottom);
}

/// The real main window and what it is built from, built but not yet started. The stopwatch is
/// the test's choice: one advanced by hand, or the real one.
template<typename Stopwatch = ManualRunClock>
struct BuiltGame
{
    GameState globals;
    ClockSeededRandom random { frozenClock };
    Stopwatch clock;
    TempRecords records;
    RecordingBrowser browser;
    FakeSystemInfo systemInfo;
    MainWindow window { globals, random, clock, records.stores(), DesktopServices { browser, systemInfo } };
};

struct Game : BuiltGame<>
{
    Game()
    {
        window.Form_Load(MainWindow::Splash::Skip);
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    template<typename T = QWidget>
    T* find(const char* name)
    {
        return child<T>(&window, name);
    }
    QAction* action(const char* name) { return find<QAction>(name); }
    QLineEdit* answerBox() { return find<QLineEdit>("AnsText"); }
    QString label(const char* name) { return find<QLabel>(name)->text(); }
    bool shown(const char* name) { return !find(name)->isHidden(); }

    /// Back to the main window once a dialog has closed, as the window manager would bring it.
    bool settle() { return QTest::qWaitForWindowActive(&window); }

    /// Fires the countdown's three ticks; the run clock starts at the third.
    void countDown()
    {
        settle();
        for (int i = 0; i < 3; ++i) {
            window.Timer2_Timer();
        }
    }
    /// One second of run time, with its clock tick.
    void tickSecond()
    {
        clock.advance(1000);
        window.Timer1_Timer();
    }
    /// A timed run of the type whose selector button is given, through "Go!".
    void startTimed(ModalDialogDriver& driver, const char* typeButton)
    {
        driver.then([typeButton](QWidget* selector) { clickChild(selector, typeButton); });
        action("mnuDash")->trigger();
        countDown();
    }
    /// A practice run with the options as they stand, through "Go!".
    void startPractice(ModalDialogDriver& driver, const char* typeButton)
    {
        driver.then([](QWidget* options) { clickChild(options, "Command1"); });
        driver.then([typeButton](QWidget* selector) { clickChild(selector, typeButton); });
        action("mnuStart")->trigger();
        countDown();
    }
    void type(const QString& keys) { QTest::keyClicks(answerBox(), keys); }
    void enter() { QTest::keyClick(answerBox(), Qt::Key_Return); }
};

