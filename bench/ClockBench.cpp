// The running clock: CPU while idle and while a run's clock ticks, and how far the clock is off
// after a minute of real time. Sumdash! and a minimal Qt window, each in a process of its own.
#include "app/ApplicationSetup.h"
#include "app/MainWindow.h"
#include "app/RealGame.h"
#include "assets/DesignFonts.h"
#include "bench/MinimalWindow.h"
#include "bench/SummaryTable.h"
#include "engine/ClockText.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <sys/resource.h>

namespace {

using SteadyClock = std::chrono::steady_clock;

// Once the window is up, a second for its first frames and any deferred start-up work, so the
// idle stretch holds nothing but idling.
constexpr int SettleMs = 1000;
constexpr int IdleMs = 10000;
// The ticking stretch starts half-way between two ticks, so it holds exactly ten of them, and
// late enough that the first problem's paint is behind it.
constexpr int TickingFromMs = 5500;
constexpr int TickingMs = 10000;
// The clock is read half-way through the 61st second: a tick landing a little early or late
// then cannot change what the clock should show, which is 1:00.
constexpr int ClockReadMs = 60500;
// A child still running by then is stuck; it gives up.
constexpr int WatchdogMs = 150000;

double millisecondsSince(SteadyClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

/// User and system time of every thread of this process so far, in ms.
double cpuMilliseconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

/// One "key value" line for the launcher.
void report(const char* key, double value)
{
    std::printf("%s %.3f\n", key, value);
    std::fflush(stdout);
}

/// CPU time spent over a stretch of wall time, reported as "<name>_cpu_ms" and "<name>_wall_ms".
class CpuStretch
{
public:
    explicit CpuStretch(std::string name)
        : m_name(std::move(name))
    {
    }

    void start()
    {
        m_startCpu = cpuMilliseconds();
        m_startWall = SteadyClock::now();
    }

    void stopAndReport() const
    {
        const double cpu = cpuMilliseconds() - m_startCpu;
        const double wall = millisecondsSince(m_startWall);
        report((m_name + "_cpu_ms").c_str(), cpu);
        report((m_name + "_wall_ms").c_str(), wall);
    }

private:
    std::string m_name;
    double m_startCpu = 0;
    SteadyClock::time_point m_startWall;
};

/// When each tick of a run's clock arrived, against the whole second it stands for.
class TickLog
{
public:
    void go() { m_go = SteadyClock::now(); }

    void tick()
    {
        ++m_ticks;
        const double late = millisecondsSince(m_go) - 1000.0 * m_ticks;
        m_lastLateMs = late;
        m_latestMs = std::max(m_latestMs, late);
        m_earliestMs = std::min(m_earliestMs, late);
    }

    void reportTicks() const
    {
        report("ticks", m_ticks);
        report("last_tick_late_ms", m_lastLateMs);
        report("latest_tick_ms", m_latestMs);
        report("earliest_tick_ms", m_earliestMs);
    }

    SteadyClock::time_point goTime() const { return m_go; }

private:
    SteadyClock::time_point m_go;
    int m_ticks = 0;
    double m_lastLateMs = 0;
    double m_latestMs = -1e9;
    double m_earliestMs = 1e9;
};

/// The measuring script both children follow once their window is on screen: settle, idle,
/// start a run, measure the ticking clock, read the clock a minute on. What differs is how a
/// run starts and where its clock is shown.
class ClockScript
{
public:
    /// startRun begins a run and calls goReached() at the moment its clock starts.
    std::function<void()> startRun;
    /// The clock as the player sees it.
    std::function<QString()> clockText;

    void begin()
    {
        QTimer::singleShot(WatchdogMs, [] {
            std::printf("error the child was still running after %d ms\n", WatchdogMs);
            std::fflush(stdout);
            std::_Exit(2);
        });
        QTimer::singleShot(SettleMs, Qt::PreciseTimer, [this] {
            m_idle.start();
            QTimer::singleShot(IdleMs, Qt::PreciseTimer, [this] {
                m_idle.stopAndReport();
                startRun();
            });
        });
    }

    void goReached()
    {
        ticks.go();
        QTimer::singleShot(TickingFromMs, Qt::PreciseTimer, [this] {
            m_ticking.start();
            QTimer::singleShot(TickingMs, Qt::PreciseTimer, [this] { m_ticking.stopAndReport(); });
        });
        QTimer::singleShot(ClockReadMs, Qt::PreciseTimer, [this] { readClockAndQuit(); });
    }

    TickLog ticks;

private:
    void readClockAndQuit()
    {
        const double realMs = millisecondsSince(ticks.goTime());
        const QString shown = clockText();
        const std::optional<std::int64_t> seconds = clockTextSeconds(shown.toStdString());
        if (!seconds) {
            std::printf("error the clock shows \"%s\"\n", qPrintable(shown));
            std::fflush(stdout);
            std::_Exit(3);
        }
        report("clock_shown_s", static_cast<double>(*seconds));
        report("active", QApplication::activeWindow() != nullptr ? 1 : 0);
        report("clock_real_ms", realMs);
        ticks.reportTicks();
        QCoreApplication::quit();
    }

    CpuStretch m_idle { "idle" };
    CpuStretch m_ticking { "ticking" };
};

/// Answers the problem-type selector with Addition once it is up, then stops polling, so it
/// costs nothing while the clock is measured.
void pickAdditionWhenAsked()
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal->objectName() != QLatin1String("frmSelect")) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        if (auto* addition = modal->findChild<QAbstractButton*>(QStringLiteral("Command1_0"))) {
            addition->click();
        }
    });
    poll->start();
}

