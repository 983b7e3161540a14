// The game as a child meets it on a real X server: every key goes in through XTEST, through the
// server's keymap and input focus, and the real timers run. The test only watches the widgets.
#include "app/MainWindow.h"
#include "assets/DesignFonts.h"
#include "engine/RunClock.h"
#include "records/ClubFile.h"
#include "records/TopTimes.h"
#include "testing/BuiltGame.h"
#include "tests/e2e/KeyboardScript.h"
#include "tests/e2e/XKeyboard.h"
#include "tests/support/ChildNamed.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <X11/keysym.h>
#include <functional>

namespace {

// The game with its real stopwatch and timers; only the stores and the desktop are stand-ins.
struct LiveGame : BuiltGame<SteadyRunClock>
{
    QLineEdit* answerBox() { return child<QLineEdit>(&frmMain, "AnsText"); }
    QString label(const char* name) { return child<QLabel>(&frmMain, name)->text(); }
    bool shown(const char* name) { return child<QWidget>(&frmMain, name)->isVisible(); }
    /// The main window has the keyboard and no dialog is up.
    bool idleAndActive()
    {
        return QApplication::activeModalWidget() == nullptr
            && QApplication::activeWindow() == &frmMain;
    }
    /// The answer box has the keyboard, empty, waiting for the next answer.
    bool waitingForAnswer(int answered)
    {
        return basGlobals.CorrectCount + basGlobals.IncorrectCount == answered
            && answerBox()->isEnabled() && answerBox()->hasFocus() && answerBox()->text().isEmpty();
    }
};

// The window named, once it has the keyboard and is on screen.
QWidget* activeWindowNamed(const char* name)
{
    QWidget* active = QApplication::activeWindow();
    if (active == nullptr || active->objectName() != QLatin1String(name)
        || active->windowHandle() == nullptr || !active->windowHandle()->isExposed()) {
        return nullptr;
    }
    return active;
}

bool focusIs(const char* name)
{
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && focus->objectName() == QLatin1String(name);
}

template<typename T> T* childOf(const char* window, const char* name)
{
    QWidget* active = activeWindowNamed(window);
    return active == nullptr ? nullptr : active->findChild<T*>(QString::fromLatin1(name));
}

// The whole X screen, as the server holds it, for a person to look at afterwards.
class ScreenRecorder
{
public:
    explicit ScreenRecorder(const QString& scenario)
        : m_dir(QStringLiteral(SUMDASH_E2E_SCREENSHOT_DIR "/") + scenario)
    {
        QDir(m_dir).removeRecursively();
        QDir().mkpath(m_dir);
    }

    void shoot(const QString& what)
    {
        // Paint everything now: a grab must not catch a window between two frames.
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible()) {
                window->repaint();
            }
        }
        const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
        const QString path
            = QStringLiteral("%1/%2-%3.png").arg(m_dir).arg(++m_count, 2, 10, QChar('0')).arg(what);
        QVERIFY2(!screen.isNull() && screen.save(path), qPrintable(path));
    }

private:
    QString m_dir;
    int m_count = 0;
};

// Runs setxkbmap on the test's display; the layout changes for the game as for a person.
bool setLayout(const QString& layout)
{
    return QProcess::execute(QStringLiteral("setxkbmap"), { QStringLiteral("-layout"), layout })
        == 0;
}

/// Counts the presses of Enter that reach the program's windows, held or not: a held key comes
/// as presses that Qt does not always mark as repeats.
class EnterPressCounter final : public QObject
{
public:
    EnterPressCounter() { QApplication::instance()->installEventFilter(this); }
    int presses = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && watched->isWindowType()
            && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return) {
            ++presses;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class EndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void timedRunByKeyboardToTheBoards();
    void practiceRunWithWrongAnswers();
    void shortcutsAndTheirLocks();
    void keypadWithNumLock();
    void frenchKeyboardNeedsShiftForDigits();
    void persianAndHindiKeyboardsTypeTheirOwnDigits();

private:
    void startRun(KeyboardScript& script, LiveGame& game, ScreenRecorder& screen,
                  unsigned long shortcut, int typeButton);
    /// Steps answering problems [first, last) as they come, each typed and entered by answer().
    static void answerEach(KeyboardScript& script, LiveGame& game, int first, int last,
                           const std::function<void(const QString& answer)>& answer);
    void play(KeyboardScript& script, ScreenRecorder& screen);

    /// Types each digit with the key in its place on the top row, whatever the layout calls it.
    void typeOnTopRow(const QString& digits, bool shift);

    std::unique_ptr<XKeyboard> m_keys;
    unsigned m_topRowOne = 0; ///< the keycode of the top row's "1" key
};

