// Times the records: the club board opening on 100,000 members and switching types, the board
// on club files of 50 MB and 1 GB with the memory it takes, and ranking and saving a time; each
// beside the plain Qt way of doing the same job where there is one.
#include "assets/DesignFonts.h"
#include "bench/BenchFigures.h"
#include "bench/SummaryTable.h"
#include "engine/GameState.h"
#include "records/ClubBoard.h"
#include "records/ClubFile.h"
#include "records/ClubListing.h"
#include "records/SettingsStore.h"
#include "records/TopTimes.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QStandardItemModel>
#include <QStyleFactory>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <optional>
#include <string>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int Members = 100000;
constexpr int BoardOpenings = 5;
constexpr int TypeSwitches = 20;
constexpr int Rankings = 200;
constexpr qint64 FiftyMB = 50 * 1000 * 1000;
constexpr qint64 OneGiB = 1024LL * 1024 * 1024;

double millisecondsSince(SteadyClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

// A figure of this process's memory in MiB from /proc/self/status: "VmRSS:" resident now,
// "VmHWM:" the most resident since the start or the last resetPeakResident().
double statusMiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    const std::string key(field);
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key, 0) == 0) {
            return std::stod(line.substr(key.size())) / 1024.0;
        }
    }
    return 0;
}

double residentMiB()
{
    return statusMiB("VmRSS:");
}

// From here on VmHWM counts from what is resident now (Linux 4.0 and later).
void resetPeakResident()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// A club file of the given size: every member is an Addition member, the board's worst case.
QByteArray clubOf(int members)
{
    QByteArray contents;
    for (int i = 0; i < members; ++i) {
        const QString time
            = QStringLiteral("%1:%2").arg(i % 3).arg(i % 60, 2, 10, QLatin1Char('0'));
        contents += EncodeClubText(clubRecordText(QStringLiteral("Member %1").arg(i), time,
                                                  QStringLiteral("Addition")))
            + "\r\n";
    }
    return contents;
}

struct Openings
{
    std::vector<double> ms;
    double memoryGrowthMiB = 0;
};

/// Opens a modal table window again and again, timed from the command to the window painted and
/// waiting for the player. `open` runs the command; the window found must list `rows` rows.
Openings timeOpenings(const std::function<void()>& open, const char* tableName, int rows)
{
    Openings openings;
    for (int sample = 0; sample < BoardOpenings; ++sample) {
        const double before = residentMiB();
        double openedMs = 0;
        int listed = -1;
        const auto start = SteadyClock::now();
        QTimer::singleShot(0, [&] {
            QWidget* window = QApplication::activeModalWidget();
            window->repaint();
            openedMs = millisecondsSince(start);
            if (auto* table = window->findChild<QTableView*>(QString::fromLatin1(tableName))) {
                listed = table->model()->rowCount();
            }
            openings.memoryGrowthMiB = std::max(openings.memoryGrowthMiB, residentMiB() - before);
            window->close();
        });
        open();
        openings.ms.push_back(openedMs);
        if (listed != rows) {
            std::fprintf(stderr, "records_bench: %s listed %d rows, not %d\n", tableName, listed,
                         rows);
            std::exit(EXIT_FAILURE);
        }
    }
    return openings;
}

/// Switches the open board between Subtraction (no members) and Addition (all of them), timed
/// from the selection to the grid repainted.
std::vector<double> timeTypeSwitches(const ClubFile& club, int additionRows)
{
    std::vector<double> samples;
    GameState globals;
    globals.ProblemType = 1;
    QTimer::singleShot(0, [&] {
        QWidget* board = QApplication::activeModalWidget();
        auto* combo = board->findChild<QComboBox*>(QStringLiteral("Combo1"));
        auto* grid = board->findChild<QTableView*>(QStringLiteral("MSFlexGrid1"));
        for (int sample = 0; sample < TypeSwitches; ++sample) {
            for (const int type : { 1, 0 }) {
                const auto start = SteadyClock::now();
                combo->setCurrentIndex(type);
                grid->repaint();
                samples.push_back(millisecondsSince(start));
                const int expected = type == 0 ? additionRows : 1;
                if (grid->model()->rowCount() != expected) {
                    std::fprintf(stderr, "records_bench: the board listed %d rows, not %d\n",
                                 grid->model()->rowCount(), expected);
                    std::exit(EXIT_FAILURE);
                }
            }
        }
        board->close();
    });
    ClubBoard::showModal(nullptr, globals, club);
    return samples;
}

