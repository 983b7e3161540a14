#include "facts/FactHistorySchema.h"

#include "facts/FactHistorySql.h"

#include <QStringList>
#include <QVariant>
#include <array>

namespace {

// From version 0, no tables of ours, to version 1.
//  runs: one row per run kept; started_utc is in milliseconds since 1970, UTC.
//  answers: one row per answer. Its id rises with every answer kept, so a fact's latest answers
//    are the end of that fact's stretch of answers_by_fact: a seek, not a scan. The index also
//    carries what judging an answer needs, so reading the latest answers never visits the rows.
//  fact_totals: every fact's answers and right answers, first answers and all, kept up to date
//    in the transaction that adds the run, so that no one has to count the answers.
//  day_known: for the chart, how many of an operation's grid facts were known after the last run
//    of each local day (days since 1970-01-01), also kept with each run.
const QStringList VersionOneTables {
    QStringLiteral("CREATE TABLE runs ("
                   " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                   " timed INTEGER NOT NULL,"
                   " max_operand INTEGER NOT NULL,"
                   " only_correct INTEGER NOT NULL,"
                   " started_utc INTEGER NOT NULL)"),
    QStringLiteral("CREATE TABLE answers ("
                   " id INTEGER PRIMARY KEY,"
                   " run_id INTEGER NOT NULL REFERENCES runs(id),"
                   " when_utc_ms INTEGER NOT NULL,"
                   " op INTEGER NOT NULL,"
                   " top INTEGER NOT NULL,"
                   " bottom INTEGER NOT NULL,"
                   " expected INTEGER NOT NULL,"
                   " typed TEXT NOT NULL,"
                   " is_right INTEGER NOT NULL,"
                   " attempt INTEGER NOT NULL,"
                   " ms_to_first_digit INTEGER NOT NULL,"
                   " ms_to_enter INTEGER NOT NULL)"),
    QStringLiteral("CREATE INDEX answers_by_fact ON answers"
                   " (op, top, bottom, attempt, id, ms_to_enter, when_utc_ms, is_right)"),
    QStringLiteral("CREATE TABLE fact_totals ("
                   " op INTEGER NOT NULL,"
                   " top INTEGER NOT NULL,"
                   " bottom INTEGER NOT NULL,"
                   " first_answers INTEGER NOT NULL,"
                   " first_right INTEGER NOT NULL,"
                   " answers INTEGER NOT NULL,"
                   " right_answers INTEGER NOT NULL,"
                   " PRIMARY KEY (op, top, bottom)) WITHOUT ROWID"),
    QStringLiteral("CREATE TABLE day_known ("
                   " op INTEGER NOT NULL,"
                   " day INTEGER NOT NULL,"
                   " known INTEGER NOT NULL,"
                   " PRIMARY KEY (op, day)) WITHOUT ROWID"),
};

/// The statements of each step: Steps[v] takes a file from version v to v + 1.
const std::array<QStringList, FactHistoryVersion> Steps { VersionOneTables };

FactHistoryFailure readVersion(QSqlDatabase& database, const QString& folder, int& version)
{
    QVariant value;
    if (const FactHistoryFailure failure
        = querySingle(database, QStringLiteral("PRAGMA user_version"), folder, value)) {
        return failure;
    }
    version = value.toInt();
    return {};
}

FactHistoryFailure migrate(QSqlDatabase& database, const QString& folder)
{
    // Another copy of the game may be bringing the same file up to date: the version is read
    // again once this connection alone may write.
    if (const FactHistoryFailure failure
        = executeSql(database, QStringLiteral("BEGIN IMMEDIATE"), folder)) {
        return failure;
    }
    int version = 0;
    FactHistoryFailure failure = readVersion(database, folder, version);
    for (int step = version; !failure && step < FactHistoryVersion; ++step) {
        for (const QString& statement : Steps[static_cast<std::size_t>(step)]) {
            failure = executeSql(database, statement, folder);
            if (failure) {
                break;
            }
        }
    }
    if (!failure && version < FactHistoryVersion) {
        failure = executeSql(
            database, QStringLiteral("PRAGMA user_version = %1").arg(FactHistoryVersion), folder);
    }
    if (!failure) {
        failure = executeSql(database, QStringLiteral("COMMIT"), folder);
    }
    if (failure) {
        executeSql(database, QStringLiteral("ROLLBACK"), folder);
    }
    return failure;
}

} // namespace

FactHistoryFailure prepareFactHistory(QSqlDatabase& database, const QString& folder)
{
    // The version first: a history written by a newer game is not changed at all.
    int version = 0;
    if (const FactHistoryFailure failure = readVersion(database, folder, version)) {
        return failure;
    }
    if (version > FactHistoryVersion) {
        return {
            FactHistoryProblem::CannotOpen,
            QStringLiteral("the history is of version %1, written by a newer Sumdash!").arg(version)
        };
    }
    // Tables first, in the journal the file already has: a file whose tables turn out not to
    // be ours is left as it was.
    if (version < FactHistoryVersion) {
        if (const FactHistoryFailure failure = migrate(database, folder)) {
            return failure;
        }
    }
    // The write-ahead log: a commit appends the run's pages to the log, so a game killed while
    // it writes leaves the file as it was before the run, and the history may be read while a
    // run is being kept.
    QVariant mode;
    if (const FactHistoryFailure failure
        = querySingle(database, QStringLiteral("PRAGMA journal_mode = WAL"), folder, mode)) {
        return failure;
    }
    if (mode.toString().compare(QStringLiteral("wal"), Qt::CaseInsensitive) != 0) {
        return { FactHistoryProblem::CannotOpen,
                 QStringLiteral("the file keeps journal mode %1").arg(mode.toString()) };
    }
    // FULL, not NORMAL: with NORMAL a power cut may take back the last runs the game said were
    // kept. FULL costs one flush of the log per run, made on the writer's own thread, and runs
    // are minutes apart.
    if (const FactHistoryFailure failure
        = executeSql(database, QStringLiteral("PRAGMA synchronous = FULL"), folder)) {
        return failure;
    }
    return {};
}
