// What the main window shows of a run: captions, visibility, timers and locked commands.
#pragma once

#include <string>

struct Rgb
{
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

namespace CountdownColour {
inline constexpr Rgb Black { 0, 0, 0 };
inline constexpr Rgb Blue { 0, 0, 255 };
inline constexpr Rgb Green { 0, 128, 0 };
} // namespace CountdownColour

/// The count and clock row above the page; the practice options decide it when accepted.
struct CountsRowVisibility
{
    bool correctCaption = false; ///< "Correct:" (Label1)
    bool CorrectLab = false;
    bool incorrectCaption = false; ///< "Incorrect:" (Label3)
    bool IncorrectLab = false;
    bool ShowTime = false;
    friend bool operator==(const CountsRowVisibility&, const CountsRowVisibility&) = default;
};

/// The commands a run locks. The toolbar follows the menu: "dash" with mnuDash, "practice"
/// with mnuStart, "club" and "toptime" with mnuTools. Stop, exit, web and about never lock.
struct EnabledCommands
{
    bool mnuDash = true;
    bool mnuStart = true;
    bool mnuOptions = true;
    bool mnuTools = true;
    friend bool operator==(const EnabledCommands&, const EnabledCommands&) = default;
};

/// The main window mirrors this after every engine step. The problem is here as the page's
/// captions; the engine judges answers against its own numbers, never these.
struct DrillView
{
    // The problem page.
    std::string NumLab; ///< top operand, never shown
    std::string DenLab; ///< bottom operand, never shown
    std::string OpLab;
    std::string UpLeft;
    std::string UpRight;
    std::string DownLeft;
    std::string DownRight;
    bool problemVisible = false; ///< the four digit labels, OpLab and the rule Line1
    std::string AnsText;
    bool AnsTextVisible = false;
    bool AnsTextEnabled = true;
    bool WrongAnsVisible = false;
    bool timedRunLogoVisible = false; ///< the timed-run logo

    // The count and clock row.
    std::string CorrectLab = "0";
    std::string IncorrectLab = "0";
    std::string ShowTime = "0:00";
    CountsRowVisibility countsRow;

    // The Ready/Set/Go banner.
    bool pbStatusVisible = false;
    std::string lblStatus = "Ready...";
    Rgb lblStatusColour = CountdownColour::Black;

    bool Timer1Enabled = false; ///< run clock
    bool Timer2Enabled = false; ///< countdown
    EnabledCommands commands;
};
