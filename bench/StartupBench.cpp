// Start-up to the first window on screen, and memory: Sumdash! against a minimal Qt window.
#include "app/MainWindow.h"
#include "app/RealGame.h"
#include "app/SplashWindow.h"
#include "assets/ArtIcons.h"
#include "assets/DesignFonts.h"
#include "bench/BenchFigures.h"
#include "bench/MinimalWindow.h"
#include "bench/SummaryTable.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// How long a child keeps running once its last window is on screen, before memory is read.
constexpr int SettleMs = 300;
// A child that has not shown its windows by then is stuck; it gives up.
constexpr int WatchdogMs = 20000;

/// Nanoseconds on the monotonic clock. The launcher and its children read the same clock
/// (CLOCK_MONOTONIC on Linux), so the launcher's stamp and a child's stamps compare directly.
std::int64_t steadyNowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void printStamp(const char* name, std::int64_t ns)
{
    std::printf("stamp %s %lld\n", name, static_cast<long long>(ns));
}

/// VmRSS and VmHWM of this process in kB, from /proc/self/status.
std::pair<long, long> residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    long rss = -1;
    long hwm = -1;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            rss = std::strtol(line.c_str() + 6, nullptr, 10);
        } else if (line.rfind("VmHWM:", 0) == 0) {
            hwm = std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return { rss, hwm };
}

// ---- The child: one start-up, measured from the inside ----------------------------------

/// Watches the whole application for the top-level windows named: when each is shown, when its
/// native window is first exposed, when it first paints, and when that first expose has been
/// handled. Qt handles a widget window's expose by painting it and flushing its backing store
/// to the window system at once, so the last stamp is the first frame handed to the display.
/// Every event goes on to its receiver's own filters: the splash waits for its expose with one.
class FirstFrameWatcher : public QObject
{
public:
    using FrameHandler = std::function<void(QWidget* window)>;

    void watch(const QString& windowName, const QString& stampPrefix, FrameHandler onFrame)
    {
        Watched& entry = m_watched[windowName];
        entry.stampPrefix = stampPrefix;
        entry.onFrame = std::move(onFrame);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (Watched* entry = widget->isWindow() ? find(widget) : nullptr) {
                stampOnce(*entry, "shown");
            }
        } else if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            if (Watched* entry = find(static_cast<QWidget*>(watched)->window())) {
                stampOnce(*entry, "painted");
            }
        } else if (event->type() == QEvent::Expose) {
            if (Watched* entry = exposedEntry(watched)) {
                stampOnce(*entry, "exposed");
            }
        }
        return QObject::eventFilter(watched, event);
    }

    /// Called once an expose event has been handled in full.
    void exposeHandled(QObject* receiver)
    {
        Watched* entry = exposedEntry(receiver);
        // An expose that painted nothing is no frame yet; the next one is awaited.
        if (entry == nullptr || entry->framed || entry->stamped.count("painted") == 0) {
            return;
        }
        entry->framed = true;
        stampOnce(*entry, "framed");
        if (entry->onFrame) {
            entry->onFrame(entry->widget);
        }
    }

private:
    struct Watched
    {
        QString stampPrefix;
        FrameHandler onFrame;
        QWidget* widget = nullptr;
        bool framed = false;
        std::set<std::string> stamped;
    };

    /// The entry of a watched window not yet on screen whose native window is now exposed.
    Watched* exposedEntry(QObject* receiver)
    {
        auto* window = qobject_cast<QWindow*>(receiver);
        QWidget* widget = window != nullptr && window->isExposed() ? widgetOf(window) : nullptr;
        Watched* entry = widget != nullptr ? find(widget) : nullptr;
        if (entry == nullptr || entry->framed) {
            return nullptr;
        }
        entry->widget = widget;
        return entry;
    }

    static QWidget* widgetOf(QWindow* window)
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->windowHandle() == window) {
                return widget;
            }
        }
        return nullptr;
    }

    Watched* find(const QWidget* window)
    {
        const auto found = m_watched.find(window->objectName());
        return found == m_watched.end() ? nullptr : &found->second;
    }

    static void stampOnce(Watched& entry, const char* what)
    {
        if (!entry.stamped.insert(what).second) {
            return;
        }
        const std::int64_t ns = steadyNowNs();
        const QString name = entry.stampPrefix + QLatin1Char('-') + QLatin1String(what);
        printStamp(qPrintable(name), ns);
    }

    std::map<QString, Watched> m_watched;
};