void EndToEndTest::initTestCase()
{
    QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"),
             "these tests need a real X server: run them through tests/e2e/with-x-server.sh");
    m_keys = std::make_unique<XKeyboard>();
    QVERIFY2(m_keys->connected(), "no XTEST on the display");
    QVERIFY(setLayout(QStringLiteral("us")));
    m_keys->reloadKeymap();
    m_topRowOne = m_keys->keycodeOf(XK_1);
    QVERIFY(m_topRowOne != 0 && m_keys->keycodeOf(XK_0) == m_topRowOne + 9);
    registerDesignFonts();
}

void EndToEndTest::typeOnTopRow(const QString& digits, bool shift)
{
    for (const QChar digit : digits) {
        const int value = digit.digitValue();
        m_keys->tapKeycode(m_topRowOne + static_cast<unsigned>(value == 0 ? 9 : value - 1), shift);
    }
}

void EndToEndTest::cleanup()
{
    setLayout(QStringLiteral("us"));
    m_keys->reloadKeymap();
    m_keys->setNumLock(false);
}

// Runs the script to its end; a dialog a failed step left open is closed, so nothing hangs.
void EndToEndTest::play(KeyboardScript& script, ScreenRecorder& screen)
{
    script.start();
    QTRY_VERIFY_WITH_TIMEOUT(script.done(), 300000);
    if (!script.failure().isEmpty()) {
        screen.shoot(QStringLiteral("after-failure"));
    }
    QVERIFY2(script.failure().isEmpty(), qPrintable(script.failure()));
}

// From the idle main window through the type selector (by Tab and Space) and the countdown,
// to the first problem waiting for its answer.
void EndToEndTest::startRun(KeyboardScript& script, LiveGame& game, ScreenRecorder& screen,
                            unsigned long shortcut, int typeButton)
{
    XKeyboard& keys = *m_keys;
    script.when(
        "the main window has the keyboard", [&] { return game.idleAndActive(); },
        [&keys, shortcut] { QVERIFY(keys.tap(shortcut)); });
    if (shortcut == XK_F6) {
        // Five problems: Tab to the count, whose text Tab selects, type over it, Tab to OK and
        // Enter (the dialog has no default button: Enter in the count presses nothing).
        script.when(
            "the practice options", [] { return activeWindowNamed("frmOptions") != nullptr; },
            [&] { screen.shoot(QStringLiteral("frmOptions")); });
        script.until(
            "the focus in the number of problems", [] { return focusIs("Text1"); },
            [&keys] { QVERIFY(keys.tap(XK_Tab)); });
        script.when(
            "the count selected",
            [] { return childOf<QLineEdit>("frmOptions", "Text1")->hasSelectedText(); },
            [&keys] {
                QVERIFY(keys.type(QStringLiteral("5")));
                QVERIFY(keys.tap(XK_Return));
            });
        script.when(
            "the count typed, Enter ignored",
            [] { return focusIs("Text1") && activeWindowNamed("frmOptions") != nullptr; },
            [&keys] { QVERIFY(keys.tap(XK_Tab)); });
        script.when(
            "OK has the keyboard", [] { return focusIs("Command1"); },
            [&keys] { QVERIFY(keys.tap(XK_Return)); });
    }
    const QByteArray button = QByteArrayLiteral("Command1_") + QByteArray::number(typeButton);
    script.when(
        "the type selector",
        [] { return activeWindowNamed("frmSelect") != nullptr && focusIs("Command1_0"); },
        [&screen, &keys, typeButton] {
            screen.shoot(QStringLiteral("frmSelect"));
            for (int i = 0; i < typeButton; ++i) {
                QVERIFY(keys.tap(XK_Tab));
            }
        });
    script.when(
        "the focus on " + button, [button] { return focusIs(button.constData()); },
        [&keys] { QVERIFY(keys.tap(XK_space)); });
    script.when(
        "the countdown", [&] { return game.shown("pbStatus"); },
        [&] { screen.shoot(QStringLiteral("countdown")); });
    // The timed run's page carries its "Sumdash!" banner; a practice page has none.
    const bool timed = shortcut == XK_F5;
    script.when(
        "the first problem",
        [&game, timed] { return game.shown("Label2") == timed && game.waitingForAnswer(0); },
        [&] { screen.shoot(QStringLiteral("first-problem")); });
}