struct LargeOpening
{
    double ms = 0;
    double peakExtraMiB = 0;
    int rows = -1;
    QString message;
};

/// Opens the board once on a large club file, timed from the command to the board painted, with
/// the most memory it took beyond what was resident before. A message before the board is
/// answered and kept.
LargeOpening openOnce(const ClubFile& club)
{
    LargeOpening opening;
    GameState globals;
    globals.ProblemType = 1;
    // Memory freed by earlier figures goes back to the system first, so none of it is counted
    // as resident before and then reused unseen.
    ::malloc_trim(0);
    const double before = residentMiB();
    resetPeakResident();
    const auto start = SteadyClock::now();
    std::function<void()> answer = [&] {
        QWidget* window = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(window)) {
            opening.message = box->text();
            box->accept();
            QTimer::singleShot(0, answer);
            return;
        }
        window->repaint();
        opening.ms = millisecondsSince(start);
        opening.peakExtraMiB = statusMiB("VmHWM:") - before;
        opening.rows
            = window->findChild<QTableView*>(QStringLiteral("MSFlexGrid1"))->model()->rowCount();
        window->close();
    };
    QTimer::singleShot(0, answer);
    ClubBoard::showModal(nullptr, globals, club);
    return opening;
}

/// Writes a file of the given size a megabyte at a time from a repeated pattern.
bool writeRepeated(const QString& path, const QByteArray& pattern, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray chunk = pattern.repeated(std::max<qsizetype>(1, (1 << 20) / pattern.size()));
    for (qint64 left = bytes; left > 0;) {
        const qint64 take = std::min<qint64>(left, chunk.size());
        if (file.write(chunk.constData(), take) != take) {
            return false;
        }
        left -= take;
    }
    return file.flush();
}

/// Ten members, two of each type, one slow and one fast: the lines a real club is made of.
QByteArray memberGroup()
{
    QByteArray group;
    for (const char* type : { "Addition", "Subtraction", "Multiplication", "Division", "Random" }) {
        group += EncodeClubText(clubRecordText(QString::fromUtf8("Slow Zoë"),
                                               QStringLiteral("2:30"), QString::fromLatin1(type)))
            + "\r\n";
        group += EncodeClubText(clubRecordText(QString::fromUtf8("Fast 小明"),
                                               QStringLiteral("1:45"), QString::fromLatin1(type)))
            + "\r\n";
    }
    return group;
}

void printLargeOpening(const char* title, qint64 bytes, const LargeOpening& opening)
{
    std::printf("%s (%.1f MiB):\n", title, static_cast<double>(bytes) / 1048576.0);
    std::printf(
        "  opened in %8.1f ms, %d grid rows%s%s\n", opening.ms, opening.rows,
        opening.message.isEmpty() ? "" : ", after the message: ", qPrintable(opening.message));
    std::printf("  most memory taken beyond what was resident before: +%.1f MiB\n",
                opening.peakExtraMiB);
}

/// The plain Qt way to list the club: the same file read by the same reader, the Addition
/// members fastest first in a QStandardItemModel, a QTableView in a dialog.
void showPlainClubTable(const ClubFile& club)
{
    QDialog dialog;
    auto* model = new QStandardItemModel(0, 2, &dialog);
    model->setHorizontalHeaderLabels({ QStringLiteral("Name"), QStringLiteral("Time") });
    // Sorted before the model is filled rather than by the model's own sort(): after that sort,
    // Qt 6.4 took about ten seconds to take the model's 200,000 items apart at every close.
    if (std::optional<std::vector<ClubRecord>> records = club.read()) {
        std::stable_sort(records->begin(), records->end(),
                         [](const ClubRecord& a, const ClubRecord& b) { return a.time < b.time; });
        for (const ClubRecord& record : *records) {
            if (record.type == QLatin1String("Addition")) {
                model->appendRow(
                    { new QStandardItem(record.name), new QStandardItem(record.time) });
            }
        }
    }
    auto* table = new QTableView(&dialog);
    table->setObjectName(QStringLiteral("plainTable"));
    table->setModel(model);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(table);
    dialog.resize(553, 441); // the club board's size
    dialog.exec();
}

void printOpenings(const char* title, const Openings& openings)
{
    std::printf("%s (%d runs):\n", title, BoardOpenings);
    std::printf("  median   %8.1f ms\n  max      %8.1f ms\n", bench::median(openings.ms),
                bench::largest(openings.ms));
    std::printf("  resident memory while open: +%.1f MiB\n", openings.memoryGrowthMiB);
}

