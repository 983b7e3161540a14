// The boards as the database keeps them.
#include "server/store/ScoreStore.h"

#include "server/core/Repeats.h"
#include "server/store/Schema.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

constexpr const char* EntryColumns = "id, name, subject, seconds, received_ms, state, date_text";

BoardEntry entryAt(const QSqlQuery& query)
{
    BoardEntry entry;
    entry.id = query.value(0).toLongLong();
    entry.name = query.value(1).toString();
    entry.subject = static_cast<Subject>(query.value(2).toInt());
    entry.seconds = query.value(3).toInt();
    entry.receivedUtcMs = query.value(4).toLongLong();
    entry.state = static_cast<EntryState>(query.value(5).toInt());
    entry.date = query.value(6).toString();
    return entry;
}

QSqlDatabase connect(const DatabaseAddress& address, const QString& connectionName)
{
    if (address.kind == DatabaseAddress::Kind::Sqlite) {
        QSqlDatabase database
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        database.setDatabaseName(address.sqliteFile);
        // Another server process writing at the same moment makes this one wait, not fail.
        database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        return database;
    }
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    database.setHostName(address.host);
    database.setPort(address.port);
    database.setUserName(address.user);
    database.setPassword(address.password);
    database.setDatabaseName(address.database);
    QString options = QStringLiteral("connect_timeout=5");
    if (!address.sslMode.isEmpty()) {
        options += QStringLiteral(";sslmode=") + address.sslMode;
    }
    database.setConnectOptions(options);
    return database;
}

/// A text to bind: QtSql binds a null QString as NULL, and an anonymous name is empty, not
/// missing, so that it compares equal to the next anonymous one.
QString notNull(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

} // namespace

std::variant<std::unique_ptr<ScoreStore>, QString> ScoreStore::open(const DatabaseAddress& address,
                                                                    const QString& connectionName)
{
    QSqlDatabase database = connect(address, connectionName);
    const auto refuse = [&](const QString& text) {
        database = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        return text;
    };
    if (!database.isValid()) {
        return refuse(QStringLiteral("Qt's database driver for %1 is not installed.")
                          .arg(printableDatabaseUrl(address)));
    }
    if (!database.open()) {
        return refuse(QStringLiteral("The database %1 cannot be opened: %2")
                          .arg(printableDatabaseUrl(address), database.lastError().text()));
    }
    if (address.kind == DatabaseAddress::Kind::Sqlite) {
        // Readers never wait for the writer, and a commit costs one write to the log. Synchronous
        // NORMAL keeps every commit through a crash of the server; a power cut may lose the last
        // moments, never the file.
        QSqlQuery pragma(database);
        if (!pragma.exec(QStringLiteral("PRAGMA journal_mode = WAL"))
            || !pragma.exec(QStringLiteral("PRAGMA synchronous = NORMAL"))) {
            return refuse(QStringLiteral("The database %1 cannot be set up: %2")
                              .arg(printableDatabaseUrl(address), pragma.lastError().text()));
        }
    }
    if (address.kind == DatabaseAddress::Kind::Postgres) {
        // The schema's "already exists, skipping" notices would fill the server's log.
        QSqlQuery quiet(database);
        quiet.exec(QStringLiteral("SET client_min_messages TO WARNING"));
    }
    const QString migrated = migrateSchema(database, address.kind);
    if (!migrated.isEmpty()) {
        return refuse(QStringLiteral("The database %1 cannot be used: %2")
                          .arg(printableDatabaseUrl(address), migrated));
    }
    return std::unique_ptr<ScoreStore>(new ScoreStore(database, address.kind));
}

ScoreStore::ScoreStore(QSqlDatabase database, DatabaseAddress::Kind kind)
    : m_database(std::move(database))
    , m_kind(kind)
{
}