/// The game as app/main.cpp starts it, records in a temporary folder; then a timed run of
/// Addition started from the menu, its countdown and clock on the real timers and stopwatch.
int runSumdash(int argc, char* argv[])
{
    QApplication app(argc, argv);
    setUpApplication();
    registerDesignFonts();
    QTemporaryDir records;

    RealGame game(records.path());
    MainWindow& frmMain = game.frmMain;

    auto* Timer1 = frmMain.findChild<QTimer*>(QStringLiteral("Timer1"));
    auto* Timer2 = frmMain.findChild<QTimer*>(QStringLiteral("Timer2"));
    auto* ShowTime = frmMain.findChild<QLabel*>(QStringLiteral("ShowTime"));
    auto* mnuDash = frmMain.findChild<QAction*>(QStringLiteral("mnuDash"));
    if (Timer1 == nullptr || Timer2 == nullptr || ShowTime == nullptr || mnuDash == nullptr) {
        std::printf("error the main window lacks one of Timer1, Timer2, ShowTime, mnuDash\n");
        return EXIT_FAILURE;
    }

    ClockScript script;
    script.clockText = [ShowTime] { return ShowTime->text(); };
    script.startRun = [mnuDash] {
        pickAdditionWhenAsked();
        mnuDash->trigger();
    };
    // Connected after the window's own handlers, so these run just after them: the countdown
    // tick that starts the stopwatch and Timer1 is "Go!".
    bool started = false;
    QObject::connect(Timer2, &QTimer::timeout, &app, [&] {
        if (!started && Timer1->isActive()) {
            started = true;
            script.goReached();
        }
    });
    QObject::connect(Timer1, &QTimer::timeout, &app, [&] { script.ticks.tick(); });

    frmMain.Form_Load(MainWindow::Splash::Show);
    frmMain.activateWindow();
    script.begin();
    return QApplication::exec();
}