QString newTopTime(int sample)
{
    return QStringLiteral("0:%1").arg(59 - sample % 50, 2, 10, QLatin1Char('0'));
}

/// The game's way: the tables read as they are on disk, the time ranked into Addition's, then,
/// under the store's lock, read and ranked again and all 50 keys saved.
std::vector<double> timeRankings(const QString& iniPath)
{
    IniSettingsStore store(iniPath);
    std::vector<double> samples;
    for (int sample = 0; sample < Rankings; ++sample) {
        const auto start = SteadyClock::now();
        const TopTimeRecording recording
            = recordTopTime(store, 1, newTopTime(sample), [] { return QStringLiteral("Ann"); });
        if (!recording.saved) {
            std::fprintf(stderr, "records_bench: the store could not be saved\n");
            std::exit(EXIT_FAILURE);
        }
        samples.push_back(millisecondsSince(start));
    }
    return samples;
}

/// The plain Qt way, with no ranking: the same 50 keys read from a QSettings INI file, the new
/// time put in first place, all 50 written back and synced.
std::vector<double> timePlainSettings(const QString& iniPath)
{
    QSettings settings(iniPath, QSettings::IniFormat);
    std::vector<double> samples;
    for (int sample = 0; sample < Rankings; ++sample) {
        const auto start = SteadyClock::now();
        settings.beginGroup(QStringLiteral("Sumdash"));
        QStringList keys;
        QStringList values;
        for (std::int16_t type = 1; type <= 5; ++type) {
            for (int place = 0; place < 5; ++place) {
                for (const bool nameKey : { false, true }) {
                    keys << topTimeKey(type, place, nameKey);
                    values << settings.value(keys.back(), nameKey ? DefaultTopName : DefaultTopTime)
                                  .toString();
                }
            }
        }
        values[0] = newTopTime(sample);
        for (qsizetype i = 0; i < keys.size(); ++i) {
            settings.setValue(keys[i], values[i]);
        }
        settings.endGroup();
        settings.sync();
        if (settings.status() != QSettings::NoError) {
            std::fprintf(stderr, "records_bench: the plain settings could not be saved\n");
            std::exit(EXIT_FAILURE);
        }
        samples.push_back(millisecondsSince(start));
    }
    return samples;
}

