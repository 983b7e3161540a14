#include "facts/FactHistoryQueries.h"

#include "facts/FactHistorySql.h"

#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <limits>

namespace {

struct FactTotals
{
    std::int64_t firstAnswers = 0;
    std::int64_t firstRight = 0;
    std::int64_t answers = 0;
    std::int64_t right = 0;
};

FactHistoryFailure prepare(QSqlQuery& query, const QString& sql, const QString& folder)
{
    if (!query.prepare(sql)) {
        return factHistoryFailure(query.lastError(), folder);
    }
    return {};
}

/// When the run's first problem appeared: its first answer's time less the time it took.
std::int64_t runStartMs(const std::vector<FactAttempt>& attempts, std::int64_t sessionRunId)
{
    std::int64_t start = std::numeric_limits<std::int64_t>::max();
    for (const FactAttempt& attempt : attempts) {
        if (attempt.run.id == sessionRunId) {
            start = std::min(start, attempt.whenUtcMs - attempt.msToEnter);
        }
    }
    return start;
}

FactHistoryFailure insertRuns(QSqlDatabase& database, const QString& folder,
                              const std::vector<FactAttempt>& attempts,
                              std::map<std::int64_t, std::int64_t>& fileRunIds)
{
    QSqlQuery insert(database);
    if (const FactHistoryFailure failure
        = prepare(insert,
                  QStringLiteral("INSERT INTO runs (timed, max_operand, only_correct, started_utc) "
                                 "VALUES (?, ?, ?, ?)"),
                  folder)) {
        return failure;
    }
    for (const FactAttempt& attempt : attempts) {
        if (fileRunIds.contains(attempt.run.id)) {
            continue;
        }
        insert.addBindValue(attempt.run.timed ? 1 : 0);
        insert.addBindValue(int { attempt.run.maxOperand });
        insert.addBindValue(attempt.run.onlyCorrect ? 1 : 0);
        insert.addBindValue(qint64 { runStartMs(attempts, attempt.run.id) });
        if (const FactHistoryFailure failure = executeSql(insert, folder)) {
            return failure;
        }
        fileRunIds.emplace(attempt.run.id, insert.lastInsertId().toLongLong());
    }
    return {};
}

FactHistoryFailure insertAnswerRows(QSqlDatabase& database, const QString& folder,
                                    const std::vector<FactAttempt>& attempts,
                                    const std::map<std::int64_t, std::int64_t>& fileRunIds)
{
    QSqlQuery insert(database);
    if (const FactHistoryFailure failure = prepare(
            insert,
            QStringLiteral("INSERT INTO answers (run_id, when_utc_ms, op, top, bottom, expected, "
                           "typed, is_right, attempt, ms_to_first_digit, ms_to_enter) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            folder)) {
        return failure;
    }
    for (const FactAttempt& attempt : attempts) {
        insert.addBindValue(qint64 { fileRunIds.at(attempt.run.id) });
        insert.addBindValue(qint64 { attempt.whenUtcMs });
        insert.addBindValue(static_cast<int>(attempt.fact.operation));
        insert.addBindValue(int { attempt.fact.top });
        insert.addBindValue(int { attempt.fact.bottom });
        insert.addBindValue(attempt.expected);
        insert.addBindValue(QString::fromStdString(attempt.typed));
        insert.addBindValue(attempt.right ? 1 : 0);
        insert.addBindValue(int { attempt.attempt });
        insert.addBindValue(attempt.msToFirstDigit);
        insert.addBindValue(attempt.msToEnter);
        if (const FactHistoryFailure failure = executeSql(insert, folder)) {
            return failure;
        }
    }
    return {};
}

FactHistoryFailure addTotals(QSqlDatabase& database, const QString& folder,
                             const std::vector<FactAttempt>& attempts)
{
    std::map<FactKey, FactTotals> totals;
    for (const FactAttempt& attempt : attempts) {
        FactTotals& fact = totals[attempt.fact];
        const bool first = attempt.attempt == 1;
        fact.firstAnswers += first ? 1 : 0;
        fact.firstRight += first && attempt.right ? 1 : 0;
        ++fact.answers;
        fact.right += attempt.right ? 1 : 0;
    }
    QSqlQuery add(database);
    if (const FactHistoryFailure failure = prepare(
            add,
            QStringLiteral(
                "INSERT INTO fact_totals (op, top, bottom, first_answers, first_right, answers, "
                "right_answers) VALUES (?, ?, ?, ?, ?, ?, ?) ON CONFLICT (op, top, bottom) DO "
                "UPDATE SET first_answers = first_answers + excluded.first_answers, "
                "first_right = first_right + excluded.first_right, "
                "answers = answers + excluded.answers, "
                "right_answers = right_answers + excluded.right_answers"),
            folder)) {
        return failure;
    }
    for (const auto& [fact, counts] : totals) {
        add.addBindValue(static_cast<int>(fact.operation));
        add.addBindValue(int { fact.top });
        add.addBindValue(int { fact.bottom });
        add.addBindValue(qint64 { counts.firstAnswers });
        add.addBindValue(qint64 { counts.firstRight });
        add.addBindValue(qint64 { counts.answers });
        add.addBindValue(qint64 { counts.right });
        if (const FactHistoryFailure failure = executeSql(add, folder)) {
            return failure;
        }
    }
    return {};
}

/// How many of the operation's grid facts are known now, by the fact book's own rules: a book
/// given every fact's latest judged answers judges each fact as the full book would.
FactHistoryFailure knownNow(QSqlDatabase& database, const QString& folder, FactOperation operation,
                            int& known)
{
    std::map<FactKey, FactRecord> records;
    if (const FactHistoryFailure failure
        = readRecords(database, folder, 1, operation, operation, records)) {
        return failure;
    }
    FactBook book;
    for (const auto& [fact, record] : records) {
        for (auto answer = record.judged.rbegin(); answer != record.judged.rend(); ++answer) {
            FactAttempt attempt;
            attempt.fact = fact;
            attempt.whenUtcMs = answer->whenUtcMs;
            attempt.right = answer->right;
            attempt.msToEnter = answer->msToEnter;
            book.add(attempt);
        }
    }
    known = knownCount(book, operation).known;
    return {};
}

/// Sets the known count of the day of each operation's last answer. A clock set back never
/// reopens a day already closed.
FactHistoryFailure updateKnownDays(QSqlDatabase& database, const QString& folder,
                                   const std::vector<FactAttempt>& attempts,
                                   const UtcOffsetAt& utcOffsetAt)
{
    std::map<FactOperation, std::int64_t> lastAnswerMs;
    for (const FactAttempt& attempt : attempts) {
        std::int64_t& last
            = lastAnswerMs.try_emplace(attempt.fact.operation, attempt.whenUtcMs).first->second;
        last = std::max(last, attempt.whenUtcMs);
    }
    QSqlQuery latestDay(database);
    QSqlQuery setDay(database);
    if (const FactHistoryFailure failure = prepare(
            latestDay, QStringLiteral("SELECT max(day) FROM day_known WHERE op = ?"), folder)) {
        return failure;
    }
    if (const FactHistoryFailure failure
        = prepare(setDay,
                  QStringLiteral("INSERT INTO day_known (op, day, known) VALUES (?, ?, ?) "
                                 "ON CONFLICT (op, day) DO UPDATE SET known = excluded.known"),
                  folder)) {
        return failure;
    }
    for (const auto& [operation, whenUtcMs] : lastAnswerMs) {
        int known = 0;
        if (const FactHistoryFailure failure = knownNow(database, folder, operation, known)) {
            return failure;
        }
        std::int64_t day = localDay(whenUtcMs, utcOffsetAt(whenUtcMs));
        latestDay.addBindValue(static_cast<int>(operation));
        if (const FactHistoryFailure failure = executeSql(latestDay, folder)) {
            return failure;
        }
        if (latestDay.next() && !latestDay.isNull(0)) {
            day = std::max<std::int64_t>(day, latestDay.value(0).toLongLong());
        }
        latestDay.finish();
        setDay.addBindValue(static_cast<int>(operation));
        setDay.addBindValue(qint64 { day });
        setDay.addBindValue(known);
        if (const FactHistoryFailure failure = executeSql(setDay, folder)) {
            return failure;
        }
    }
    return {};
}

// Each fact's totals with its latest first answers, newest first: as many as both the latest
// `recent` and the latest `judged` not left out take. For every fact the two subqueries seek the
// oldest answer needed at the end of the fact's stretch of answers_by_fact, and the join reads
// from there on, so the rows read are a handful per fact however many answers are kept.
const QString RecordsSql = QStringLiteral(
    "SELECT t.op, t.top, t.bottom, t.first_answers, t.first_right,"
    " a.when_utc_ms, a.is_right, a.ms_to_enter"
    " FROM fact_totals AS t"
    " LEFT JOIN answers AS a ON a.op = t.op AND a.top = t.top AND a.bottom = t.bottom"
    "  AND a.attempt = 1 AND a.id >= min("
    "   coalesce((SELECT id FROM answers WHERE op = t.op AND top = t.top AND bottom = t.bottom"
    "    AND attempt = 1 ORDER BY id DESC LIMIT 1 OFFSET ?), 0),"
    "   coalesce((SELECT id FROM answers WHERE op = t.op AND top = t.top AND bottom = t.bottom"
    "    AND attempt = 1 AND ms_to_enter <= ? ORDER BY id DESC LIMIT 1 OFFSET ?), 0))"
    " WHERE t.op >= ? AND t.op <= ?"
    " ORDER BY t.op, t.top, t.bottom, a.id DESC");

} // namespace

FactHistoryFailure insertAnswers(QSqlDatabase& database, const QString& folder,
                                 const std::vector<FactAttempt>& attempts,
                                 const UtcOffsetAt& utcOffsetAt)
{
    std::map<std::int64_t, std::int64_t> fileRunIds; // the session's run id to the file's
    if (const FactHistoryFailure failure = insertRuns(database, folder, attempts, fileRunIds)) {
        return failure;
    }
    if (const FactHistoryFailure failure
        = insertAnswerRows(database, folder, attempts, fileRunIds)) {
        return failure;
    }
    if (const FactHistoryFailure failure = addTotals(database, folder, attempts)) {
        return failure;
    }
    return updateKnownDays(database, folder, attempts, utcOffsetAt);
}

FactHistoryFailure readRecords(QSqlDatabase& database, const QString& folder,
                               std::size_t recentKept, FactOperation first, FactOperation last,
                               std::map<FactKey, FactRecord>& records)
{
    records.clear();
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (const FactHistoryFailure failure = prepare(query, RecordsSql, folder)) {
        return failure;
    }
    query.addBindValue(qint64 { static_cast<qint64>(std::max<std::size_t>(recentKept, 1)) - 1 });
    query.addBindValue(FactRules::WalkedAwayMs);
    query.addBindValue(FactRules::Judged - 1);
    query.addBindValue(static_cast<int>(first));
    query.addBindValue(static_cast<int>(last));
    if (const FactHistoryFailure failure = executeSql(query, folder)) {
        return failure;
    }
    FactRecord* record = nullptr;
    FactKey recordFact;
    while (query.next()) {
        const FactKey fact { static_cast<FactOperation>(query.value(0).toInt()),
                             static_cast<std::int16_t>(query.value(1).toInt()),
                             static_cast<std::int16_t>(query.value(2).toInt()) };
        if (record == nullptr || fact != recordFact) {
            record = &records[fact];
            recordFact = fact;
            record->attempts = query.value(3).toInt();
            record->right = query.value(4).toInt();
        }
        if (query.isNull(5)) {
            continue;
        }
        const FactAnswer answer { query.value(5).toLongLong(), query.value(6).toInt() != 0,
                                  query.value(7).toInt() };
        if (record->recent.size() < recentKept) {
            record->recent.push_back(answer);
        }
        if (isJudged(answer)
            && record->judged.size() < static_cast<std::size_t>(FactRules::Judged)) {
            record->judged.push_back(answer);
        }
    }
    if (query.lastError().isValid()) {
        records.clear();
        return factHistoryFailure(query.lastError(), folder);
    }
    return {};
}

FactHistoryFailure readKnownDays(QSqlDatabase& database, const QString& folder,
                                 std::map<FactOperation, std::vector<DayKnown>>& days)
{
    days.clear();
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT op, day, known FROM day_known ORDER BY op, day"))) {
        return factHistoryFailure(query.lastError(), folder);
    }
    while (query.next()) {
        days[static_cast<FactOperation>(query.value(0).toInt())].push_back(
            { query.value(1).toLongLong(), query.value(2).toInt() });
    }
    if (query.lastError().isValid()) {
        days.clear();
        return factHistoryFailure(query.lastError(), folder);
    }
    return {};
}

FactHistoryFailure deleteAll(QSqlDatabase& database, const QString& folder)
{
    for (const char* table : { "answers", "runs", "fact_totals", "day_known" }) {
        if (const FactHistoryFailure failure
            = executeSql(database, QStringLiteral("DELETE FROM ") + QLatin1String(table), folder)) {
            return failure;
        }
    }
    return {};
}