ScoreStore::~ScoreStore()
{
    const QString name = m_database.connectionName();
    m_database.close();
    m_database = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

bool ScoreStore::exec(QSqlQuery& query)
{
    if (query.exec()) {
        return true;
    }
    noteFailure(query.lastError());
    return false;
}

void ScoreStore::noteFailure(const QSqlError& error)
{
    m_lastError = error.text();
    // libpq reports a dropped connection as a failed statement, in these words.
    m_broken = m_broken || error.type() == QSqlError::ConnectionError
        || m_lastError.contains(QLatin1String("server closed the connection"))
        || m_lastError.contains(QLatin1String("no connection to the server"));
}

bool ScoreStore::begin()
{
    QSqlQuery query(m_database);
    for (const QString& statement : beginWriting(m_kind)) {
        if (!query.exec(statement)) {
            noteFailure(query.lastError());
            rollback();
            return false;
        }
    }
    return true;
}

bool ScoreStore::commit()
{
    QSqlQuery query(m_database);
    if (query.exec(QStringLiteral("COMMIT"))) {
        return true;
    }
    noteFailure(query.lastError());
    rollback();
    return false;
}

void ScoreStore::rollback()
{
    QSqlQuery query(m_database);
    query.exec(QStringLiteral("ROLLBACK"));
}

Recorded ScoreStore::record(const Submission& submission, qint64 receivedUtcMs,
                            const TokenCheck& token, const ModerationSettings& settings)
{
    Recorded failed;
    if (!begin()) {
        return failed;
    }
    const auto abandon = [&]() {
        rollback();
        return failed;
    };
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("DELETE FROM used_nonces WHERE expires_ms < ?"));
    query.addBindValue(receivedUtcMs);
    if (!exec(query)) {
        return abandon();
    }
    query.prepare(QStringLiteral(
        "INSERT INTO used_nonces (nonce, expires_ms) VALUES (?, ?) ON CONFLICT DO NOTHING"));
    query.addBindValue(QString::fromLatin1(token.nonce.toBase64()));
    query.addBindValue(token.expiresUtcMs);
    if (!exec(query)) {
        return abandon();
    }
    if (query.numRowsAffected() != 1) {
        rollback();
        return { Recorded::Outcome::Replayed, 0, EntryState::Shown };
    }

    query.prepare(QStringLiteral("SELECT %1 FROM entries WHERE name = ? AND subject = ?"
                                 " AND seconds = ? AND received_ms > ? AND received_ms < ?")
                      .arg(QLatin1String(EntryColumns)));
    query.addBindValue(notNull(submission.name));
    query.addBindValue(int(submission.subject));
    query.addBindValue(submission.seconds);
    query.addBindValue(receivedUtcMs - RepeatWindowMs);
    query.addBindValue(receivedUtcMs + RepeatWindowMs);
    const auto recent = entries(query);
    if (!recent) {
        return abandon();
    }
    if (const auto repeated = repeatedEntry(submission, receivedUtcMs, *recent)) {
        for (const BoardEntry& entry : *recent) {
            if (entry.id == *repeated) {
                return commit() ? Recorded { Recorded::Outcome::Repeat, entry.id, entry.state }
                                : failed;
            }
        }
    }

    query.prepare(QStringLiteral("SELECT 1 FROM approved_names WHERE name_key = ?"));
    query.addBindValue(notNull(nameApprovalKey(submission.name)));
    if (!exec(query)) {
        return abandon();
    }
    const EntryState state = initialState(submission, settings, query.next());

    query.prepare(QStringLiteral("INSERT INTO entries"
                                 " (name, subject, seconds, date_text, received_ms, state)"
                                 " VALUES (?, ?, ?, ?, ?, ?) RETURNING id"));
    query.addBindValue(notNull(submission.name));
    query.addBindValue(int(submission.subject));
    query.addBindValue(submission.seconds);
    query.addBindValue(notNull(submission.date));
    query.addBindValue(receivedUtcMs);
    query.addBindValue(int(state));
    if (!exec(query) || !query.next()) {
        return abandon();
    }
    const qint64 id = query.value(0).toLongLong();
    query.finish();
    if (!commit()) {
        return failed;
    }
    return { Recorded::Outcome::Added, id, state };
}

std::optional<std::vector<BoardEntry>> ScoreStore::entries(QSqlQuery& query)
{
    query.setForwardOnly(true);
    if (!exec(query)) {
        return std::nullopt;
    }
    std::vector<BoardEntry> found;
    while (query.next()) {
        found.push_back(entryAt(query));
    }
    return found;
}

