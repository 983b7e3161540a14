// What a finished run hands to the results window, as numbers, and the captions made from them.
#pragma once

#include <QString>
#include <cstdint>

struct GameState;

/// The clock and the two counts at the end of a run, as the engine counted them.
struct RunResults
{
    std::int16_t clockMinutes = 0;
    std::int16_t clockSeconds = 0;
    std::int16_t correct = 0;
    std::int16_t incorrect = 0;

    /// The run's results as the game state holds them when the run has ended.
    static RunResults of(const GameState& state);

    /// The time as the main window's clock showed it: "2:47".
    QString clockText() const;
    /// A time within 3:00 earns the rewards: "3:00" does, "3:01" does not.
    bool qualifies() const;
    /// The share of correct answers as a whole percentage and "%": the fraction rounded to two
    /// decimals with halves going to the even neighbour (1 of 8 gives "12%", 3 of 8 "38%"); "0%"
    /// when nothing was answered.
    QString percentText() const;
};
