// The database's tables, created and brought up to date by the server itself.
#pragma once

#include "server/store/DatabaseAddress.h"

#include <QSqlDatabase>
#include <QString>

/// The schema version this server writes. A database of a later version is refused rather than
/// written by a server that does not know its tables.
inline constexpr int SchemaVersion = 1;

/// Creates the tables or migrates them to SchemaVersion, under the write lock; an empty text
/// when the schema is current, otherwise what went wrong.
QString migrateSchema(QSqlDatabase& database, DatabaseAddress::Kind kind);