std::optional<std::vector<BoardEntry>>
ScoreStore::board(Subject subject, std::pair<qint64, qint64> bounds, int limit)
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("SELECT %1 FROM entries WHERE subject = ? AND state = ?"
                                 " AND received_ms >= ? AND received_ms < ?"
                                 " ORDER BY seconds, received_ms, id LIMIT ?")
                      .arg(QLatin1String(EntryColumns)));
    query.addBindValue(int(subject));
    query.addBindValue(int(EntryState::Shown));
    query.addBindValue(bounds.first);
    query.addBindValue(bounds.second);
    query.addBindValue(limit);
    return entries(query);
}

std::optional<BoardEntry> ScoreStore::entry(qint64 id)
{
    QSqlQuery query(m_database);
    query.prepare(
        QStringLiteral("SELECT %1 FROM entries WHERE id = ?").arg(QLatin1String(EntryColumns)));
    query.addBindValue(id);
    const auto found = entries(query);
    if (!found || found->empty()) {
        return std::nullopt;
    }
    return found->front();
}

std::optional<std::vector<BoardEntry>> ScoreStore::latest(int limit, bool heldOnly)
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("SELECT %1 FROM entries %2 ORDER BY received_ms DESC, id DESC"
                                 " LIMIT ?")
                      .arg(QLatin1String(EntryColumns),
                           heldOnly ? QStringLiteral("WHERE state = %1").arg(int(EntryState::Held))
                                    : QString()));
    query.addBindValue(limit);
    return entries(query);
}

bool ScoreStore::moderate(qint64 id, ModerationAction action)
{
    if (!begin()) {
        return false;
    }
    QSqlQuery query(m_database);
    query.prepare(
        QStringLiteral("SELECT %1 FROM entries WHERE id = ?").arg(QLatin1String(EntryColumns)));
    query.addBindValue(id);
    const auto found = entries(query);
    if (!found || found->empty()) {
        rollback();
        return false;
    }
    const BoardEntry& entry = found->front();
    if (const auto state = stateAfter(entry.state, action)) {
        query.prepare(QStringLiteral("UPDATE entries SET state = ? WHERE id = ?"));
        query.addBindValue(int(*state));
    } else {
        query.prepare(QStringLiteral("DELETE FROM entries WHERE id = ?"));
    }
    query.addBindValue(id);
    if (!exec(query)) {
        rollback();
        return false;
    }
    if (const auto key = nameApprovedBy(entry, action)) {
        query.prepare(QStringLiteral(
            "INSERT INTO approved_names (name_key) VALUES (?) ON CONFLICT DO NOTHING"));
        query.addBindValue(*key);
        if (!exec(query)) {
            rollback();
            return false;
        }
    }
    return commit();
}

std::optional<int> ScoreStore::forgetReceivedBefore(qint64 utcMs)
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("DELETE FROM entries WHERE received_ms < ?"));
    query.addBindValue(utcMs);
    if (!exec(query)) {
        return std::nullopt;
    }
    return query.numRowsAffected();
}

std::optional<QString> ScoreStore::value(const QString& key)
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("SELECT value FROM server_values WHERE key = ?"));
    query.addBindValue(key);
    if (!exec(query)) {
        return std::nullopt;
    }
    return query.next() ? query.value(0).toString() : QString();
}

std::optional<QString> ScoreStore::valueOrSet(const QString& key, const QString& value)
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral(
        "INSERT INTO server_values (key, value) VALUES (?, ?) ON CONFLICT DO NOTHING"));
    query.addBindValue(key);
    query.addBindValue(value);
    if (!exec(query)) {
        return std::nullopt;
    }
    return this->value(key);
}

bool ScoreStore::setValue(const QString& key, const QString& value)
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("INSERT INTO server_values (key, value) VALUES (?, ?)"
                                 " ON CONFLICT (key) DO UPDATE SET value = excluded.value"));
    query.addBindValue(key);
    query.addBindValue(value);
    return exec(query);
}