void EndToEndTest::answerEach(KeyboardScript& script, LiveGame& game, int first, int last,
                              const std::function<void(const QString& answer)>& answer)
{
    for (int problem = first; problem < last; ++problem) {
        script.when(
            QStringLiteral("problem %1").arg(problem + 1),
            [&game, problem] { return game.waitingForAnswer(problem); },
            [&game, answer] { answer(rightAnswer(&game.frmMain)); });
    }
}

void EndToEndTest::timedRunByKeyboardToTheBoards()
{
    LiveGame game;
    ScreenRecorder screen(QStringLiteral("timed-run"));
    KeyboardScript script;
    XKeyboard& keys = *m_keys;

    script.when(
        "the splash", [] { return activeWindowNamed("frmLogo") != nullptr; },
        [&] { screen.shoot(QStringLiteral("frmLogo")); });
    script.when(
        "the main window after the splash", [&] { return game.idleAndActive(); },
        [&] { screen.shoot(QStringLiteral("frmMain")); });
    startRun(script, game, screen, XK_F5, 2);

    // The stopwatch read just before the last Enter and once the run has ended: the run's time
    // must lie between the two, in whole seconds.
    std::int64_t beforeLastAnswer = 0;
    std::int64_t afterLastAnswer = 0;

    // 100 multiplications; the fifth is first answered wrong, with Enter held while the X shows.
    for (int problem = 0; problem < 100; ++problem) {
        if (problem == 4) {
            script.when(
                "problem 5, to answer wrong", [&] { return game.waitingForAnswer(4); },
                [&] {
                    QVERIFY(keys.type(QString::number(rightAnswer(&game.frmMain).toInt() + 1)));
                    QVERIFY(keys.press(XK_Return));
                });
            script.when(
                "the red X while Enter is held", [&] { return game.shown("WrongAns"); },
                [&] {
                    QVERIFY(game.answerBox()->text().isEmpty());
                    screen.shoot(QStringLiteral("wrong-answer"));
                    QVERIFY(keys.release(XK_Return));
                });
            script.when("the red X gone with Enter up", [&] { return !game.shown("WrongAns"); });
        }
        script.when(
            QStringLiteral("problem %1").arg(problem + 1),
            [&game, problem] { return game.waitingForAnswer(problem); },
            [&, problem] {
                QVERIFY(!game.shown("CorrectLab") && !game.shown("ShowTime"));
                QVERIFY(keys.type(rightAnswer(&game.frmMain)));
                if (problem == 99) {
                    beforeLastAnswer = game.runClock.elapsedMs();
                    QVERIFY(keys.press(XK_Return)); // held on into the name prompt
                } else {
                    QVERIFY(keys.tap(XK_Return));
                }
            });
    }

    // The run ends in the results; a time under 3:00 asks for a name, then shows the board. The
    // Enter of the last answer is still held there: its repeats must not take "Your Name".
    QString runTime;
    EnterPressCounter held;
    int repeatsBeforePrompt = 0;
    script.when(
        "the name prompt for the top time",
        [] { return activeWindowNamed("frmTopTime") != nullptr && focusIs("Text1"); },
        [&] {
            afterLastAnswer = game.runClock.elapsedMs();
            repeatsBeforePrompt = held.presses;
            QCOMPARE(game.basGlobals.CorrectCount, 100);
            screen.shoot(QStringLiteral("frmTopTime"));
        });
    script.when(
        "Enter repeating in the name prompt",
        [&] { return held.presses >= repeatsBeforePrompt + 3; },
        [&] {
            QVERIFY(activeWindowNamed("frmTopTime") != nullptr);
            QCOMPARE(childOf<QLineEdit>("frmTopTime", "Text1")->selectedText(), "Your Name");
            QVERIFY(keys.release(XK_Return));
            QVERIFY(keys.type(QStringLiteral("Ann Lee")));
            QVERIFY(keys.tap(XK_Return));
        });
    script.when(
        "the top-times board", [] { return activeWindowNamed("frmHighScores") != nullptr; },
        [&] {
            QCOMPARE(childOf<QLabel>("frmHighScores", "Label4")->text(), "Multiplication");
            QCOMPARE(childOf<QLabel>("frmHighScores", "Label3_0")->text(), "Ann Lee");
            runTime = childOf<QLabel>("frmHighScores", "Label1_0")->text();
            screen.shoot(QStringLiteral("frmHighScores"));
            QVERIFY(keys.tap(XK_Escape));
        });
    script.when(
        "the results with Join focused",
        [] { return activeWindowNamed("frmStats") != nullptr && focusIs("Command4"); },
        [&] {
            QCOMPARE(childOf<QLabel>("frmStats", "ShowTime")->text(), runTime);
            // The clock showed what the stopwatch counted: whole seconds since "Go!".
            const QStringList minutesAndSeconds = runTime.split(':');
            QCOMPARE(minutesAndSeconds.size(), 2);
            const int seconds = minutesAndSeconds[0].toInt() * 60 + minutesAndSeconds[1].toInt();
            QVERIFY2(seconds >= beforeLastAnswer / 1000 && seconds <= afterLastAnswer / 1000,
                     qPrintable(QStringLiteral("%1 s shown, %2 to %3 ms counted")
                                    .arg(seconds)
                                    .arg(beforeLastAnswer)
                                    .arg(afterLastAnswer)));
            screen.shoot(QStringLiteral("frmStats"));
            QVERIFY(keys.tap(XK_space));
        });
    script.when(
        "the name prompt for the club",
        [] { return activeWindowNamed("frmTopTime") != nullptr && focusIs("Text1"); },
        [&] {
            screen.shoot(QStringLiteral("frmTopTime-club"));
            QVERIFY(keys.type(QStringLiteral("Ann & Bo")));
            QVERIFY(keys.tap(XK_Return));
        });
    script.when(
        "the club board", [] { return activeWindowNamed("frmClub") != nullptr; },
        [&] {
            auto* grid = childOf<QTableView>("frmClub", "MSFlexGrid1");
            QCOMPARE(grid->model()->rowCount(), 2); // the heading row, then the new member
            QCOMPARE(grid->model()->index(1, 0).data().toString(), "Ann & Bo");
            QCOMPARE(grid->model()->index(1, 1).data().toString(), runTime);
            screen.shoot(QStringLiteral("frmClub"));
            QVERIFY(keys.tap(XK_Escape));
        });
    script.when(
        "the results again", [] { return activeWindowNamed("frmStats") != nullptr; },
        [&] {
            screen.shoot(QStringLiteral("frmStats-joined"));
            QVERIFY(keys.tap(XK_Escape));
        });
    script.when("back at the main window", [&] { return game.idleAndActive(); });

    QTimer::singleShot(0, &game.frmMain, [&] { game.frmMain.Form_Load(MainWindow::Splash::Show); });
    play(script, screen);

    const auto club = game.records.club.read();
    QVERIFY(club.has_value());
    QCOMPARE(club->size(), std::size_t { 1 });
    QCOMPARE(club->front().name, "Ann & Bo");
    const TopTimeTables tables = loadTopTimes(game.records.topTimes);
    QCOMPARE(tables.tables[2].names[0], "Ann Lee");
}