/// The application of a measured start-up: it tells the watcher when an expose event has been
/// handled in full, after every filter and the window itself, so the clock is read once the
/// expose has painted the window and flushed it.
class MeasuredApplication : public QApplication
{
public:
    MeasuredApplication(int& argc, char* argv[], FirstFrameWatcher& watcher)
        : QApplication(argc, argv)
        , m_watcher(watcher)
    {
        installEventFilter(&m_watcher);
    }

    bool notify(QObject* receiver, QEvent* event) override
    {
        const bool handled = QApplication::notify(receiver, event);
        if (event->type() == QEvent::Expose) {
            m_watcher.exposeHandled(receiver);
        }
        return handled;
    }

private:
    FirstFrameWatcher& m_watcher;
};

void startWatchdog()
{
    QTimer::singleShot(WatchdogMs, [] {
        std::printf("error no window reached the screen within %d ms\n", WatchdogMs);
        std::fflush(stdout);
        std::_Exit(2);
    });
}

/// Lets the event loop run a little, then reports the memory and ends the process.
void reportMemoryAndQuitSoon()
{
    QTimer::singleShot(SettleMs, [] {
        const auto [rss, hwm] = residentKb();
        std::printf("rss_kb %ld\nhwm_kb %ld\n", rss, hwm);
        std::printf("platform %s\nstyle %s\n", qPrintable(QGuiApplication::platformName()),
                    qPrintable(QApplication::style()->name()));
        std::fflush(stdout);
        QCoreApplication::quit();
    });
}

/// What app/main.cpp does, with stamps between the steps; the splash is closed as soon as its
/// first frame is out, instead of after its three seconds. The records are kept in the folder
/// given, never in the player's own.
int runSumdash(int argc, char* argv[], std::int64_t mainNs, const QString& recordsFolder)
{
    printStamp("main", mainNs);
    FirstFrameWatcher watcher;
    MeasuredApplication app(argc, argv, watcher);
    printStamp("application", steadyNowNs());
    watcher.watch(QStringLiteral("frmLogo"), QStringLiteral("first"), [](QWidget* splash) {
        auto* logo = qobject_cast<SplashWindow*>(splash);
        QTimer::singleShot(0, logo, [logo] { logo->logotime_Timer(); });
    });
    watcher.watch(QStringLiteral("frmMain"), QStringLiteral("main"),
                  [](QWidget*) { reportMemoryAndQuitSoon(); });
    startWatchdog();

    // The steps of setUpApplication(), timed one by one.
    QApplication::setOrganizationName(QStringLiteral("Pellmoor"));
    QApplication::setApplicationName(QStringLiteral("Sumdash"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    printStamp("style", steadyNowNs());
    QApplication::setWindowIcon(applicationIcon());
    printStamp("icon", steadyNowNs());
    SplashWindow frmLogo;
    printStamp("built", steadyNowNs());
    frmLogo.showAtOnce();
    printStamp("splash", steadyNowNs());
    registerDesignFonts();
    printStamp("fonts", steadyNowNs());

    RealGame game(recordsFolder);
    printStamp("main-built", steadyNowNs());
    game.frmMain.Form_Load(frmLogo);
    return QApplication::exec();
}

/// The yardstick: a minimal Qt main window, started the plain way.
int runMinimal(int argc, char* argv[], std::int64_t mainNs)
{
    printStamp("main", mainNs);
    FirstFrameWatcher watcher;
    MeasuredApplication app(argc, argv, watcher);
    printStamp("application", steadyNowNs());
    watcher.watch(QStringLiteral("minimalWindow"), QStringLiteral("first"),
                  [](QWidget*) { reportMemoryAndQuitSoon(); });
    startWatchdog();

    MinimalWindow window;
    printStamp("built", steadyNowNs());
    window.show();
    return QApplication::exec();
}

// ---- The launcher: fresh processes, alternating, and the table ---------------------------

struct Sample
{
    std::map<std::string, double> msSinceLaunch;
    double rssMiB = 0;
    double hwmMiB = 0;
    std::string platform;
    std::string style;
};

/// Starts this program in the given mode and reads what it reports; empty on failure, after
/// printing what the child said.
std::optional<Sample> launch(const QStringList& mode)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    // The stamp covers QProcess's own work before the fork as well. That work costs nothing
    // measurable: launch to a trivial child's main() took a median 1.6 ms through QProcess
    // against 1.9 ms through a bare fork, pipe and exec (300 launches each, in one program).
    const std::int64_t launchNs = steadyNowNs();
    child.start(QCoreApplication::applicationFilePath(), mode);
    const bool exited = child.waitForFinished(-1) && child.exitStatus() == QProcess::NormalExit
        && child.exitCode() == 0;
    const std::string output = child.readAll().toStdString();

    Sample sample;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key == "stamp") {
            std::string name;
            long long ns = 0;
            words >> name >> ns;
            sample.msSinceLaunch[name] = static_cast<double>(ns - launchNs) / 1e6;
        } else if (key == "rss_kb") {
            long kb = 0;
            words >> kb;
            sample.rssMiB = static_cast<double>(kb) / 1024.0;
        } else if (key == "hwm_kb") {
            long kb = 0;
            words >> kb;
            sample.hwmMiB = static_cast<double>(kb) / 1024.0;
        } else if (key == "platform") {
            words >> sample.platform;
        } else if (key == "style") {
            words >> sample.style;
        }
    }
    const bool complete = sample.msSinceLaunch.count("first-framed") == 1 && sample.rssMiB > 0;
    if (!exited || !complete) {
        std::fprintf(stderr, "startup_bench: the %s child failed (%s); it said:\n%s\n",
                     qUtf8Printable(mode.front()), qUtf8Printable(child.errorString()),
                     output.c_str());
        return std::nullopt;
    }
    return sample;
}

