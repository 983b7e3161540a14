#include "facts/FactHistoryFile.h"

#include "facts/FactHistoryQueries.h"
#include "facts/FactHistorySchema.h"
#include "facts/FactHistorySql.h"

#include <QAtomicInteger>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <array>

namespace {

/// How long an operation waits for another copy of the game writing the same history. Keeping
/// a run takes milliseconds; a lock held longer belongs to something stuck.
constexpr int BusyWaitMs = 3000;

/// The files SQLite keeps beside the database: the write-ahead log and its index.
const std::array<QString, 2> CompanionSuffixes { QStringLiteral("-wal"), QStringLiteral("-shm") };

QString newConnectionName()
{
    static QAtomicInteger<quint64> count;
    return QStringLiteral("sumdash-fact-history-%1").arg(count.fetchAndAddRelaxed(1) + 1);
}

/// Runs work inside one write transaction: all of it is kept, or none.
FactHistoryFailure inTransaction(QSqlDatabase& database, const QString& folder,
                                 const std::function<FactHistoryFailure()>& work)
{
    if (const FactHistoryFailure failure
        = executeSql(database, QStringLiteral("BEGIN IMMEDIATE"), folder)) {
        return failure;
    }
    FactHistoryFailure failure = work();
    if (!failure) {
        failure = executeSql(database, QStringLiteral("COMMIT"), folder);
    }
    if (failure) {
        // SQLite may have rolled back already (a full disk does); then this has nothing to do.
        executeSql(database, QStringLiteral("ROLLBACK"), folder);
    }
    return failure;
}

bool removeIfThere(const QString& path, QString& detail)
{
    QFile file(path);
    if (!file.exists() || file.remove()) {
        return true;
    }
    detail = file.errorString();
    return false;
}

} // namespace

QString FactHistoryFile::defaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(FactHistoryFileName);
}

FactHistoryFile::FactHistoryFile(QString path)
    : FactHistoryFile(std::move(path), [](std::int64_t whenUtcMs) {
        return static_cast<std::int32_t>(QDateTime::fromMSecsSinceEpoch(whenUtcMs).offsetFromUtc()
                                         / 60);
    })
{
}

FactHistoryFile::FactHistoryFile(QString path,
                                 std::function<std::int32_t(std::int64_t)> utcOffsetAt)
    : m_path(std::move(path))
    , m_connection(newConnectionName())
    , m_utcOffsetAt(std::move(utcOffsetAt))
{
}

FactHistoryFile::~FactHistoryFile()
{
    close();
}

void FactHistoryFile::close()
{
    if (!m_database.isValid()) {
        return;
    }
    m_database.close();
    m_database = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
}

FactHistoryFailure FactHistoryFile::open()
{
    if (m_database.isOpen()) {
        return {};
    }
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder)) {
        return { FactHistoryProblem::CannotOpen, QStringLiteral("cannot make the folder") };
    }
    m_database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    m_database.setDatabaseName(m_path);
    m_database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyWaitMs));
    FactHistoryFailure failure;
    if (!m_database.open()) {
        failure = factHistoryFailure(m_database.lastError(), folder);
    } else {
        failure = prepareFactHistory(m_database, folder);
    }
    if (failure) {
        close();
    }
    return failure;
}

bool FactHistoryFile::setAside(QString& asidePath, QString& detail)
{
    const QString stamp
        = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    asidePath = m_path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(asidePath); ++n) {
        asidePath = m_path + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
    }
    QFile file(m_path);
    if (file.exists() && !file.rename(asidePath)) {
        detail = file.errorString();
        return false;
    }
    for (const QString& suffix : CompanionSuffixes) {
        QFile companion(m_path + suffix);
        if (companion.exists() && !companion.rename(asidePath + suffix)) {
            // A log left beside a fresh file would be read into it: it has to go.
            if (!companion.remove()) {
                detail = companion.errorString();
                return false;
            }
        }
    }
    return true;
}

FactHistoryOutcome FactHistoryFile::perform(const Work& work)
{
    FactHistoryOutcome outcome;
    outcome.path = m_path;
    const QString folder = QFileInfo(m_path).absolutePath();
    for (int round = 0; round < 2; ++round) {
        FactHistoryFailure failure = open();
        if (!failure) {
            failure = work(m_database);
        }
        if (!failure) {
            outcome.done = true;
            return outcome;
        }
        outcome.problem = failure.problem;
        outcome.detail = failure.detail;
        if (failure.problem != FactHistoryProblem::Damaged || round > 0) {
            return outcome;
        }
        // Damaged: put aside, and the work is done in a fresh history.
        close();
        if (!setAside(outcome.setAsidePath, outcome.detail)) {
            outcome.problem = FactHistoryProblem::CannotOpen;
            outcome.setAsidePath.clear();
            return outcome;
        }
    }
    return outcome;
}

FactHistoryOutcome FactHistoryFile::appendRun(const std::vector<FactAttempt>& attempts)
{
    if (attempts.empty()) {
        return { FactHistoryProblem::None, true, m_path, {}, {} };
    }
    const QString folder = QFileInfo(m_path).absolutePath();
    return perform([&](QSqlDatabase& database) {
        return inTransaction(database, folder, [&] {
            return insertAnswers(database, folder, attempts, m_utcOffsetAt);
        });
    });
}

FactHistoryLoad FactHistoryFile::loadRecent(int perFact)
{
    FactHistoryLoad load;
    if (!m_database.isOpen() && !QFileInfo::exists(m_path)) {
        load.outcome = { FactHistoryProblem::None, true, m_path, {}, {} };
        return load;
    }
    const QString folder = QFileInfo(m_path).absolutePath();
    load.outcome = perform([&](QSqlDatabase& database) {
        if (const FactHistoryFailure failure
            = readRecords(database, folder, static_cast<std::size_t>(std::max(perFact, 0)),
                          FactOperation::Add, FactOperation::Divide, load.records)) {
            return failure;
        }
        return readKnownDays(database, folder, load.knownByDay);
    });
    return load;
}

FactHistoryOutcome FactHistoryFile::clear()
{
    if (!m_database.isOpen() && !QFileInfo::exists(m_path)) {
        return { FactHistoryProblem::None, true, m_path, {}, {} };
    }
    const QString folder = QFileInfo(m_path).absolutePath();
    return perform([&](QSqlDatabase& database) {
        const FactHistoryFailure failure
            = inTransaction(database, folder, [&] { return deleteAll(database, folder); });
        if (!failure) {
            // The forgotten answers leave the file too, not just the tables. The history is
            // empty either way, so a disk too full to rebuild the file is no failure.
            executeSql(database, QStringLiteral("VACUUM"), folder);
            executeSql(database, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"), folder);
        }
        return failure;
    });
}

FactHistoryOutcome FactHistoryFile::removeFile()
{
    close();
    FactHistoryOutcome outcome { FactHistoryProblem::None, true, m_path, {}, {} };
    for (const QString& suffix : { QString(), CompanionSuffixes[0], CompanionSuffixes[1] }) {
        if (!removeIfThere(m_path + suffix, outcome.detail)) {
            outcome.problem = FactHistoryProblem::CannotOpen;
            outcome.done = false;
        }
    }
    return outcome;
}