void EndToEndTest::practiceRunWithWrongAnswers()
{
    LiveGame game;
    ScreenRecorder screen(QStringLiteral("practice-run"));
    KeyboardScript script;
    XKeyboard& keys = *m_keys;
    startRun(script, game, screen, XK_F6, 0);

    // Five right answers to end the run, three wrong ones among them; each counts at once.
    const bool wrong[] = { false, true, false, true, true, false, false, false };
    for (int answered = 0; answered < 8; ++answered) {
        script.when(
            QStringLiteral("answer %1").arg(answered + 1),
            [&game, answered] { return game.waitingForAnswer(answered); },
            [&, answered] {
                QCOMPARE(game.label("CorrectLab").toInt() + game.label("IncorrectLab").toInt(),
                         answered);
                const int right = rightAnswer(&game.frmMain).toInt();
                QVERIFY(keys.type(QString::number(wrong[answered] ? right + 1 : right)));
                if (answered == 3) {
                    screen.shoot(QStringLiteral("practice-typing"));
                }
                QVERIFY(keys.tap(XK_Return));
            });
    }
    script.when(
        "the practice results", [] { return activeWindowNamed("frmStats") != nullptr; },
        [&] {
            QCOMPARE(childOf<QLabel>("frmStats", "CorrectLab")->text(), "5");
            QCOMPARE(childOf<QLabel>("frmStats", "IncorrectLab")->text(), "3");
            QCOMPARE(childOf<QLabel>("frmStats", "PercentLab")->text(), "62%");
            QVERIFY(childOf<QWidget>("frmStats", "Command4")->isHidden());
            screen.shoot(QStringLiteral("frmStats-practice"));
            QVERIFY(keys.tap(XK_Escape));
        });
    // The run's facts in the Fact Times window, walked by the keyboard: Tab from the operation
    // tabs into the grid, an arrow key down to the next square.
    script.when(
        "back at the main window", [&] { return game.idleAndActive(); },
        [&keys] { QVERIFY(keys.tap(XK_F9)); });
    script.when(
        "the Fact Times window", [] { return activeWindowNamed("frmFactTimes") != nullptr; },
        [&] {
            screen.shoot(QStringLiteral("frmFactTimes"));
            QVERIFY(
                childOf<QLabel>("frmFactTimes", "lblKnown")->text().endsWith(" of 91")); // Addition
            QVERIFY(keys.tap(XK_Tab));
        });
    script.when(
        "the first square has the keyboard", [] { return focusIs("fact_0_0"); },
        [&keys] { QVERIFY(keys.tap(XK_Down)); });
    script.when(
        "the square below it", [] { return focusIs("fact_1_0"); },
        [&keys] {
            QVERIFY(QApplication::focusWidget()->accessibleName().startsWith("1 plus 0: "));
            QVERIFY(keys.tap(XK_Escape));
        });
    script.when("back at the main window at the end", [&] { return game.idleAndActive(); });

    game.frmMain.Form_Load(MainWindow::Splash::Skip);
    play(script, screen);
    QCOMPARE(game.basGlobals.PracticeProblemCount, 5);
    QCOMPARE(game.basGlobals.IncorrectCount, 3);
}

