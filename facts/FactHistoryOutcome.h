// How an operation on the fact history file went, and what a parent is told when it did not.
#pragma once

#include <QString>

/// What kept the fact history from doing its work. Answers stay in memory for the session
/// whatever happens; these are only about keeping them on disk.
enum class FactHistoryProblem {
    None,
    /// The file or its folder cannot be opened or written (permissions, a folder that is a file,
    /// a history written by a newer Sumdash!, another copy of the game holding it too long).
    CannotOpen,
    /// The file is not a database or is corrupt. It has been renamed aside and a fresh history
    /// started.
    Damaged,
    /// The disk has no room: the run was not kept, and nothing was half-written.
    DiskFull,
};

struct FactHistoryOutcome
{
    FactHistoryProblem problem = FactHistoryProblem::None;
    /// Whether the operation did its work: the run is kept, the history read, cleared or removed.
    /// A damaged file put aside still lets the work be done in the fresh one.
    bool done = false;
    /// The history file the operation was about.
    QString path;
    /// Where a damaged file was put aside; empty otherwise.
    QString setAsidePath;
    /// SQLite's or the system's own words, for a log; never shown to the player.
    QString detail;

    bool ok() const { return problem == FactHistoryProblem::None; }
};

/// A step of an operation that went wrong: its problem and the detail for a log.
struct FactHistoryFailure
{
    FactHistoryProblem problem = FactHistoryProblem::None;
    QString detail;

    explicit operator bool() const { return problem != FactHistoryProblem::None; }
};

/// What a parent reads about a problem: plain sentences, no error codes. Empty for None.
QString factHistoryMessage(const FactHistoryOutcome& outcome);
