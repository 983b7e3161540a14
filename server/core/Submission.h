// A submission checked and cleaned: what the server keeps of a child's request.
#pragma once

#include "server/core/Subject.h"
#include "server/core/SubmitQuery.h"
#include "server/core/SubmitRefusal.h"

#include <QString>
#include <optional>
#include <variant>

inline constexpr qsizetype MaxNameCharacters = 20;
inline constexpr qsizetype MaxDateCharacters = 32;
inline constexpr int MaxSubmitSeconds = 3 * 60;

struct Submission
{
    /// The cleaned name; empty for an anonymous one (an empty name or the untouched default
    /// "Your Name"), which every board shows as "Anonymous".
    QString name;
    Subject subject = Subject::Addition;
    int seconds = 0; ///< 0 to 180
    /// The player's own date, cleaned like the name; shown as it is and never read as a date.
    QString date;

    bool anonymous() const { return name.isEmpty(); }
};

/// The name a board shows: the name itself, or "Anonymous" for the empty one.
QString displayName(const QString& name);

/// The check value the game sends with a time: seconds * 7 + minutes * 13 + t * 29, with t the
/// subject's number (1 for add to 5 for rnd). It only catches a mistyped or hand-made request.
int submissionCheckValue(int minutes, int seconds, Subject subject);

/// The seconds of "m:ss" from "0:00" to "3:00": minutes without a leading zero, two-digit
/// seconds under 60; nothing for any other text.
std::optional<int> submittedSeconds(const QString& time);

/// Checks subject, time, check value, name and date, in that order, and cleans the texts.
std::variant<Submission, SubmitRefusal> checkedSubmission(const SubmitFields& fields);

/// The query of a link the game could have sent for submission, every value percent-encoded:
/// submissionFromQuery() reads it back into the same submission. The confirmation page's form
/// posts to it, so the post is checked the way the link was and can carry only what was shown.
QByteArray submitQuery(const Submission& submission);

/// parseSubmitQuery() and then checkedSubmission(): the submission a raw query carries.
std::variant<Submission, SubmitRefusal> submissionFromQuery(QByteArrayView rawQuery);
