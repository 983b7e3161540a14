// The database's tables, created and brought up to date by the server itself.
#include "server/store/Schema.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

// An arbitrary number every Sumdash! server takes as its PostgreSQL advisory lock on the schema.
constexpr const char* PostgresWriteLock = "SELECT pg_advisory_xact_lock(5374656)";

/// The steps from version n-1 to n, at index n-1. Later versions add steps; none is rewritten,
/// since databases out there went through it.
QStringList step(int version, DatabaseAddress::Kind kind)
{
    const bool sqlite = kind == DatabaseAddress::Kind::Sqlite;
    if (version == 1) {
        return {
            QStringLiteral("CREATE TABLE entries ("
                           " id %1,"
                           " name TEXT NOT NULL,"
                           " subject SMALLINT NOT NULL,"
                           " seconds INTEGER NOT NULL,"
                           " date_text TEXT NOT NULL,"
                           " received_ms BIGINT NOT NULL,"
                           " state SMALLINT NOT NULL)")
                .arg(sqlite ? QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT")
                            : QStringLiteral("BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY")),
            QStringLiteral("CREATE INDEX entries_board"
                           " ON entries (subject, state, seconds, received_ms, id)"),
            QStringLiteral("CREATE INDEX entries_repeats ON entries (name, subject, seconds)"),
            QStringLiteral("CREATE INDEX entries_received ON entries (received_ms)"),
            QStringLiteral("CREATE TABLE approved_names (name_key TEXT PRIMARY KEY)"),
            QStringLiteral("CREATE TABLE used_nonces ("
                           " nonce TEXT PRIMARY KEY, expires_ms BIGINT NOT NULL)"),
            QStringLiteral("CREATE INDEX used_nonces_expiry ON used_nonces (expires_ms)"),
            QStringLiteral(
                "CREATE TABLE server_values (key TEXT PRIMARY KEY, value TEXT NOT NULL)"),
        };
    }
    return {};
}

/// Statements that begin a transaction in which no other server changes the schema until it
/// ends: SQLite's BEGIN IMMEDIATE takes the write lock at once; on PostgreSQL a transaction-wide
/// advisory lock makes a second server starting at the same moment wait for the first.
QStringList beginWriting(DatabaseAddress::Kind kind)
{
    if (kind == DatabaseAddress::Kind::Sqlite) {
        return { QStringLiteral("BEGIN IMMEDIATE") };
    }
    return { QStringLiteral("BEGIN"), QString::fromLatin1(PostgresWriteLock) };
}

QString failure(const QSqlQuery& query)
{
    return query.lastError().text() + QStringLiteral(" (") + query.lastQuery() + u')';
}

} // namespace

QString migrateSchema(QSqlDatabase& database, DatabaseAddress::Kind kind)
{
    QSqlQuery query(database);
    for (const QString& statement : beginWriting(kind)) {
        if (!query.exec(statement)) {
            return failure(query);
        }
    }
    const auto fail = [&]() {
        const QString text = failure(query);
        query.exec(QStringLiteral("ROLLBACK"));
        return text;
    };
    if (!query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS sumdash_schema"
                                   " (version INTEGER NOT NULL)"))) {
        return fail();
    }
    if (!query.exec(QStringLiteral("SELECT version FROM sumdash_schema"))) {
        return fail();
    }
    int version = 0;
    const bool hasRow = query.next();
    if (hasRow) {
        version = query.value(0).toInt();
    }
    if (version > SchemaVersion) {
        query.exec(QStringLiteral("ROLLBACK"));
        return QStringLiteral("The database was made by a later version of the server (schema %1;"
                              " this one knows %2). Run that version, or a copy of the data.")
            .arg(version)
            .arg(SchemaVersion);
    }
    for (int next = version + 1; next <= SchemaVersion; ++next) {
        for (const QString& statement : step(next, kind)) {
            if (!query.exec(statement)) {
                return fail();
            }
        }
    }
    if (version != SchemaVersion) {
        const QString write = hasRow ? QStringLiteral("UPDATE sumdash_schema SET version = %1")
                                     : QStringLiteral("INSERT INTO sumdash_schema VALUES (%1)");
        if (!query.exec(write.arg(SchemaVersion))) {
            return fail();
        }
    }
    if (!query.exec(QStringLiteral("COMMIT"))) {
        return fail();
    }
    return {};
}
