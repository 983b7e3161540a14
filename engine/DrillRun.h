// A run from its countdown to its last answer: the run flow, the clock and the answer rules.
#pragma once

#include "engine/DrillView.h"
#include "engine/GameState.h"
#include "engine/JudgedAnswer.h"
#include "engine/ProblemGenerator.h"
#include "engine/RandomSource.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

/// What an Enter in the answer box led to; the window opens the results on RunFinished.
enum class AnswerOutcome {
    Ignored, ///< empty answer, or no run accepting answers
    Correct, ///< counted, next problem shown
    WrongRetype, ///< box emptied, the same problem stays
    WrongCounted, ///< counted as wrong, next problem shown
    RunFinished, ///< the last correct answer: the window calls FinishRun
};

/// The engine behind the main window. Ticks, keys and commands come in as calls; the window
/// shows view() after each. Nothing here reads a clock: elapsed time is handed in.
class DrillRun
{
public:
    DrillRun(GameState& globals, RandomSource& random);

    const DrillView& view() const { return m_view; }
    /// The problem on show, as numbers.
    const Problem& problem() const { return m_problem; }

    /// Zeroes counters, captions and clock; a timed run also locks commands and hides the row.
    void ResetGameDisplay();
    /// BeginRun after the player picked a type: reset, then "Ready..." with the countdown on.
    void startCountdown();
    /// One Timer2 tick; true when this tick started the run (the clock starts counting now).
    bool countdownStep();
    /// One Timer1 tick, with the time elapsed since "Go!".
    void clockStep(std::int64_t elapsedMs);
    void StopRun();
    /// The last correct answer was given at elapsedMs: the clock shows that moment, then stops.
    void FinishRun(std::int64_t elapsedMs);
    void NextProblem();

    /// A key pressed in the answer box: typedText is what the key types (layout and Shift
    /// applied), so main-keyboard and keypad digits append alike. elapsedMs is the run's
    /// stopwatch, for the time to the first digit.
    void answerKeyDown(std::string_view typedText, bool isBackspace, std::int64_t elapsedMs = 0);
    /// Enter (Return or the keypad's Enter) judges the answer, given at elapsedMs.
    AnswerOutcome answerEnter(std::int64_t elapsedMs = 0);
    /// Any key released in the answer box hides the wrong-answer mark.
    void answerKeyUp();
    bool IsAnswerCorrect() const;

    /// The practice options' display switches, applied to the running display at once.
    void setCountsRow(const CountsRowVisibility& visibility) { m_view.countsRow = visibility; }

    /// Set by NextProblem when the answer box should take the keyboard focus; the window
    /// clears it once it has moved the focus.
    bool takeFocusRequest();

    /// Told of every judged answer, right or wrong, as it is judged.
    void setAnswerListener(std::function<void(const JudgedAnswer&)> listener);
    /// Draws a practice run's problems from elsewhere (facts that need work) instead of the
    /// problem type's generator; an empty function goes back to the generator. A timed run
    /// always uses the generator, so its times stay comparable.
    void setPracticeProblems(std::function<Problem(RandomSource&)> draw);

private:
    void setCommandsEnabled(bool enabled);
    void startAttempt(std::int64_t elapsedMs, std::int16_t attempt);
    void reportAnswer(bool right, std::int64_t elapsedMs);

    GameState& m_globals;
    RandomSource& m_random;
    DrillView m_view;
    Problem m_problem; ///< the problem on show, as numbers; the view has its captions
    bool m_focusRequested = false;

    // The attempt on show: when it began and when its first digit came, on the run's stopwatch.
    std::int64_t m_attemptStartMs = 0;
    std::optional<std::int64_t> m_firstDigitMs;
    std::int16_t m_attempt = 1;
    std::function<void(const JudgedAnswer&)> m_answerListener;
    std::function<Problem(RandomSource&)> m_practiceProblems;
};
