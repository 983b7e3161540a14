// Times the answer keystroke in the real main window: Enter pressed to the next page painted.
#include "app/ApplicationSetup.h"
#include "app/MainWindow.h"
#include "assets/DesignFonts.h"
#include "bench/BenchFigures.h"
#include "bench/MinimalWindow.h"
#include "bench/SummaryTable.h"
#include "testing/BuiltGame.h"
#include "testing/ModalDialogDriver.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;

// The largest count the practice options' three-character box takes.
constexpr int ProblemsPerRun = 999;

struct Settings
{
    int rightAnswers = 10000;
    int wrongAnswers = 10000;
    int minimalKeys = 10000;
};

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "keystroke_bench: %s\n", what);
    std::exit(EXIT_FAILURE);
}

void require(bool condition, const char* what)
{
    if (!condition) {
        fail(what);
    }
}

Settings parseSettings(int argc, char* argv[])
{
    Settings settings;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--right") == 0 && hasValue) {
            settings.rightAnswers = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--wrong") == 0 && hasValue) {
            settings.wrongAnswers = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--minimal") == 0 && hasValue) {
            settings.minimalKeys = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: keystroke_bench [--right N] [--wrong N] [--minimal N]\n");
            std::exit(EXIT_FAILURE);
        }
    }
    return settings;
}

double microsecondsBetween(SteadyClock::time_point start, SteadyClock::time_point stop)
{
    return std::chrono::duration<double, std::micro>(stop - start).count();
}

void printFigures(const char* title, const std::vector<double>& samples)
{
    std::printf("%s\n", title);
    std::printf("  samples  %zu\n", samples.size());
    std::printf("  median   %8.1f us\n", bench::median(samples));
    std::printf("  p99      %8.1f us\n", bench::percentile(samples, 99.0));
    std::printf("  max      %8.1f us\n", bench::largest(samples));
    std::fflush(stdout);
}

/// Counts the paints a widget receives, so a timed frame is known to have drawn something.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(int& count)
        : m_count(count)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++m_count;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    int& m_count;
};

/// The real main window with the tests' stand-ins for the clock, the random source and the
/// records (kept in a temporary folder), driven through its menus and answer box the way a
/// player does.
class KeystrokeBench
{
public:
    KeystrokeBench()
    {
        m_game.frmMain.Form_Load(MainWindow::Splash::Skip);
        m_game.frmMain.activateWindow();
        require(QTest::qWaitForWindowExposed(&m_game.frmMain), "the main window was never shown");
        m_active = QTest::qWaitForWindowActive(&m_game.frmMain, 2000);
        answerBox = m_game.frmMain.findChild<QLineEdit*>(QStringLiteral("AnsText"));
        page = m_game.frmMain.findChild<QWidget*>(QStringLiteral("Picture1"));
        wrongAns = m_game.frmMain.findChild<QLabel*>(QStringLiteral("WrongAns"));
        require(answerBox && page && wrongAns,
                "the page lacks one of AnsText, Picture1, NumLab, DenLab, OpLab, WrongAns");
        // Every timed Enter empties the answer box, so its paint marks the frame.
        answerBox->installEventFilter(&m_paintCounter);
    }

    bool windowWasActivated() const { return m_active; }

    /// Right answers in practice runs of 999 Addition problems. The last answer of a run opens
    /// the results window instead of a next problem, so it is typed but not timed.
    std::vector<double> timeRightAnswers(int count)
    {
        std::vector<double> samples;
        samples.reserve(static_cast<std::size_t>(count));
        while (static_cast<int>(samples.size()) < count) {
            startPracticeRun();
            while (static_cast<int>(samples.size()) < count) {
                typeDigits(rightAnswer());
                if (m_game.basGlobals.CorrectCount + 1 >= m_game.basGlobals.PracticeProblemCount) {
                    driver.then([](QWidget* stats) { stats->close(); });
                    QTest::keyClick(answerBox, Qt::Key_Return);
                    require(!answerBox->isEnabled(), "the run did not finish at its last answer");
                    settle();
                    break;
                }
                const int correctBefore = m_game.basGlobals.CorrectCount;
                const auto start = SteadyClock::now();
                QTest::keyClick(answerBox, Qt::Key_Return);
                paintPendingFrame();
                const auto stop = SteadyClock::now();
                samples.push_back(microsecondsBetween(start, stop));
                require(m_game.basGlobals.CorrectCount == correctBefore + 1,
                        "a right answer was not counted");
                settle();
            }
        }
        m_game.frmMain.mnuStop_Click();
        settle();
        return samples;
    }

