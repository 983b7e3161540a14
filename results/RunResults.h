// What a finished run hands to the results window, and the sums made from it.
#pragma once

#include <QString>

/// The main window's final captions: the clock and the two counts, as shown there.
struct RunResults
{
    QString ShowTime;
    QString CorrectLab;
    QString IncorrectLab;
};

/// A time qualifies for the rewards when its minutes times 60 plus its seconds is at most 180:
/// "3:00" does, "3:01" does not. A text that is no clock time never qualifies.
bool isQualifyingTime(const QString& clockText);

/// The share of correct answers as a whole percentage and "%": the fraction rounded to two
/// decimals with halves going to the even neighbour (1 of 8 gives "12%", 3 of 8 "38%"); "0%"
/// when both counts are 0. The counts are the whole parts of the two captions.
QString percentText(const QString& correctText, const QString& incorrectText);
