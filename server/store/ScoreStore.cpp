// The boards as the database keeps them.
#include "server/store/ScoreStore.h"

#include "server/core/Repeats.h"
#include "server/store/Schema.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QtEndian>
#include <algorithm>

namespace {

// The PostgreSQL advisory locks of names being recorded: a space of their own.
constexpr int PostgresNameLockSpace = 5374657;

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

/// The advisory lock of a name on PostgreSQL: the same for every server, whatever its build.
qint32 nameLockKey(const QString& nameKey)
{
    const QByteArray digest
        = QCryptographicHash::hash(nameKey.toUtf8(), QCryptographicHash::Sha256);
    return qFromBigEndian<qint32>(digest.constData());
}

/// One lock per SQLite file for the writers of this process.
std::shared_ptr<std::mutex> writersOf(const QString& file)
{
    static std::mutex guard;
    static QHash<QString, std::weak_ptr<std::mutex>> locks;
    const std::lock_guard lock(guard);
    const QString key = QFileInfo(file).absoluteFilePath();
    std::shared_ptr<std::mutex> writers = locks.value(key).lock();
    if (!writers) {
        writers = std::make_shared<std::mutex>();
        locks.insert(key, writers);
    }
    return writers;
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
        // A deleted time is overwritten, not left readable in the file's free pages.
        if (!pragma.exec(QStringLiteral("PRAGMA journal_mode = WAL"))
            || !pragma.exec(QStringLiteral("PRAGMA secure_delete = ON"))
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
    auto store = std::unique_ptr<ScoreStore>(new ScoreStore(database, address.kind));
    if (address.kind == DatabaseAddress::Kind::Sqlite) {
        store->m_writers = writersOf(address.sqliteFile);
    }
    return store;
}

ScoreStore::ScoreStore(QSqlDatabase database, DatabaseAddress::Kind kind)
    : m_database(std::move(database))
    , m_kind(kind)
{
}

ScoreStore::~ScoreStore()
{
    m_statements.clear();
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

bool ScoreStore::begin(const std::vector<qint32>& nameLocks)
{
    if (m_writers) {
        // This process's threads queue here rather than in SQLite's busy handler, which sleeps.
        m_writing = std::unique_lock(*m_writers);
    }
    QSqlQuery query(m_database);
    const bool sqlite = m_kind == DatabaseAddress::Kind::Sqlite;
    if (!query.exec(sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"))) {
        noteFailure(query.lastError());
        rollback();
        return false;
    }
    if (sqlite) {
        return true;
    }
    // Two servers recording the same name at once would both miss the other's repeat; one
    // name's submissions take turns, everyone else's go on side by side. Taken in one order by
    // every server, so that two batches never wait for each other.
    for (const qint32 key : nameLocks) {
        QSqlQuery* lock = statement(
            QStringLiteral("SELECT pg_advisory_xact_lock(%1, ?)").arg(PostgresNameLockSpace));
        if (!lock) {
            rollback();
            return false;
        }
        lock->bindValue(0, key);
        const bool locked = exec(*lock);
        lock->finish();
        if (!locked) {
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
        if (m_writing.owns_lock()) {
            m_writing.unlock();
        }
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
    if (m_writing.owns_lock()) {
        m_writing.unlock();
    }
}

QSqlQuery* ScoreStore::statement(const QString& sql)
{
    auto found = m_statements.find(sql);
    if (found == m_statements.end()) {
        QSqlQuery query(m_database);
        query.setForwardOnly(true);
        if (!query.prepare(sql)) {
            noteFailure(query.lastError());
            return nullptr;
        }
        found = m_statements.insert(sql, query);
    }
    return &found.value();
}

Recorded ScoreStore::record(const Submission& submission, qint64 receivedUtcMs,
                            const TokenCheck& token, const ModerationSettings& settings)
{
    const PendingRecord pending { submission, receivedUtcMs, token, settings };
    return recordAll({ &pending, 1 }).front();
}

std::vector<Recorded> ScoreStore::recordAll(std::span<const PendingRecord> pending)
{
    std::vector<Recorded> results(pending.size());
    std::vector<qint32> locks;
    for (const PendingRecord& each : pending) {
        locks.push_back(nameLockKey(nameApprovalKey(each.submission.name)));
    }
    std::sort(locks.begin(), locks.end());
    locks.erase(std::unique(locks.begin(), locks.end()), locks.end());
    if (!begin(locks)) {
        return results;
    }
    if (!pending.empty() && pending.front().receivedUtcMs >= m_nextSweepUtcMs) {
        // Used nonces past their token's expiry are of no more use; once a minute is enough.
        QSqlQuery* sweep
            = statement(QStringLiteral("DELETE FROM used_nonces WHERE expires_ms < ?"));
        if (!sweep) {
            rollback();
            return results;
        }
        sweep->bindValue(0, pending.front().receivedUtcMs);
        if (!exec(*sweep)) {
            rollback();
            return results;
        }
        m_nextSweepUtcMs = pending.front().receivedUtcMs + 60 * 1000;
    }
    QSqlQuery savepoint(m_database);
    for (std::size_t at = 0; at < pending.size(); ++at) {
        // Each its own: one that fails leaves the others of the batch as they were.
        if (!savepoint.exec(QStringLiteral("SAVEPOINT submission"))) {
            noteFailure(savepoint.lastError());
            rollback();
            return std::vector<Recorded>(pending.size());
        }
        results[at] = recordOne(pending[at]);
        const bool keep = results[at].outcome == Recorded::Outcome::Added
            || results[at].outcome == Recorded::Outcome::Repeat;
        if (!keep) {
            savepoint.exec(QStringLiteral("ROLLBACK TO SAVEPOINT submission"));
        }
        savepoint.exec(QStringLiteral("RELEASE SAVEPOINT submission"));
    }
    if (!commit()) {
        return std::vector<Recorded>(pending.size());
    }
    return results;
}

Recorded ScoreStore::recordOne(const PendingRecord& pending)
{
    const Submission& submission = pending.submission;
    const qint64 receivedUtcMs = pending.receivedUtcMs;
    const TokenCheck& token = pending.token;
    const ModerationSettings& settings = pending.settings;
    const QString nameKey = notNull(nameApprovalKey(submission.name));
    Recorded failed;
    QSqlQuery* nonce = statement(QStringLiteral(
        "INSERT INTO used_nonces (nonce, expires_ms) VALUES (?, ?) ON CONFLICT DO NOTHING"));
    if (!nonce) {
        return failed;
    }
    nonce->bindValue(0, QString::fromLatin1(token.nonce.toBase64()));
    nonce->bindValue(1, token.expiresUtcMs);
    if (!exec(*nonce)) {
        return failed;
    }
    if (nonce->numRowsAffected() != 1) {
        return { Recorded::Outcome::Replayed, 0, EntryState::Shown };
    }

    QSqlQuery* repeats
        = statement(QStringLiteral("SELECT %1 FROM entries WHERE name = ? AND subject = ?"
                                   " AND seconds = ? AND received_ms > ? AND received_ms < ?")
                        .arg(QLatin1String(EntryColumns)));
    if (!repeats) {
        return failed;
    }
    repeats->bindValue(0, notNull(submission.name));
    repeats->bindValue(1, int(submission.subject));
    repeats->bindValue(2, submission.seconds);
    repeats->bindValue(3, receivedUtcMs - RepeatWindowMs);
    repeats->bindValue(4, receivedUtcMs + RepeatWindowMs);
    const auto recent = entries(*repeats);
    if (!recent) {
        return failed;
    }
    if (const auto repeated = repeatedEntry(submission, receivedUtcMs, *recent)) {
        for (const BoardEntry& entry : *recent) {
            if (entry.id == *repeated) {
                return { Recorded::Outcome::Repeat, entry.id, entry.state };
            }
        }
    }

    bool approvedBefore = false;
    if (settings.holdNewNames && !submission.anonymous()) {
        QSqlQuery* approved
            = statement(QStringLiteral("SELECT 1 FROM approved_names WHERE name_key = ?"));
        if (!approved) {
            return failed;
        }
        approved->bindValue(0, nameKey);
        if (!exec(*approved)) {
            return failed;
        }
        approvedBefore = approved->next();
        approved->finish();
    }
    const EntryState state = initialState(submission, settings, approvedBefore);

    QSqlQuery* insert = statement(
        QStringLiteral("INSERT INTO entries (name, subject, seconds, date_text, received_ms, state)"
                       " VALUES (?, ?, ?, ?, ?, ?) RETURNING id"));
    if (!insert) {
        return failed;
    }
    insert->bindValue(0, notNull(submission.name));
    insert->bindValue(1, int(submission.subject));
    insert->bindValue(2, submission.seconds);
    insert->bindValue(3, notNull(submission.date));
    insert->bindValue(4, receivedUtcMs);
    insert->bindValue(5, int(state));
    if (!exec(*insert) || !insert->next()) {
        return failed;
    }
    const qint64 id = insert->value(0).toLongLong();
    insert->finish();
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
    // A kept statement left open would hold SQLite's read snapshot until its next use.
    query.finish();
    return found;
}

std::optional<std::vector<BoardEntry>>
ScoreStore::board(Subject subject, std::pair<qint64, qint64> bounds, int limit)
{
    QSqlQuery* query = statement(QStringLiteral("SELECT %1 FROM entries WHERE subject = ?"
                                                " AND state = ? AND received_ms >= ?"
                                                " AND received_ms < ?"
                                                " ORDER BY seconds, received_ms, id LIMIT ?")
                                     .arg(QLatin1String(EntryColumns)));
    if (!query) {
        return std::nullopt;
    }
    query->bindValue(0, int(subject));
    query->bindValue(1, int(EntryState::Shown));
    query->bindValue(2, bounds.first);
    query->bindValue(3, bounds.second);
    query->bindValue(4, limit);
    return entries(*query);
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
    if (!begin({})) {
        return false;
    }
    const auto found = this->entry(id);
    if (!found) {
        rollback();
        return false;
    }
    const BoardEntry& entry = *found;
    QSqlQuery query(m_database);
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