void EndToEndTest::shortcutsAndTheirLocks()
{
    LiveGame game;
    ScreenRecorder screen(QStringLiteral("shortcuts"));
    KeyboardScript script;
    XKeyboard& keys = *m_keys;

    // Idle: every record window and the options open from their keys, and Escape closes them.
    const struct
    {
        unsigned long modifier;
        unsigned long key;
        const char* window;
    } opens[] = { { 0, XK_F7, "frmHighScores" },
                  { 0, XK_F8, "frmClub" },
                  { XK_Control_L, XK_o, "frmOptions" } };
    for (const auto& open : opens) {
        script.when(
            QStringLiteral("idle, to open %1").arg(open.window),
            [&] { return game.idleAndActive(); },
            [&keys, open] {
                QVERIFY(open.modifier == 0 ? keys.tap(open.key)
                                           : keys.chord(open.modifier, open.key));
            });
        script.when(
            open.window, [open] { return activeWindowNamed(open.window) != nullptr; },
            [&screen, &keys, open] {
                screen.shoot(QString::fromLatin1(open.window));
                QVERIFY(keys.tap(XK_Escape));
            });
    }
    startRun(script, game, screen, XK_F5, 0);

    // During a timed run these keys are locked: none may open a window or stop the clock. The
    // digit typed after them arrives last, so once it shows, they have all been handled.
    script.when(
        "the run going", [&] { return game.waitingForAnswer(0); },
        [&] {
            QVERIFY(keys.tap(XK_F6));
            QVERIFY(keys.chord(XK_Control_L, XK_o));
            QVERIFY(keys.tap(XK_F7));
            QVERIFY(keys.tap(XK_F8));
            QVERIFY(keys.chord(XK_Control_L, XK_t));
            QVERIFY(keys.tap(XK_F5)); // a second timed run may be asked for: the selector opens
        });
    // Whichever window comes up first must be the selector: a locked key opening its window
    // fails here at once.
    script.when(
        "a window over the running game",
        [] { return QApplication::activeModalWidget() != nullptr; },
        [&] {
            QCOMPARE(QApplication::activeModalWidget()->objectName(), "frmSelect");
            QVERIFY(game.browser.addresses.isEmpty());
        });
    script.when(
        "the selector on screen", [] { return activeWindowNamed("frmSelect") != nullptr; },
        [&] {
            screen.shoot(QStringLiteral("frmSelect-during-run"));
            QVERIFY(keys.tap(XK_Escape));
        });
    script.when(
        "the run going on", [&] { return game.idleAndActive() && game.answerBox()->hasFocus(); },
        [&] { QVERIFY(keys.tap(XK_7)); });
    script.when(
        "the digit typed after the locked keys", [&] { return game.answerBox()->text() == "7"; },
        [&] {
            QVERIFY(QApplication::activeModalWidget() == nullptr);
            QVERIFY(child<QTimer>(&game.frmMain, "Timer1")->isActive());
            QVERIFY(game.basGlobals.TimedMode);
            QVERIFY(keys.chord(XK_Control_L, XK_s)); // Ctrl+S stops the run from the answer box
        });
    script.when(
        "the run stopped", [&] { return !child<QTimer>(&game.frmMain, "Timer1")->isActive(); },
        [&] {
            screen.shoot(QStringLiteral("stopped"));
            QVERIFY(keys.tap(XK_F7));
        });
    script.when(
        "the board open again after the stop",
        [] { return activeWindowNamed("frmHighScores") != nullptr; },
        [&] { QVERIFY(keys.tap(XK_Escape)); });
    script.when("idle at the end", [&] { return game.idleAndActive(); });

    game.frmMain.Form_Load(MainWindow::Splash::Skip);
    play(script, screen);
}

