// Times the Fact Times window opening on a kept history of 100,000 and of 1,000,000 answers:
// the history read on the writer's thread, the grid built and drawn, beside a plain dialog
// with a 13 x 13 table of text opened the same way.
#include "bench/BenchFigures.h"
#include "bench/SummaryTable.h"
#include "facts/FactGrid.h"
#include "facts/FactHistory.h"
#include "facts/FactHistoryFile.h"
#include "facts/FactTimesWindow.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHeaderView>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWindow>
#include <cstdio>
#include <vector>

namespace {

constexpr int RunAnswers = 1000;
constexpr int Openings = 5;
constexpr std::int64_t FirstMorningMs = 1'765'000'000'000;
constexpr std::int64_t DayMs = 24LL * 3600 * 1000;

class AlwaysKeep final : public KeepSwitch
{
public:
    bool isOn() const override { return true; }
    bool set(bool) override { return true; }
};

/// A history of `answers` answers over every grid fact, four runs of a thousand a day.
bool buildHistory(const QString& path, int answers)
{
    QRandomGenerator random(2026);
    std::vector<FactKey> facts;
    for (FactOperation operation : AllFactOperations) {
        const std::vector<FactKey> grid = gridFacts(operation);
        facts.insert(facts.end(), grid.begin(), grid.end());
    }
    FactHistoryFile history(path);
    for (int run = 0; run < answers / RunAnswers; ++run) {
        const std::int64_t start = FirstMorningMs + (run / 4) * DayMs + (run % 4) * 3'600'000;
        std::vector<FactAttempt> attempts(RunAnswers);
        for (int index = 0; index < RunAnswers; ++index) {
            FactAttempt& attempt = attempts[static_cast<std::size_t>(index)];
            attempt.run = FactRun { run + 1, run % 2 == 0, 12, false };
            attempt.fact = facts[random.bounded(static_cast<quint32>(facts.size()))];
            attempt.expected = 1;
            attempt.right = random.bounded(10) != 0;
            attempt.typed = attempt.right ? "1" : "2";
            attempt.msToEnter = static_cast<std::int32_t>(800 + random.bounded(9000));
            attempt.msToFirstDigit = attempt.msToEnter / 2;
            attempt.whenUtcMs = start + index * 2000LL;
        }
        if (!history.appendRun(attempts).ok()) {
            return false;
        }
    }
    return true;
}

/// From nothing to the window drawn on screen.
template<typename Open> double openingMs(Open open)
{
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QWidget> window = open();
    window->show();
    while (!window->isVisible() || !window->windowHandle()
           || !window->windowHandle()->isExposed()) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    window->repaint();
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    window->close();
    return ms;
}

std::unique_ptr<QWidget> plainTable()
{
    auto dialog = std::make_unique<QDialog>();
    auto* table = new QTableWidget(13, 13, dialog.get());
    for (int row = 0; row < 13; ++row) {
        for (int column = 0; column <= row; ++column) {
            table->setItem(row, column, new QTableWidgetItem(QString::number(row * column)));
        }
    }
    auto* layout = new QVBoxLayout(dialog.get());
    layout->addWidget(table);
    return dialog;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QTemporaryDir folder;
    AlwaysKeep keep;
    int order = 80;
    for (const int answers : { 100'000, 1'000'000 }) {
        const QString path = folder.filePath(QStringLiteral("facts-%1.sqlite").arg(answers));
        QElapsedTimer building;
        building.start();
        if (!buildHistory(path, answers)) {
            std::fprintf(stderr, "could not build a history of %d answers\n", answers);
            return 1;
        }
        std::printf("A history of %d answers: %.1f MB, built in %.1f s\n", answers,
                    static_cast<double>(QFileInfo(path).size()) / 1e6,
                    static_cast<double>(building.elapsed()) / 1000.0);
        std::vector<double> window;
        std::vector<double> plain;
        for (int opening = 0; opening < Openings; ++opening) {
            // A fresh history each time: the file is opened and read as on the window's first look.
            FactHistory history(path, keep,
                                FactHistory::Clocks { [] { return FirstMorningMs; },
                                                      [](std::int64_t) { return 0; } });
            window.push_back(openingMs([&] {
                return std::make_unique<FactTimesWindow>(nullptr, history, FactOperation::Multiply);
            }));
            plain.push_back(openingMs(plainTable));
        }
        std::printf("  Fact Times opened: median %.1f ms, largest %.1f ms; the plain table: median "
                    "%.1f ms\n",
                    bench::median(window), bench::largest(window), bench::median(plain));
        bench::printSummaryRow(
            order++,
            QString::asprintf(
                "Fact Times window opened on %s kept answers (minimal: a dialog with a 13 x 13 "
                "table of text)",
                answers == 100'000 ? "100,000" : "1,000,000"),
            QString::asprintf("%.0f ms", bench::median(window)),
            QString::asprintf("%.0f ms", bench::median(plain)),
            bench::ratioText(bench::median(window), bench::median(plain)),
            answers == 100'000 ? "< 100 ms" : "< 300 ms");
    }
    return 0;
}