/// The minimal window; its "run" is the naive clock: a label showing a count of the ticks of a
/// plain 1000 ms QTimer.
int runMinimal(int argc, char* argv[])
{
    QApplication app(argc, argv);
    MinimalWindow window;
    QTimer naive;
    naive.setInterval(1000);
    int seconds = 0;

    ClockScript script;
    script.clockText = [&window] { return window.label()->text(); };
    QObject::connect(&naive, &QTimer::timeout, &app, [&] {
        ++seconds;
        window.label()->setText(
            QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0')));
        script.ticks.tick();
    });
    script.startRun = [&] {
        window.label()->setText(QStringLiteral("0:00"));
        naive.start();
        script.goReached();
    };

    // Not activated: nothing in it takes keys, and the game's window keeps the keyboard.
    window.show();
    script.begin();
    return QApplication::exec();
}

// ---- The launcher: both children side by side, then the figures -------------------------

using Report = std::map<std::string, double>;

/// The "key value" lines of a child's output.
Report readReport(const std::string& output)
{
    Report figures;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string key;
        double value = 0;
        if (words >> key >> value) {
            figures[key] = value;
        }
    }
    return figures;
}

const char* const RequiredKeys[] = {
    "idle_cpu_ms",   "idle_wall_ms", "ticking_cpu_ms", "ticking_wall_ms",  "clock_shown_s",
    "clock_real_ms", "ticks",        "latest_tick_ms", "earliest_tick_ms", "last_tick_late_ms",
};

bool complete(const Report& figures)
{
    return std::all_of(std::begin(RequiredKeys), std::end(RequiredKeys),
                       [&](const char* key) { return figures.count(key) == 1; });
}

double percentOf(const Report& figures, const std::string& stretch)
{
    return 100.0 * figures.at(stretch + "_cpu_ms") / figures.at(stretch + "_wall_ms");
}

/// Sumdash!'s CPU time over the minimal window's; "—" when the minimal window's is below a
/// millisecond, where the ratio would only compare the noise of two idle processes.
QString cpuRatio(const Report& game, const Report& plain, const std::string& stretch)
{
    const double plainMs = plain.at(stretch + "_cpu_ms");
    return plainMs < 1.0 ? QStringLiteral("—")
                         : bench::ratioText(game.at(stretch + "_cpu_ms"), plainMs);
}

QString cpuCell(const Report& figures, const std::string& stretch)
{
    return QString::asprintf("%.2f %% (%.1f ms)", percentOf(figures, stretch),
                             figures.at(stretch + "_cpu_ms"));
}

/// Whole seconds the clock is ahead (+) or behind (-) the real time since the clock started.
long clockError(const Report& figures)
{
    const auto realSeconds = static_cast<long>(std::floor(figures.at("clock_real_ms") / 1000.0));
    return static_cast<long>(figures.at("clock_shown_s")) - realSeconds;
}

/// The clock's error, and when its ticks came against the whole seconds they stand for.
QString clockCell(const Report& figures)
{
    const long error = clockError(figures);
    const QString seconds = error == 0 ? QStringLiteral("0 s") : QString::asprintf("%+ld s", error);
    return seconds
        + QString::asprintf(" (ticks %+.1f to %+.1f ms off the whole second)",
                            figures.at("earliest_tick_ms"), figures.at("latest_tick_ms"));
}

enum class AnswerBox { Shown, None };

void printDetails(const char* who, const Report& figures, AnswerBox answerBox)
{
    std::printf("%s\n", who);
    std::printf("  idle            %6.1f ms CPU in %7.1f ms  (%.3f %%)\n",
                figures.at("idle_cpu_ms"), figures.at("idle_wall_ms"), percentOf(figures, "idle"));
    std::printf("  clock ticking   %6.1f ms CPU in %7.1f ms  (%.3f %%)\n",
                figures.at("ticking_cpu_ms"), figures.at("ticking_wall_ms"),
                percentOf(figures, "ticking"));
    std::printf("  clock read at   %7.1f ms after it started: shows %.0f s, off by %+ld s\n",
                figures.at("clock_real_ms"), figures.at("clock_shown_s"), clockError(figures));
    std::printf("  ticks           %.0f; each against its whole second: %+.1f to %+.1f ms, the "
                "last %+.1f ms\n",
                figures.at("ticks"), figures.at("earliest_tick_ms"), figures.at("latest_tick_ms"),
                figures.at("last_tick_late_ms"));
    if (answerBox == AnswerBox::Shown && figures.count("active") == 1
        && figures.at("active") == 0) {
        std::printf("  (its window was not active, so the answer box's cursor did not blink)\n");
    }
}