void EndToEndTest::keypadWithNumLock()
{
    LiveGame game;
    ScreenRecorder screen(QStringLiteral("keypad"));
    KeyboardScript script;
    XKeyboard& keys = *m_keys;
    keys.setNumLock(true);
    QVERIFY(keys.numLockOn());
    startRun(script, game, screen, XK_F5, 0);

    // Ten answers on the keypad alone: its digits with NumLock on, and its own Enter.
    answerEach(script, game, 0, 10, [&keys](const QString& answer) {
        // The keypad's digits are its keys' NumLock level: pressed without Shift.
        for (const QChar digit : answer) {
            keys.tapKeycode(
                keys.keycodeOf(XK_KP_0 + static_cast<unsigned long>(digit.digitValue())), false);
        }
        QVERIFY(keys.tap(XK_KP_Enter));
    });
    // With NumLock off the same keys move a cursor: they must type nothing.
    script.when(
        "ten answers in", [&] { return game.waitingForAnswer(10); },
        [&] {
            QCOMPARE(game.basGlobals.CorrectCount, 10);
            keys.setNumLock(false);
            QVERIFY(!keys.numLockOn());
            for (unsigned long key = XK_KP_0; key <= XK_KP_9; ++key) {
                keys.tapKeycode(keys.keycodeOf(key), false);
            }
            QVERIFY(keys.tap(XK_4));
        });
    script.when(
        "the top-row digit after the keypad's cursor keys",
        [&] { return game.answerBox()->text() == "4"; },
        [&] {
            screen.shoot(QStringLiteral("numlock-off"));
            QVERIFY(keys.chord(XK_Control_L, XK_s));
        });
    script.when("stopped", [&] { return !game.answerBox()->isEnabled(); });

    game.frmMain.Form_Load(MainWindow::Splash::Skip);
    play(script, screen);
}