void printRankings(const char* title, const std::vector<double>& samples)
{
    std::printf("%s (%d runs):\n", title, Rankings);
    std::printf("  median   %8.2f ms\n  p99      %8.2f ms\n  max      %8.2f ms\n",
                bench::median(samples), bench::percentile(samples, 99.0), bench::largest(samples));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    registerDesignFonts();
    QTemporaryDir dir;

    ClubFile club(dir.filePath(ClubFileName));
    {
        QFile file(club.path());
        if (!file.open(QIODevice::WriteOnly) || file.write(clubOf(Members)) < 0) {
            std::fprintf(stderr, "records_bench: the club file could not be written\n");
            return EXIT_FAILURE;
        }
    }
    std::printf("Sumdash! records benchmark: platform %s\n",
                qPrintable(QGuiApplication::platformName()));
    std::printf("Club file: %d members, %.1f MiB\n", Members,
                static_cast<double>(QFile(club.path()).size()) / 1048576.0);

    GameState globals;
    globals.ProblemType = 1;
    // The heading row comes first on the board.
    const Openings board = timeOpenings([&] { ClubBoard::showModal(nullptr, globals, club); },
                                        "MSFlexGrid1", Members + 1);
    printOpenings("Opening the club board on 100,000 members", board);
    const Openings plain = timeOpenings([&] { showPlainClubTable(club); }, "plainTable", Members);
    printOpenings("The plain way: QTableView over a QStandardItemModel, fastest first", plain);

    const std::vector<double> switches = timeTypeSwitches(club, Members + 1);
    std::printf("Switching the board's type between Subtraction and Addition (%d switches):\n",
                2 * TypeSwitches);
    std::printf("  median   %8.1f ms\n  max      %8.1f ms\n", bench::median(switches),
                bench::largest(switches));

    // Large club files, each its own file in turn: 50 MB of members, 50 MB of nothing but
    // separators, and a sparse gigabyte.
    const QString largePath = dir.filePath(QStringLiteral("large/") + ClubFileName);
    QDir().mkpath(QFileInfo(largePath).absolutePath());
    ClubFile large(largePath);
    const QByteArray group = memberGroup();
    const qint64 membersBytes = FiftyMB / group.size() * group.size();
    if (!writeRepeated(largePath, group, membersBytes)) {
        std::fprintf(stderr, "records_bench: the 50 MB club could not be written\n");
        return EXIT_FAILURE;
    }
    const LargeOpening fiftyMembers = openOnce(large);
    printLargeOpening("Opening the club board on 50 MB of members", membersBytes, fiftyMembers);
    if (fiftyMembers.rows != static_cast<int>(membersBytes / group.size() * 2 + 1)) {
        std::fprintf(stderr, "records_bench: the 50 MB club listed %d rows\n", fiftyMembers.rows);
        return EXIT_FAILURE;
    }
    const QByteArray separator = EncodeClubText(ClubSeparator);
    const qint64 separatorBytes = FiftyMB / separator.size() * separator.size();
    if (!writeRepeated(largePath, separator, separatorBytes)) {
        std::fprintf(stderr, "records_bench: the 50 MB of separators could not be written\n");
        return EXIT_FAILURE;
    }
    const LargeOpening fiftySeparators = openOnce(large);
    printLargeOpening("Opening the club board on 50 MB of separators", separatorBytes,
                      fiftySeparators);
    if (!QFile::resize(largePath, 0) || !QFile::resize(largePath, OneGiB)) {
        std::fprintf(stderr, "records_bench: the sparse 1 GiB club could not be made\n");
        return EXIT_FAILURE;
    }
    const LargeOpening sparse = openOnce(large);
    printLargeOpening("Opening the club board on a sparse 1 GiB file", OneGiB, sparse);
    QFile::remove(largePath);

    const std::vector<double> ranking = timeRankings(dir.filePath(QStringLiteral("Pellmoor.ini")));
    printRankings("Ranking a time under the store's lock and saving all 50 keys", ranking);
    const std::vector<double> plainSettings
        = timePlainSettings(dir.filePath(QStringLiteral("Plain.ini")));
    printRankings("The plain way: 50 keys read and written back with QSettings, no ranking",
                  plainSettings);

    bench::printSummaryRow(
        60,
        "Club board opened on 100,000 members (minimal: the same members in a QTableView over "
        "a QStandardItemModel)",
        QString::asprintf("%.0f ms", bench::median(board.ms)),
        QString::asprintf("%.0f ms", bench::median(plain.ms)),
        bench::ratioText(bench::median(board.ms), bench::median(plain.ms)), "< 100 ms");
    bench::printSummaryRow(
        61, "Club board on 100,000 members: switching type, median / max",
        QString::asprintf("%.1f / %.1f ms", bench::median(switches), bench::largest(switches)), "—",
        "—", "< 20 ms");
    bench::printSummaryRow(
        62, "Club board opened on 50 MB of members: time / most extra memory",
        QString::asprintf("%.0f ms / %.0f MiB", fiftyMembers.ms, fiftyMembers.peakExtraMiB), "—",
        "—",
        QString::asprintf("< 1 s / < %.0f MiB (2× the file)",
                          2.0 * static_cast<double>(membersBytes) / 1048576.0));
    bench::printSummaryRow(
        63, "Club board opened on 50 MB of separators: time / most extra memory",
        QString::asprintf("%.0f ms / %.0f MiB", fiftySeparators.ms, fiftySeparators.peakExtraMiB),
        "—", "—",
        QString::asprintf("< 1 s / < %.0f MiB (2× the file)",
                          2.0 * static_cast<double>(separatorBytes) / 1048576.0));
    bench::printSummaryRow(
        64,
        QString::asprintf(
            "Club board opened on a sparse 1 GiB file (not read past the %lld MiB limit): "
            "time / most extra memory",
            static_cast<long long>(ClubListing::LargestFile / 1048576)),
        QString::asprintf("%.0f ms / %.0f MiB", sparse.ms, sparse.peakExtraMiB), "—", "—",
        "a few seconds / far below the file");
    bench::printSummaryRow(
        70,
        "Ranking a top time against the file and saving all 50 keys under the store's lock: median "
        "(minimal: the 50 keys read and written with QSettings)",
        QString::asprintf("%.2f ms", bench::median(ranking)),
        QString::asprintf("%.2f ms", bench::median(plainSettings)),
        bench::ratioText(bench::median(ranking), bench::median(plainSettings)), "—");
    return EXIT_SUCCESS;
}