/// Starts this program again in the given mode, its output and errors read together.
void startChild(QProcess& child, const QString& mode)
{
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), { mode });
}

/// Waits for the child to end; true when it exited with status 0. What it printed stays to be
/// read; it may print a pipe's worth (64 KiB) while another child is waited for.
bool finished(QProcess& child)
{
    return child.waitForFinished(-1) && child.exitStatus() == QProcess::NormalExit
        && child.exitCode() == 0;
}

int runLauncher(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::printf(
        "Clock benchmark: both windows side by side, each in its own process; about 80 s.\n");
    std::fflush(stdout);
    // Side by side: CPU time is counted per process, and the minute of real time each clock
    // needs is spent only once.
    QProcess sumdash;
    QProcess minimal;
    startChild(sumdash, QStringLiteral("sumdash"));
    startChild(minimal, QStringLiteral("minimal"));
    const bool sumdashExited = finished(sumdash);
    const bool minimalExited = finished(minimal);
    const std::string sumdashOutput = sumdash.readAll().toStdString();
    const std::string minimalOutput = minimal.readAll().toStdString();
    const Report game = readReport(sumdashOutput);
    const Report plain = readReport(minimalOutput);
    if (!sumdashExited || !complete(game)) {
        std::fprintf(stderr, "clock_bench: the Sumdash! child failed (%s); it said:\n%s\n",
                     qUtf8Printable(sumdash.errorString()), sumdashOutput.c_str());
        return EXIT_FAILURE;
    }
    if (!minimalExited || !complete(plain)) {
        std::fprintf(stderr, "clock_bench: the minimal child failed (%s); it said:\n%s\n",
                     qUtf8Printable(minimal.errorString()), minimalOutput.c_str());
        return EXIT_FAILURE;
    }

    std::printf("CPU = user + system time of all the process's threads (getrusage).\n"
                "Idle: %d s, from %d s after the window is shown. Ticking: %d s, from %.1f s "
                "after the clock\nstarts. Sumdash!: a timed run of Addition begun from the menu, "
                "countdown and clock on the\ngame's own timers and stopwatch. Minimal window: a "
                "label counting the ticks of a plain\n1000 ms QTimer.\n\n",
                IdleMs / 1000, SettleMs / 1000, TickingMs / 1000, TickingFromMs / 1000.0);
    printDetails("Sumdash!", game, AnswerBox::Shown);
    printDetails("Minimal window", plain, AnswerBox::None);

    bench::printSummaryRow(30, "CPU while idle, 10 s after start-up", cpuCell(game, "idle"),
                           cpuCell(plain, "idle"), cpuRatio(game, plain, "idle"), "0 %");
    bench::printSummaryRow(
        31, "CPU while a run's clock ticks, 10 s (minimal: a label updated by a 1 s QTimer)",
        cpuCell(game, "ticking"), cpuCell(plain, "ticking"), cpuRatio(game, plain, "ticking"), "—");
    bench::printSummaryRow(
        50, "Clock against real time, 60.5 s after it started (minimal: counting 1 s QTimer ticks)",
        clockCell(game), clockCell(plain), "—", "0 s");
    return EXIT_SUCCESS;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc >= 2 && std::strcmp(argv[1], "sumdash") == 0) {
        return runSumdash(argc, argv);
    }
    if (argc >= 2 && std::strcmp(argv[1], "minimal") == 0) {
        return runMinimal(argc, argv);
    }
    if (argc != 1) {
        std::fprintf(stderr, "usage: clock_bench | sumdash | minimal\n");
        return EXIT_FAILURE;
    }
    return runLauncher(argc, argv);
}
