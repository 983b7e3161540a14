// What the fact history's tests share: runs of answers over the grid, the fact book they make,
// and a look into the file with a connection of the test's own.
#pragma once

#include "facts/FactBook.h"
#include "facts/FactGrid.h"
#include "facts/FactHistoryFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <map>
#include <vector>

namespace FactHistoryTesting {

/// Every fact of the grid, + - x then division.
inline const std::vector<FactKey>& allGridFacts()
{
    static const std::vector<FactKey> facts = [] {
        std::vector<FactKey> all;
        for (const FactOperation operation : AllFactOperations) {
            const std::vector<FactKey> some = gridFacts(operation);
            all.insert(all.end(), some.begin(), some.end());
        }
        return all;
    }();
    return facts;
}

/// A run of `count` answers to random grid facts, the first at startMs and one every two
/// seconds. Some answers are wrong and retyped, some slow, some left alone for over a minute.
inline std::vector<FactAttempt> randomRun(QRandomGenerator& random, std::int64_t sessionRunId,
                                          int count, std::int64_t startMs)
{
    const std::vector<FactKey>& facts = allGridFacts();
    FactRun run { sessionRunId, random.bounded(2) == 0,
                  static_cast<std::int16_t>(random.bounded(5, 13)), random.bounded(3) == 0 };
    std::vector<FactAttempt> attempts;
    std::int64_t when = startMs;
    while (static_cast<int>(attempts.size()) < count) {
        FactAttempt attempt;
        attempt.run = run;
        attempt.fact = facts[random.bounded(static_cast<quint32>(facts.size()))];
        attempt.expected = random.bounded(0, 145);
        attempt.right = random.bounded(4) != 0;
        attempt.typed = std::to_string(attempt.right ? attempt.expected : attempt.expected + 1);
        const int kind = random.bounded(20);
        attempt.msToEnter = kind == 0
            ? random.bounded(60'001, 200'000)
            : (kind < 5 ? random.bounded(3'001, 20'000) : random.bounded(400, 3'000));
        attempt.msToFirstDigit = attempt.msToEnter / 2;
        when += 2000;
        attempt.whenUtcMs = when;
        attempts.push_back(attempt);
        if (!attempt.right && run.onlyCorrect && static_cast<int>(attempts.size()) < count) {
            FactAttempt retype = attempt;
            retype.attempt = 2;
            retype.right = true;
            retype.typed = std::to_string(attempt.expected);
            when += 1500;
            retype.whenUtcMs = when;
            attempts.push_back(retype);
        }
    }
    return attempts;
}

/// The runs the appender program keeps, the same every time: run n is made from seed n.
inline std::vector<FactAttempt> appendedRun(int run)
{
    QRandomGenerator random(static_cast<quint32>(run));
    return randomRun(random, run, 120,
                     std::int64_t { 1772438400000 } + run * std::int64_t { 600'000 });
}

inline FactBook bookOf(const std::vector<FactAttempt>& oldestFirst)
{
    FactBook book;
    for (const FactAttempt& attempt : oldestFirst) {
        book.add(attempt);
    }
    return book;
}

inline QString answersText(const std::vector<FactAnswer>& answers)
{
    QString text;
    for (const FactAnswer& answer : answers) {
        text += QStringLiteral("(%1 %2 %3)")
                    .arg(answer.whenUtcMs)
                    .arg(answer.right ? "right" : "wrong")
                    .arg(answer.msToEnter);
    }
    return text;
}

/// A fact's record as text, so that a difference shows in a failure message.
inline QString recordText(const FactKey& fact, const FactRecord& record)
{
    return QStringLiteral("%1 %2 %3: %4 answers, %5 right; recent %6; judged %7")
        .arg(static_cast<int>(fact.operation))
        .arg(fact.top)
        .arg(fact.bottom)
        .arg(record.attempts)
        .arg(record.right)
        .arg(answersText(record.recent), answersText(record.judged));
}

inline QStringList recordsText(const std::map<FactKey, FactRecord>& records)
{
    QStringList lines;
    for (const auto& [fact, record] : records) {
        lines << recordText(fact, record);
    }
    return lines;
}

/// A connection of the test's own to a database file, closed when it goes.
class RawDatabase
{
public:
    explicit RawDatabase(const QString& path)
        : m_name(QStringLiteral("test-raw-%1").arg(++count()))
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        database.setDatabaseName(path);
        database.open();
    }
    ~RawDatabase()
    {
        {
            QSqlDatabase database = QSqlDatabase::database(m_name, false);
            database.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    RawDatabase(const RawDatabase&) = delete;
    RawDatabase& operator=(const RawDatabase&) = delete;

    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }

    /// The first column of every row of a statement, as text; "error: ..." when it fails.
    QStringList column(const QString& sql) const
    {
        QSqlQuery query(database());
        if (!query.exec(sql)) {
            return { QStringLiteral("error: ") + query.lastError().text() };
        }
        QStringList values;
        while (query.next()) {
            values << query.value(0).toString();
        }
        return values;
    }

    QString single(const QString& sql) const { return column(sql).value(0); }

private:
    static int& count()
    {
        static int made = 0;
        return made;
    }
    QString m_name;
};

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace FactHistoryTesting
