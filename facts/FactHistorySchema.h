// The tables of the fact history, made and brought up to date by the game itself.
#pragma once

#include "facts/FactHistoryOutcome.h"

#include <QSqlDatabase>
#include <QString>

/// The history's version, kept in the file's user_version. A file of a lower version is brought
/// up to this one when it is opened; version 0 is a file with no tables of ours yet.
inline constexpr int FactHistoryVersion = 1;

/// Sets the connection up (write-ahead log, full sync) and brings the file's tables to
/// FactHistoryVersion in one transaction. A file of a higher version, written by a newer game,
/// is left alone and cannot be used.
FactHistoryFailure prepareFactHistory(QSqlDatabase& database, const QString& folder);
