// The fact history's few ways of running SQL and of telling what a failure means for the player.
#pragma once

#include "facts/FactHistoryOutcome.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

/// What a failed statement means: a file that is not a database or is corrupt, or whose tables
/// are not the history's, is damaged; no room on the disk is a full disk; anything else (no
/// permission, a read-only file, another copy holding it too long) keeps the file from being
/// used. An input or output error on a disk with no room left is a full disk too.
FactHistoryFailure factHistoryFailure(const QSqlError& error, const QString& folder);

/// Runs a statement with no values to bind.
FactHistoryFailure executeSql(QSqlDatabase& database, const QString& sql, const QString& folder);

/// Runs a prepared statement with its values bound.
FactHistoryFailure executeSql(QSqlQuery& query, const QString& folder);

/// The single value a statement such as a PRAGMA returns; failure when it fails.
FactHistoryFailure querySingle(QSqlDatabase& database, const QString& sql, const QString& folder,
                               QVariant& value);
