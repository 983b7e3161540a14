// The online submission of a qualifying time: the address the scoreboard server receives.
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <cstdint>

/// The check value's weights, shared with the scoreboard server, which recomputes
/// valid = seconds x 7 + minutes x 13 + problem type x 29 from the other keys.
namespace CheckWeights {
inline constexpr int Seconds = 7;
inline constexpr int Minutes = 13;
inline constexpr int ProblemType = 29;
} // namespace CheckWeights

/// The check value of a time "m:ss" for a problem type, in 16-bit arithmetic; every
/// qualifying time stays far inside its range.
std::int16_t submissionCheckValue(const QString& clockText, std::int16_t problemType);

/// The date in the order and with the separators of the locale's short date format, always with
/// a four-digit year (12/7/2026 under a United States setting).
QString submissionDate(const QDate& date, const QLocale& locale);

/// The whole address: siteAddress + "/cgi-bin/submit.pl?name=...&subj=...&time=...&date=...
/// &valid=...", every value percent-encoded (UTF-8), so a name cannot add or change a key.
QString submissionAddress(const QString& siteAddress, const QString& name, std::int16_t problemType,
                          const QString& clockText, const QDate& date, const QLocale& locale);
