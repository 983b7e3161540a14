// A run from its countdown to its last answer: the run flow, the clock and the answer rules.
#include "engine/DrillRun.h"

#include "engine/ClockText.h"
#include "engine/DigitColumns.h"
#include "engine/ProblemGenerator.h"
#include "engine/ProblemTypes.h"
#include "engine/SaturatingCount.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace {

constexpr std::size_t MaxAnswerLength = 4;

} // namespace

DrillRun::DrillRun(GameState& globals, RandomSource& random)
    : m_globals(globals)
    , m_random(random)
{
}

void DrillRun::ResetGameDisplay()
{
    m_view.Timer1Enabled = false;
    m_view.Timer2Enabled = false;
    m_globals.CountdownStep = 0;
    m_globals.CorrectCount = 0;
    m_globals.IncorrectCount = 0;
    m_globals.ClockSeconds = 0;
    m_globals.ClockMinutes = 0;
    m_view.CorrectLab = "0";
    m_view.IncorrectLab = "0";
    m_view.ShowTime = "0:00";
    m_view.AnsText.clear();
    m_view.AnsTextVisible = false;
    m_view.pbStatusVisible = false;
    // In practice the row's visibility belongs to the practice options; a timed run hides it.
    if (m_globals.TimedMode) {
        m_view.commands.mnuTools = false;
        m_view.commands.mnuOptions = false;
        m_view.commands.mnuStart = false;
        m_view.countsRow = CountsRowVisibility {};
    }
}

void DrillRun::startCountdown()
{
    ResetGameDisplay();
    if (m_globals.TimedMode) {
        m_globals.PracticeProblemCount = 100;
        m_globals.MaxOperand = 12;
    } else {
        m_view.commands.mnuDash = false;
    }
    m_view.lblStatusColour = CountdownColour::Black;
    m_view.lblStatus = "Ready...";
    m_view.pbStatusVisible = true;
    m_view.Timer2Enabled = true;
}

bool DrillRun::countdownStep()
{
    if (!m_view.Timer2Enabled) {
        return false;
    }
    const std::int16_t step = m_globals.CountdownStep;
    incrementSaturating(m_globals.CountdownStep);
    switch (step) {
    case 0:
        m_view.lblStatusColour = CountdownColour::Blue;
        m_view.lblStatus = "Set...";
        return false;
    case 1:
        m_view.lblStatusColour = CountdownColour::Green;
        m_view.lblStatus = "Go!";
        return false;
    default:
        m_view.pbStatusVisible = false;
        m_view.Timer2Enabled = false;
        m_view.Timer1Enabled = true;
        m_view.problemVisible = true;
        m_view.AnsTextVisible = true;
        m_view.AnsTextEnabled = true;
        NextProblem();
        startAttempt(0, 1); // the stopwatch starts at this "Go!"
        return true;
    }
}

// The clock shows the whole seconds elapsed since "Go!", not the number of ticks seen: a tick
// that arrives late (a busy machine, a dragged window) catches up instead of losing a second,
// and the timed run's score stays fair. It never runs backwards and stops at 32767:59.
void DrillRun::clockStep(std::int64_t elapsedMs)
{
    if (!m_view.Timer1Enabled) {
        return;
    }
    constexpr std::int64_t Largest
        = std::int64_t { std::numeric_limits<std::int16_t>::max() } * 60 + 59;
    const std::int64_t shown
        = std::int64_t { m_globals.ClockMinutes } * 60 + m_globals.ClockSeconds;
    const std::int64_t elapsed = std::min(std::max<std::int64_t>(elapsedMs, 0) / 1000, Largest);
    if (elapsed > shown) {
        m_globals.ClockMinutes = static_cast<std::int16_t>(elapsed / 60);
        m_globals.ClockSeconds = static_cast<std::int16_t>(elapsed % 60);
    }
    m_view.ShowTime = clockText(m_globals.ClockMinutes, m_globals.ClockSeconds);
}

void DrillRun::setCommandsEnabled(bool enabled)
{
    m_view.commands = EnabledCommands { enabled, enabled, enabled, enabled };
}

void DrillRun::StopRun()
{
    m_view.Timer1Enabled = false;
    m_view.Timer2Enabled = false;
    m_view.AnsTextEnabled = false;
    m_view.pbStatusVisible = false;
    setCommandsEnabled(true);
    m_view.timedRunLogoVisible = false;
}

void DrillRun::FinishRun(std::int64_t elapsedMs)
{
    clockStep(elapsedMs);
    StopRun();
}

