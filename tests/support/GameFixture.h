// The real main window as a window test plays it: shown, found by name, keys and ticks by hand.
#pragma once

#include "testing/BuiltGame.h"
#include "testing/ModalDialogDriver.h"
#include "tests/support/ChildNamed.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

struct Game : BuiltGame<>
{
    Game()
    {
        frmMain.Form_Load(MainWindow::Splash::Skip);
        QVERIFY(QTest::qWaitForWindowActive(&frmMain));
    }

    template<typename T = QWidget> T* find(const char* name) { return child<T>(&frmMain, name); }
    QAction* action(const char* name) { return find<QAction>(name); }
    QLineEdit* answerBox() { return find<QLineEdit>("AnsText"); }
    QString label(const char* name) { return find<QLabel>(name)->text(); }
    bool shown(const char* name) { return !find(name)->isHidden(); }

    /// Back to the main window once a dialog has closed, as the window manager would bring it.
    bool settle() { return QTest::qWaitForWindowActive(&frmMain); }

    /// Fires the countdown's three ticks; the run clock starts at the third.
    void countDown()
    {
        settle();
        for (int i = 0; i < 3; ++i) {
            frmMain.Timer2_Timer();
        }
    }
    /// One second of run time, with its clock tick.
    void tickSecond()
    {
        runClock.advance(1000);
        frmMain.Timer1_Timer();
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