struct Step
{
    const char* stamp;
    const char* label;
};

// The moments a start-up passes, in order; a mode skips the ones it does not have.
constexpr Step Steps[] = {
    { "main", "exec, loading, static init: main()" },
    { "application", "QApplication constructed" },
    { "style", "Fusion style set" },
    { "icon", "window icon set" },
    { "built", "first window built (Sumdash!: the splash)" },
    { "first-shown", "first window Show event" },
    { "first-exposed", "first window exposed" },
    { "first-painted", "first window's first Paint" },
    { "first-framed", "first window frame flushed" },
    { "splash", "splash on screen, start-up goes on" },
    { "fonts", "design fonts registered" },
    { "main-built", "main window built" },
    { "main-shown", "main window Show (splash cut)" },
    { "main-exposed", "main window exposed" },
    { "main-framed", "main window frame flushed" },
};

/// The median time since launch of each stamp, and of each step since the stamp before it.
struct Medians
{
    std::map<std::string, double> cumulative;
    std::map<std::string, double> step;
    double rssMiB = 0;
    double hwmMiB = 0;
};

Medians mediansOf(const std::vector<Sample>& samples)
{
    Medians medians;
    std::map<std::string, std::vector<double>> cumulative;
    std::map<std::string, std::vector<double>> steps;
    std::vector<double> rss;
    std::vector<double> hwm;
    for (const Sample& sample : samples) {
        double previous = 0;
        for (const Step& step : Steps) {
            const auto found = sample.msSinceLaunch.find(step.stamp);
            if (found == sample.msSinceLaunch.end()) {
                continue;
            }
            cumulative[step.stamp].push_back(found->second);
            steps[step.stamp].push_back(found->second - previous);
            previous = found->second;
        }
        rss.push_back(sample.rssMiB);
        hwm.push_back(sample.hwmMiB);
    }
    for (const auto& [stamp, values] : cumulative) {
        medians.cumulative[stamp] = bench::median(values);
    }
    for (const auto& [stamp, values] : steps) {
        medians.step[stamp] = bench::median(values);
    }
    medians.rssMiB = bench::median(rss);
    medians.hwmMiB = bench::median(hwm);
    return medians;
}

QString cell(const std::map<std::string, double>& figures, const char* stamp)
{
    const auto found = figures.find(stamp);
    return found == figures.end() ? QStringLiteral("-") : QString::number(found->second, 'f', 1);
}

void printHeadline(const char* figure, double sumdash, double minimal)
{
    std::printf("%-42s %10.1f %10.1f %7.2f\n", figure, sumdash, minimal,
                minimal > 0 ? sumdash / minimal : 0.0);
}

