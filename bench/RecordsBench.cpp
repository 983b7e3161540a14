// Times the records: the club board opening on 100,000 members, and ranking and saving a time.
#include "assets/DesignFonts.h"
#include "bench/BenchFigures.h"
#include "engine/GameState.h"
#include "records/ClubBoard.h"
#include "records/ClubFile.h"
#include "records/SettingsStore.h"
#include "records/TopTimes.h"

#include <QApplication>
#include <QFile>
#include <QStyleFactory>
#include <QAbstractItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;

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
        const QString time = QStringLiteral("%1:%2").arg(i % 3).arg(i % 60, 2, 10, QLatin1Char('0'));
        contents += EncodeClubText(clubRecordText(QStringLiteral("Member %1").arg(i), time,
                                                  QStringLiteral("Addition")))
            + "\r\n";
    }
    return contents;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    registerDesignFonts();
    QTemporaryDir dir;

    constexpr int Members = 100000;
    ClubFile club(dir.filePath(ClubFileName));
    {
        QFile file(club.path());
        file.open(QIODevice::WriteOnly);
        file.write(clubOf(Members));
    }
    std::printf("Sumdash! records benchmark: platform %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("Club file: %d members, %.1f MiB\n", Members, QFile(club.path()).size() / 1048576.0);

    std::vector<double> opening;
    double memoryGrowth = 0;
    GameState globals;
    globals.ProblemType = 1;
    for (int sample = 0; sample < 5; ++sample) {
        const double before = residentMiB();
        double openedMs = 0;
        int rows = 0;
        const auto start = SteadyClock::now();
        // Timed from the command to the board painted and waiting for the player.
        QTimer::singleShot(0, [&] {
            QWidget* board = QApplication::activeModalWidget();
            board->repaint();
            openedMs = millisecondsSince(start);
            rows = board->findChild<QTableView*>(QStringLiteral("MSFlexGrid1"))->model()->rowCount();
            memoryGrowth = std::max(memoryGrowth, residentMiB() - before);
            board->close();
        });
        ClubBoard::showModal(nullptr, globals, club);
        opening.push_back(openedMs);
        if (rows != Members + 1) {
            std::fprintf(stderr, "the board listed %d rows\n", rows);
            return 1;
        }
    }
    std::printf("Opening the club board on %d members (5 runs):\n", Members);
    std::printf("  median   %8.1f ms\n  max      %8.1f ms\n", bench::median(opening), bench::largest(opening));
    std::printf("  resident memory while open: +%.1f MiB\n", memoryGrowth);

    std::vector<double> ranking;
    IniSettingsStore store(dir.filePath(QStringLiteral("Pellmoor.ini")));
    for (int sample = 0; sample < 200; ++sample) {
        const auto start = SteadyClock::now();
        TopTimeTables tables = loadTopTimes(store);
        const std::int16_t slot = rankTopTime(tables.tables[0], QStringLiteral("0:%1").arg(59 - sample % 50, 2, 10, QLatin1Char('0')));
        if (slot != NoTopTimeSlot) {
            tables.tables[0].names[static_cast<std::size_t>(slot)] = QStringLiteral("Ann");
        }
        saveTopTimes(store, tables);
        if (!store.save()) {
            std::fprintf(stderr, "the store could not be saved\n");
            return 1;
        }
        ranking.push_back(millisecondsSince(start));
    }
    std::printf("Ranking a time and saving all 50 keys (200 runs):\n");
    std::printf("  median   %8.2f ms\n  p99      %8.2f ms\n  max      %8.2f ms\n", bench::median(ranking),
                bench::percentile(ranking, 99.0), bench::largest(ranking));
    return 0;
}