void DrillRun::NextProblem()
{
    m_view.AnsText.clear();
    if (m_view.AnsTextVisible && m_view.AnsTextEnabled) {
        m_focusRequested = true;
    }
    m_view.timedRunLogoVisible = m_globals.TimedMode;

    m_problem = m_practiceProblems && !m_globals.TimedMode
        ? m_practiceProblems(m_random)
        : drawProblem(m_globals.ProblemType, m_globals.MaxOperand, m_random);
    m_view.OpLab = m_problem.operatorText;
    m_view.NumLab = std::to_string(m_problem.top);
    m_view.DenLab = std::to_string(m_problem.bottom);

    DigitColumns top = splitIntoColumns(m_view.NumLab);
    DigitColumns bottom = splitIntoColumns(m_view.DenLab);
    m_view.UpLeft = std::move(top.tens);
    m_view.UpRight = std::move(top.units);
    m_view.DownLeft = std::move(bottom.tens);
    m_view.DownRight = std::move(bottom.units);
}

bool DrillRun::takeFocusRequest()
{
    const bool requested = m_focusRequested;
    m_focusRequested = false;
    return requested;
}

void DrillRun::setAnswerListener(std::function<void(const JudgedAnswer&)> listener)
{
    m_answerListener = std::move(listener);
}

void DrillRun::setPracticeProblems(std::function<Problem(RandomSource&)> draw)
{
    m_practiceProblems = std::move(draw);
}

void DrillRun::startAttempt(std::int64_t elapsedMs, std::int16_t attempt)
{
    m_attemptStartMs = elapsedMs;
    m_firstDigitMs.reset();
    m_attempt = attempt;
}

void DrillRun::reportAnswer(bool right, std::int64_t elapsedMs)
{
    if (!m_answerListener) {
        return;
    }
    JudgedAnswer answer;
    answer.problem = m_problem;
    answer.expected = rightAnswer(m_problem).value_or(0);
    answer.typed = m_view.AnsText;
    answer.right = right;
    answer.attempt = m_attempt;
    answer.msToEnter = std::max<std::int64_t>(elapsedMs - m_attemptStartMs, 0);
    answer.msToFirstDigit = std::clamp<std::int64_t>(
        m_firstDigitMs.value_or(elapsedMs) - m_attemptStartMs, 0, answer.msToEnter);
    m_answerListener(answer);
}

void DrillRun::answerKeyDown(std::string_view typedText, bool isBackspace, std::int64_t elapsedMs)
{
    if (!m_view.AnsTextVisible || !m_view.AnsTextEnabled) {
        return;
    }
    // Backspace still works on a full box; a fifth digit is ignored.
    if (m_view.AnsText.size() >= MaxAnswerLength && !isBackspace) {
        return;
    }
    const bool digit = typedText.size() == 1 && typedText[0] >= '0' && typedText[0] <= '9';
    if (digit) {
        m_view.AnsText += typedText[0];
        if (!m_firstDigitMs) {
            m_firstDigitMs = elapsedMs;
        }
    } else if (isBackspace && !m_view.AnsText.empty()) {
        m_view.AnsText.pop_back();
    }
}

AnswerOutcome DrillRun::answerEnter(std::int64_t elapsedMs)
{
    if (!m_view.AnsTextVisible || !m_view.AnsTextEnabled || m_view.AnsText.empty()) {
        return AnswerOutcome::Ignored;
    }
    const bool right = IsAnswerCorrect();
    reportAnswer(right, elapsedMs);
    if (right) {
        incrementSaturating(m_globals.CorrectCount);
        m_view.CorrectLab = std::to_string(m_globals.CorrectCount);
        if (m_globals.CorrectCount < m_globals.PracticeProblemCount) {
            NextProblem();
            startAttempt(elapsedMs, 1);
            return AnswerOutcome::Correct;
        }
        return AnswerOutcome::RunFinished;
    }
    if (m_globals.OnlyAllowCorrect || m_globals.TimedMode) {
        m_view.AnsText.clear();
        m_view.WrongAnsVisible = true;
        startAttempt(elapsedMs, static_cast<std::int16_t>(std::min<int>(m_attempt + 1, 32767)));
        return AnswerOutcome::WrongRetype;
    }
    incrementSaturating(m_globals.IncorrectCount);
    m_view.IncorrectLab = std::to_string(m_globals.IncorrectCount);
    NextProblem();
    startAttempt(elapsedMs, 1);
    return AnswerOutcome::WrongCounted;
}

void DrillRun::answerKeyUp()
{
    m_view.WrongAnsVisible = false;
}

// The answer box holds at most four digits, so its number is judged as a whole number against
// the problem's own numbers, never against the captions on show.
bool DrillRun::IsAnswerCorrect() const
{
    const std::optional<std::int32_t> expected = rightAnswer(m_problem);
    std::int32_t answer = 0;
    const std::string& typed = m_view.AnsText;
    const auto [end, error] = std::from_chars(typed.data(), typed.data() + typed.size(), answer);
    if (!expected || error != std::errc {} || end == typed.data()) {
        return false;
    }
    return answer == *expected;
}
