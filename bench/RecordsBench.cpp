// Times the records: the club board opening on 100,000 members, and ranking and saving a time;
// each beside the plain Qt way of doing the same job.
#include "assets/DesignFonts.h"
#include "bench/BenchFigures.h"
#include "bench/SummaryTable.h"
#include "engine/GameState.h"
#include "records/ClubBoard.h"
#include "records/ClubFile.h"
#include "records/SettingsStore.h"
#include "records/TopTimes.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDialog>
#include <QFile>
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
#include <optional>
#include <string>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int Members = 100000;
constexpr int BoardOpenings = 5;
constexpr int Rankings = 200;

double millisecondsSince(SteadyClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

// Resident memory of this process in MiB, from /proc.
double residentMiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
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

/// The game's way: all five tables loaded, the time ranked into Addition's, all 50 keys saved.
std::vector<double> timeRankings(const QString& iniPath)
{
    IniSettingsStore store(iniPath);
    std::vector<double> samples;
    for (int sample = 0; sample < Rankings; ++sample) {
        const auto start = SteadyClock::now();
        TopTimeTables tables = loadTopTimes(store);
        const std::int16_t slot = rankTopTime(tables.tables[0], newTopTime(sample));
        if (slot != NoTopTimeSlot) {
            tables.tables[0].names[static_cast<std::size_t>(slot)] = QStringLiteral("Ann");
        }
        saveTopTimes(store, tables);
        if (!store.save()) {
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

    const std::vector<double> ranking = timeRankings(dir.filePath(QStringLiteral("Pellmoor.ini")));
    printRankings("Ranking a time and saving all 50 keys", ranking);
    const std::vector<double> plainSettings
        = timePlainSettings(dir.filePath(QStringLiteral("Plain.ini")));
    printRankings("The plain way: 50 keys read and written back with QSettings, no ranking",
                  plainSettings);

    bench::printSummaryRow(
        60,
        "Club board opened on 100,000 members (minimal: the same members in a QTableView over "
        "a QStandardItemModel)",
        bench::textf("%.0f ms", bench::median(board.ms)),
        bench::textf("%.0f ms", bench::median(plain.ms)),
        bench::ratioText(bench::median(board.ms), bench::median(plain.ms)), "—");
    bench::printSummaryRow(
        70,
        "Ranking a top time and saving all 50 keys: median (minimal: the 50 keys read and "
        "written with QSettings)",
        bench::textf("%.2f ms", bench::median(ranking)),
        bench::textf("%.2f ms", bench::median(plainSettings)),
        bench::ratioText(bench::median(ranking), bench::median(plainSettings)), "—");
    return EXIT_SUCCESS;
}
