// The boards as the database keeps them: entries, approved names, used confirmation tokens and
// the server's own values (its secret, the admin password's hash). One code path for SQLite and
// PostgreSQL; the few words they spell differently are in Schema.cpp.
#pragma once

#include "server/core/BoardEntry.h"
#include "server/core/ConfirmToken.h"
#include "server/core/Moderation.h"
#include "server/core/Submission.h"
#include "server/store/DatabaseAddress.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <variant>
#include <vector>

class QSqlError;

/// What became of a confirmed submission.
struct Recorded
{
    enum class Outcome {
        Added, ///< a new entry, shown or held (state)
        Repeat, ///< the same time sent again within the repeat window: entry id counts once
        Replayed, ///< the confirmation was used before: nothing recorded
        Failed, ///< the database could not be reached or refused; nothing recorded
    };
    Outcome outcome = Outcome::Failed;
    qint64 id = 0;
    EntryState state = EntryState::Shown;
};

/// A confirmed submission waiting to be recorded.
struct PendingRecord
{
    Submission submission;
    qint64 receivedUtcMs = 0;
    TokenCheck token;
    ModerationSettings settings;
};

/// One connection to the database, for the thread that opens it (QtSql's rule): a server with
/// several threads opens one per thread. Every change is one transaction, so two server
/// processes on one database never see half of another's change.
class ScoreStore
{
public:
    /// Opens the database, creating it or bringing its tables to this server's version. The
    /// text says what went wrong. connectionName must be unique in the process.
    static std::variant<std::unique_ptr<ScoreStore>, QString> open(const DatabaseAddress& address,
                                                                   const QString& connectionName);
    ~ScoreStore();
    ScoreStore(const ScoreStore&) = delete;
    ScoreStore& operator=(const ScoreStore&) = delete;

    /// Records a submission confirmed by token (already checked Valid) at receivedUtcMs: the
    /// token's nonce is used up, a repeat counts once, and a new entry starts shown or held as
    /// settings say. All of it or nothing.
    Recorded record(const Submission& submission, qint64 receivedUtcMs, const TokenCheck& token,
                    const ModerationSettings& settings);
    /// record() for each, in one transaction: one write to the disk for them all, each as if
    /// recorded alone (a later one sees an earlier one's entry as a repeat). When the
    /// transaction fails, every one is Failed.
    std::vector<Recorded> recordAll(std::span<const PendingRecord> pending);

    /// Shown entries of subject received in [bounds.first, bounds.second), fastest first; of
    /// equal times the one received first, then the lower id. Nothing when the database fails.
    std::optional<std::vector<BoardEntry>> board(Subject subject, std::pair<qint64, qint64> bounds,
                                                 int limit);
    std::optional<BoardEntry> entry(qint64 id);
    /// The latest entries, newest first, for the moderators; held ones alone when heldOnly.
    std::optional<std::vector<BoardEntry>> latest(int limit, bool heldOnly);
    /// Approves, hides or deletes entry id; approving a named entry approves its name. False
    /// when there is no such entry or the database fails.
    bool moderate(qint64 id, ModerationAction action);
    /// Entries received before utcMs go; the number gone, nothing when the database fails.
    std::optional<int> forgetReceivedBefore(qint64 utcMs);

    std::optional<QString> value(const QString& key);
    /// The value key holds, after setting it to value when it held none: two servers starting
    /// at once on one database agree on one secret.
    std::optional<QString> valueOrSet(const QString& key, const QString& value);
    bool setValue(const QString& key, const QString& value);

    /// False once the connection is lost (the database server restarted, say): the caller
    /// opens a new store.
    bool healthy() const { return !m_broken && m_database.isOpen(); }

    /// The database's last complaint, for the server's log.
    QString lastError() const { return m_lastError; }

private:
    ScoreStore(QSqlDatabase database, DatabaseAddress::Kind kind);
    /// Begins a write; on PostgreSQL with the advisory locks of the names being recorded,
    /// nameLocks, in ascending order.
    bool begin(const std::vector<qint32>& nameLocks);
    /// One submission's part of recordAll(), inside its transaction.
    Recorded recordOne(const PendingRecord& pending);
    /// The prepared statement for sql, kept for the connection's life; nullptr when it fails.
    QSqlQuery* statement(const QString& sql);
    bool commit();
    void rollback();
    bool exec(QSqlQuery& query);
    void noteFailure(const QSqlError& error);
    std::optional<std::vector<BoardEntry>> entries(QSqlQuery& query);

    QSqlDatabase m_database;
    DatabaseAddress::Kind m_kind;
    QString m_lastError;
    bool m_broken = false;
    QHash<QString, QSqlQuery> m_statements;
    std::shared_ptr<std::mutex> m_writers; ///< SQLite: this process's writers of the file
    std::unique_lock<std::mutex> m_writing;
    qint64 m_nextSweepUtcMs = 0;
};
