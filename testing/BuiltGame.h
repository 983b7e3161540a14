// The real main window as tests and benchmarks play it: temporary records, a recording browser,
// and the same problems every time.
#pragma once

#include "app/AssembledGame.h"
#include "engine/ClockSeededRandom.h"
#include "engine/ProblemGenerator.h"
#include "testing/FakeSystemInfo.h"
#include "testing/ManualRunClock.h"
#include "testing/RecordingBrowser.h"
#include "testing/TempRecords.h"

#include <QLabel>

/// The real generator with its clock frozen: the same problems every time.
class FrozenRandom final : public RandomSource
{
public:
    double nextUnit() override { return m_random.nextUnit(); }

private:
    ClockSeededRandom m_random { [] { return std::uint64_t { 7 }; } };
};

/// The right answer to the problem on the window's page, worked out from the page's hidden
/// operand labels and its operator as the game's own rule does; empty when no problem is shown.
inline QString rightAnswer(QWidget* window)
{
    const auto* top = window->findChild<QLabel*>(QStringLiteral("NumLab"));
    const auto* bottom = window->findChild<QLabel*>(QStringLiteral("DenLab"));
    const auto* op = window->findChild<QLabel*>(QStringLiteral("OpLab"));
    if (top == nullptr || bottom == nullptr || op == nullptr) {
        return {};
    }
    const Problem problem { op->property("operatorText").toString().toStdString(),
                            static_cast<std::int16_t>(top->text().toInt()),
                            static_cast<std::int16_t>(bottom->text().toInt()) };
    const std::optional<std::int32_t> answer = rightAnswer(problem);
    return answer ? QString::number(*answer) : QString();
}

/// The real main window and what it is built from, built but not yet started. The stopwatch is
/// the test's choice: one advanced by hand, or the real one.
template<typename Stopwatch = ManualRunClock>
using BuiltGame
    = AssembledGame<FrozenRandom, Stopwatch, TempRecords, RecordingBrowser, FakeSystemInfo>;