int runLauncher(int argc, char* argv[], int samplesPerMode)
{
    QCoreApplication app(argc, argv);
    // A throwaway folder for the game's records, removed when the launcher ends.
    const QTemporaryDir records;
    if (!records.isValid()) {
        std::fprintf(stderr, "startup_bench: no temporary folder for the records: %s\n",
                     qUtf8Printable(records.errorString()));
        return EXIT_FAILURE;
    }
    const QStringList sumdashMode { QStringLiteral("sumdash"), records.path() };
    const QStringList minimalMode { QStringLiteral("minimal") };
    // One start of each first, not counted: it pulls the program and Qt into the page cache.
    for (const QStringList* mode : { &sumdashMode, &minimalMode }) {
        if (!launch(*mode)) {
            return EXIT_FAILURE;
        }
    }
    std::vector<Sample> sumdash;
    std::vector<Sample> minimal;
    for (int i = 0; i < samplesPerMode * 2; ++i) {
        const bool isSumdash = i % 2 == 0;
        const std::optional<Sample> sample = launch(isSumdash ? sumdashMode : minimalMode);
        if (!sample) {
            return EXIT_FAILURE;
        }
        (isSumdash ? sumdash : minimal).push_back(*sample);
    }

    const Medians game = mediansOf(sumdash);
    const Medians plain = mediansOf(minimal);
    std::printf("Start-up benchmark: platform %s, style %s (Sumdash!) / %s (minimal window)\n",
                sumdash.front().platform.c_str(), sumdash.front().style.c_str(),
                minimal.front().style.c_str());
    std::printf("Medians of %d fresh processes per mode, started alternately after one uncounted "
                "start of each.\n",
                samplesPerMode);
    std::printf("On screen = the window's first expose handled: first paint done and the backing "
                "store\nflushed to the window system. Sumdash!'s first window is the splash.\n\n");
    std::printf("%-42s %10s %10s %7s\n", "figure", "Sumdash!", "minimal", "ratio");
    printHeadline("start-up to first window on screen (ms)", game.cumulative.at("first-framed"),
                  plain.cumulative.at("first-framed"));
    printHeadline("resident memory after start-up (MiB)", game.rssMiB, plain.rssMiB);
    printHeadline("peak resident memory (MiB)", game.hwmMiB, plain.hwmMiB);

    std::printf("\nWhere the time goes: median ms since launch, and of the step since the row "
                "above.\n");
    std::printf("%-42s %10s %10s %10s %10s\n", "moment", "Sumdash!", "step", "minimal", "step");
    for (const Step& step : Steps) {
        std::printf("%-42s %10s %10s %10s %10s\n", step.label,
                    qUtf8Printable(cell(game.cumulative, step.stamp)),
                    qUtf8Printable(cell(game.step, step.stamp)),
                    qUtf8Printable(cell(plain.cumulative, step.stamp)),
                    qUtf8Printable(cell(plain.step, step.stamp)));
    }
    std::printf("(Sumdash!'s main window follows the splash at once here; the game waits 3 s.)\n");

    const double gameStart = game.cumulative.at("first-framed");
    const double plainStart = plain.cumulative.at("first-framed");
    bench::printSummaryRow(10, "Start-up to the first window on screen (Sumdash!: the splash)",
                           QString::asprintf("%.0f ms", gameStart),
                           QString::asprintf("%.0f ms", plainStart),
                           bench::ratioText(gameStart, plainStart), "within 1.5×");
    bench::printSummaryRow(20, "Resident memory after start-up",
                           QString::asprintf("%.1f MiB", game.rssMiB),
                           QString::asprintf("%.1f MiB", plain.rssMiB),
                           bench::ratioText(game.rssMiB, plain.rssMiB), "within 1.5×");
    return EXIT_SUCCESS;
}

} // namespace

int main(int argc, char* argv[])
{
    const std::int64_t mainNs = steadyNowNs();
    if (argc >= 3 && std::strcmp(argv[1], "sumdash") == 0) {
        return runSumdash(argc, argv, mainNs, QString::fromLocal8Bit(argv[2]));
    }
    if (argc >= 2 && std::strcmp(argv[1], "minimal") == 0) {
        return runMinimal(argc, argv, mainNs);
    }
    int samplesPerMode = 15;
    if (argc == 3 && std::strcmp(argv[1], "--samples") == 0) {
        samplesPerMode = std::atoi(argv[2]);
    } else if (argc != 1) {
        std::fprintf(stderr,
                     "usage: startup_bench [--samples N] | sumdash RECORDS_FOLDER | minimal\n");
        return EXIT_FAILURE;
    }
    if (samplesPerMode < 1) {
        std::fprintf(stderr, "startup_bench: --samples needs a positive count\n");
        return EXIT_FAILURE;
    }
    return runLauncher(argc, argv, samplesPerMode);
}