    /// Wrong answers in one timed run: each Enter empties the box and shows the red X on the same
    /// problem. The key's release, which hides the X again, is not timed.
    std::vector<double> timeWrongAnswers(int count)
    {
        std::vector<double> samples;
        samples.reserve(static_cast<std::size_t>(count));
        startTimedRun();
        const QString wrong = QString::number(rightAnswer().toInt() + 1);
        while (static_cast<int>(samples.size()) < count) {
            typeDigits(wrong);
            const auto start = SteadyClock::now();
            QTest::keyPress(answerBox, Qt::Key_Return);
            paintPendingFrame();
            const auto stop = SteadyClock::now();
            samples.push_back(microsecondsBetween(start, stop));
            require(wrongAns->isVisible() && answerBox->text().isEmpty(),
                    "a wrong answer did not show the red X");
            QTest::keyRelease(answerBox, Qt::Key_Return);
            settle();
        }
        m_game.frmMain.mnuStop_Click();
        settle();
        return samples;
    }

private:
    QString rightAnswer()
    {
        const QString answer = ::rightAnswer(&m_game.frmMain);
        require(!answer.isEmpty(), "the page shows no known problem");
        return answer;
    }

    void typeDigits(const QString& digits)
    {
        for (QChar digit : digits) {
            QTest::keyClick(answerBox, static_cast<Qt::Key>(Qt::Key_0 + digit.digitValue()));
        }
        require(answerBox->text() == digits, "the answer box did not take the digits");
        settle();
    }

    // Paints whatever the untimed keys left pending, so each timed Enter starts from a quiet
    // window and pays only for its own work.
    void settle() { QCoreApplication::processEvents(); }

    /// What the event loop does next after a key: paint the parts of the window the key changed
    /// and hand the frame to the window system. Fails loudly if nothing was painted.
    void paintPendingFrame()
    {
        const int paintsBefore = m_pagePaints;
        QCoreApplication::sendPostedEvents(&m_game.frmMain, QEvent::UpdateRequest);
        require(m_pagePaints > paintsBefore, "the key painted nothing on the page");
    }

    void startPracticeRun()
    {
        driver.then([](QWidget* options) {
            options->findChild<QLineEdit*>(QStringLiteral("Text1"))
                ->setText(QString::number(ProblemsPerRun));
            clickChild(options, QStringLiteral("Command1"));
        });
        driver.then([](QWidget* selector) { clickChild(selector, QStringLiteral("Command1_0")); });
        m_game.frmMain.mnuStart_Click();
        require(m_game.basGlobals.DialogResult == 0 && !m_game.basGlobals.TimedMode
                    && m_game.basGlobals.ProblemType == 1
                    && m_game.basGlobals.PracticeProblemCount == ProblemsPerRun,
                "the practice run did not start with 999 Addition problems");
        countDown();
    }

    void startTimedRun()
    {
        driver.then([](QWidget* selector) { clickChild(selector, QStringLiteral("Command1_0")); });
        m_game.frmMain.mnuDash_Click();
        require(m_game.basGlobals.DialogResult == 0 && m_game.basGlobals.TimedMode,
                "the timed run did not start");
        countDown();
    }

    /// "Ready...", "Set...", "Go!": the first problem appears on the third tick.
    void countDown()
    {
        settle();
        for (int tick = 0; tick < 3; ++tick) {
            m_game.frmMain.Timer2_Timer();
        }
        settle();
        require(answerBox->isVisible() && answerBox->isEnabled(), "no problem after the countdown");
    }

    BuiltGame<> m_game;
    ModalDialogDriver driver;
    QLineEdit* answerBox = nullptr;
    QWidget* page = nullptr;
    QLabel* wrongAns = nullptr;
    bool m_active = false;
    int m_pagePaints = 0;
    PaintCounter m_paintCounter { m_pagePaints };
};

/// The same key timed the same way in the minimal window, where Enter writes a count into the
/// label: from just before the key is sent to the label painted and the frame handed on. The
/// window stands beside the game's without taking the keyboard from it.
class MinimalKeystrokes
{
public:
    MinimalKeystrokes()
    {
        m_window.setAttribute(Qt::WA_ShowWithoutActivating);
        m_window.move(0, 0);
        m_window.show();
        require(QTest::qWaitForWindowExposed(&m_window), "the minimal window was never shown");
        m_window.label()->installEventFilter(&m_paintCounter);
        QCoreApplication::processEvents();
    }