void EndToEndTest::frenchKeyboardNeedsShiftForDigits()
{
    LiveGame game;
    ScreenRecorder screen(QStringLiteral("azerty"));
    KeyboardScript script;
    XKeyboard& keys = *m_keys;
    QVERIFY(setLayout(QStringLiteral("fr")));
    keys.reloadKeymap();
    QCOMPARE(keys.keycodeOf(XK_ampersand), m_topRowOne); // AZERTY: "&" unshifted, "1" shifted
    startRun(script, game, screen, XK_F5, 0);

    // Unshifted, the top row types & é " ' ( - è _ ç à: none of them may reach the answer.
    script.when(
        "problem 1", [&] { return game.waitingForAnswer(0); },
        [&] {
            typeOnTopRow(QStringLiteral("1234567890"), false);
            typeOnTopRow(rightAnswer(&game.frmMain), true);
        });
    script.when(
        "only the shifted digits in the answer box",
        [&] { return game.answerBox()->text() == rightAnswer(&game.frmMain); },
        [&] {
            screen.shoot(QStringLiteral("azerty-typed"));
            QVERIFY(keys.tap(XK_Return));
        });
    answerEach(script, game, 1, 10, [&](const QString& answer) {
        typeOnTopRow(answer, true);
        QVERIFY(keys.tap(XK_Return));
    });
    script.when(
        "ten answers in", [&] { return game.waitingForAnswer(10); },
        [&] {
            QCOMPARE(game.basGlobals.CorrectCount, 10);
            QVERIFY(keys.chord(XK_Control_L, XK_s));
        });
    script.when("stopped", [&] { return !game.answerBox()->isEnabled(); });

    game.frmMain.Form_Load(MainWindow::Splash::Skip);
    play(script, screen);
}

// Persian and Hindi layouts type their own digits on the top row, unshifted (۱۲۳, १२३): a laptop
// without a keypad answers with them.
void EndToEndTest::persianAndHindiKeyboardsTypeTheirOwnDigits()
{
    LiveGame game;
    ScreenRecorder screen(QStringLiteral("persian-hindi"));
    KeyboardScript script;
    XKeyboard& keys = *m_keys;
    QVERIFY(setLayout(QStringLiteral("ir")));
    keys.reloadKeymap();
    QCOMPARE(keys.keycodeOf(XK_Farsi_1), m_topRowOne);
    startRun(script, game, screen, XK_F5, 1);

    const auto answer = [&](const QString& right) {
        typeOnTopRow(right, false);
        QVERIFY(keys.tap(XK_Return));
    };
    answerEach(script, game, 0, 5, answer);
    script.when(
        "five answers in Persian digits", [&] { return game.waitingForAnswer(5); },
        [&] {
            QCOMPARE(game.basGlobals.CorrectCount, 5);
            QVERIFY(setLayout(QStringLiteral("in")));
            keys.reloadKeymap();
            QCOMPARE(keys.keycodeOf(0x1000967),
                     m_topRowOne); // the top row types Devanagari digits now
        });
    answerEach(script, game, 5, 10, answer);
    script.when(
        "ten answers in", [&] { return game.waitingForAnswer(10); },
        [&] {
            QCOMPARE(game.basGlobals.CorrectCount, 10);
            QCOMPARE(game.basGlobals.IncorrectCount, 0);
            screen.shoot(QStringLiteral("hindi-answered"));
            QVERIFY(setLayout(QStringLiteral("us"))); // Ctrl+S needs a Latin S
            keys.reloadKeymap();
            QVERIFY(keys.chord(XK_Control_L, XK_s));
        });
    script.when("stopped", [&] { return !game.answerBox()->isEnabled(); });

    game.frmMain.Form_Load(MainWindow::Splash::Skip);
    play(script, screen);
}

QTEST_MAIN(EndToEndTest)
#include "EndToEndTest.moc"
