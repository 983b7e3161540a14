#include "facts/FactHistorySql.h"

#include <QStorageInfo>
#include <QVariant>

namespace {

// SQLite's primary result codes; the driver reports them as its native error code, sometimes
// extended with details in the upper bits.
constexpr int SqliteError = 1;
constexpr int SqliteIoError = 10;
constexpr int SqliteCorrupt = 11;
constexpr int SqliteFull = 13;
constexpr int SqliteNotADatabase = 26;

/// Less than this left on the disk is no room: SQLite writes whole pages of a few KiB.
constexpr qint64 NoRoomBytes = 64 * 1024;

bool diskHasNoRoom(const QString& folder)
{
    const QStorageInfo storage(folder);
    return storage.isValid() && storage.bytesAvailable() < NoRoomBytes;
}

} // namespace

FactHistoryFailure factHistoryFailure(const QSqlError& error, const QString& folder)
{
    FactHistoryFailure failure { FactHistoryProblem::CannotOpen, error.text() };
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric) & 0xff;
    if (!numeric) {
        return failure;
    }
    switch (code) {
    case SqliteError:
    case SqliteCorrupt:
    case SqliteNotADatabase:
        failure.problem = FactHistoryProblem::Damaged;
        break;
    case SqliteFull:
        failure.problem = FactHistoryProblem::DiskFull;
        break;
    case SqliteIoError:
        if (diskHasNoRoom(folder)) {
            failure.problem = FactHistoryProblem::DiskFull;
        }
        break;
    default:
        break;
    }
    return failure;
}

FactHistoryFailure executeSql(QSqlDatabase& database, const QString& sql, const QString& folder)
{
    QSqlQuery query(database);
    if (!query.exec(sql)) {
        return factHistoryFailure(query.lastError(), folder);
    }
    return {};
}

FactHistoryFailure executeSql(QSqlQuery& query, const QString& folder)
{
    if (!query.exec()) {
        return factHistoryFailure(query.lastError(), folder);
    }
    return {};
}

FactHistoryFailure querySingle(QSqlDatabase& database, const QString& sql, const QString& folder,
                               QVariant& value)
{
    QSqlQuery query(database);
    if (!query.exec(sql)) {
        return factHistoryFailure(query.lastError(), folder);
    }
    if (!query.next()) {
        if (query.lastError().isValid()) {
            return factHistoryFailure(query.lastError(), folder);
        }
        return { FactHistoryProblem::Damaged, QStringLiteral("no value from: ") + sql };
    }
    value = query.value(0);
    return {};
}
