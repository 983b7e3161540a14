// The fact history on disk: every kept answer in a per-user SQLite file, with each fact's totals
// beside them so that reading the latest answers of every fact never scans them all.
#pragma once

#include "facts/FactAttempt.h"
#include "facts/FactBook.h"
#include "facts/FactHistoryOutcome.h"
#include "facts/FactSummary.h"

#include <QSqlDatabase>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

inline const QString FactHistoryFileName = QStringLiteral("facthistory.sqlite");

struct FactHistoryLoad
{
    FactHistoryOutcome outcome;
    /// Every fact answered, as the fact book keeps it: first answers counted, the latest first
    /// answers and the latest judged ones, newest first.
    std::map<FactKey, FactRecord> records;
    /// For the chart: by operation, the grid facts known after the last run of each day.
    std::map<FactOperation, std::vector<DayKnown>> knownByDay;
};

/// The file is opened when an operation first needs it, never before, and stays open until
/// close() or destruction. Its database connection belongs to the thread that opened it: use
/// one object on one thread.
///
/// A damaged file (not a database, or corrupt) is renamed aside with its -wal and -shm files
/// and a fresh history is started, in which the operation is then done; the outcome reports
/// Damaged with done set. A full disk or a file that cannot be opened leaves the file as it was.
class FactHistoryFile
{
public:
    /// The user's own history: facthistory.sqlite in the user's data folder, beside the club
    /// file's per-user place.
    static QString defaultPath();

    explicit FactHistoryFile(QString path);
    /// Days for the chart are local days; utcOffsetAt tells the local time's offset from UTC
    /// at a moment (the computer's own zone when not given).
    FactHistoryFile(QString path, std::function<std::int32_t(std::int64_t)> utcOffsetAt);
    ~FactHistoryFile();
    FactHistoryFile(const FactHistoryFile&) = delete;
    FactHistoryFile& operator=(const FactHistoryFile&) = delete;

    const QString& path() const { return m_path; }

    /// Keeps the answers of a run, all or none, in one transaction: a game killed meanwhile loses
    /// at most this run and never what was kept before. Answers of several runs (told apart by
    /// their run id) may come together. Nothing to keep needs no file.
    FactHistoryOutcome appendRun(const std::vector<FactAttempt>& attempts);

    /// Every fact's record with its latest perFact first answers, and the chart's known counts.
    /// Reads only each fact's own latest answers, so it takes about as long for a million
    /// answers as for a thousand. A history that does not exist yet reads as empty and is not
    /// created.
    FactHistoryLoad loadRecent(int perFact = static_cast<int>(FactRecord::RecentKept));

    /// Forgets every answer and run; the file stays, emptied and shrunk.
    FactHistoryOutcome clear();

    /// Closes the history and deletes its file with its -wal and -shm files.
    FactHistoryOutcome removeFile();

    /// Closes the database connection; the next operation opens it again.
    void close();

private:
    /// One operation's work on the open database; a failure leaves nothing of it behind.
    using Work = std::function<FactHistoryFailure(QSqlDatabase&)>;

    FactHistoryOutcome perform(const Work& work);
    FactHistoryFailure open();
    bool setAside(QString& asidePath, QString& detail);

    QString m_path;
    QString m_connection;
    std::function<std::int32_t(std::int64_t)> m_utcOffsetAt;
    QSqlDatabase m_database;
};