    std::vector<double> time(int count)
    {
        std::vector<double> samples;
        samples.reserve(static_cast<std::size_t>(count));
        while (static_cast<int>(samples.size()) < count) {
            const int paintsBefore = m_labelPaints;
            const auto start = SteadyClock::now();
            QTest::keyClick(&m_window, Qt::Key_Return);
            QCoreApplication::sendPostedEvents(&m_window, QEvent::UpdateRequest);
            const auto stop = SteadyClock::now();
            samples.push_back(microsecondsBetween(start, stop));
            require(m_labelPaints > paintsBefore, "the key painted nothing in the minimal window");
            QCoreApplication::processEvents();
        }
        return samples;
    }

private:
    MinimalWindow m_window;
    int m_labelPaints = 0;
    PaintCounter m_paintCounter { m_labelPaints };
};

// The samples are taken in rounds, a share of each kind per round, so the game and the minimal
// window meet the same load from whatever else the machine is doing.
constexpr int Rounds = 10;

int shareOf(int total, int round)
{
    return total / Rounds + (round < total % Rounds ? 1 : 0);
}

void append(std::vector<double>& all, const std::vector<double>& more)
{
    all.insert(all.end(), more.begin(), more.end());
}

/// "0.57 / 0.83 ms": median and 99th percentile.
QString medianAndP99(const std::vector<double>& samples)
{
    return QString::asprintf("%.2f / %.2f ms", bench::median(samples) / 1000.0,
                             bench::percentile(samples, 99.0) / 1000.0);
}

QString ratiosOf(const std::vector<double>& sumdash, const std::vector<double>& minimal)
{
    return bench::ratioText(bench::median(sumdash), bench::median(minimal)) + " / "
        + bench::ratioText(bench::percentile(sumdash, 99.0), bench::percentile(minimal, 99.0));
}

} // namespace

int main(int argc, char* argv[])
{
    const Settings settings = parseSettings(argc, argv);

    // Set up as the game's own start-up does, so the style and fonts painted are the real ones.
    QApplication app(argc, argv);
    setUpApplication();
    require(registerDesignFonts(), "the game's fonts did not load");

    KeystrokeBench game;
    MinimalKeystrokes plain;
    std::printf("Sumdash! keystroke benchmark: platform %s, style %s%s\n",
                qPrintable(QGuiApplication::platformName()),
                qPrintable(QApplication::style()->name()),
                game.windowWasActivated() ? "" : " (the window never became active)");
    std::printf("Timed: just before the Enter key event is sent, to the moment the parts of the\n"
                "window it changed are painted and the frame is handed to the window system.\n"
                "Taken in %d rounds, each with a share of every kind.\n\n",
                Rounds);
    std::fflush(stdout);

    std::vector<double> right;
    std::vector<double> wrong;
    std::vector<double> minimal;
    for (int round = 0; round < Rounds; ++round) {
        if (const int count = shareOf(settings.rightAnswers, round); count > 0) {
            append(right, game.timeRightAnswers(count));
        }
        if (const int count = shareOf(settings.wrongAnswers, round); count > 0) {
            append(wrong, game.timeWrongAnswers(count));
        }
        if (const int count = shareOf(settings.minimalKeys, round); count > 0) {
            append(minimal, plain.time(count));
        }
    }
    if (!right.empty()) {
        printFigures("Right answer, practice run of Addition (next problem painted):", right);
    }
    if (!wrong.empty()) {
        printFigures("Wrong answer, timed run of Addition (red X painted, box emptied):", wrong);
    }
    if (minimal.empty()) {
        return EXIT_SUCCESS;
    }
    printFigures("Minimal Qt window, same style (Enter writes a count into the label):", minimal);

    if (!right.empty()) {
        bench::printSummaryRow(
            40, "One answer keystroke to the next problem on screen: median / 99th percentile",
            medianAndP99(right), medianAndP99(minimal), ratiosOf(right, minimal),
            "99th percentile under 1 ms");
    }
    if (!wrong.empty()) {
        bench::printSummaryRow(41,
                               "A wrong answer to the red X on screen: median / 99th percentile",
                               medianAndP99(wrong), medianAndP99(minimal), ratiosOf(wrong, minimal),
                               "99th percentile under 1 ms");
    }
    return EXIT_SUCCESS;
}
